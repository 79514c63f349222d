#pragma once

// Runs the sox programs that check our WAV files from the outside. A test
// that needs them skips itself when they are not installed.

#include <QByteArray>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

inline bool haveProgram(const char* name) { return !QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty(); }

// Standard output of the program, or nothing when it failed.
inline std::optional<QByteArray> runProgram(const char* name, const QStringList& args)
{
    QProcess process;
    process.start(QString::fromLatin1(name), args);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

// soxi -X for one header field: -c channels, -r rate, -b bits, -s samples, -e encoding.
inline std::string soxi(const std::string& path, const char* field)
{
    const auto out = runProgram("soxi", {QString::fromLatin1(field), QString::fromStdString(path)});
    return out ? out->trimmed().toStdString() : std::string("(soxi failed)");
}

// The samples as sox decodes them, interleaved, on sox's own +/-1 scale.
inline std::vector<double> soxSamples(const std::string& path)
{
    const auto out = runProgram("sox", {QString::fromStdString(path), QStringLiteral("-t"), QStringLiteral("f64"),
                                        QStringLiteral("-")});
    std::vector<double> samples;
    if (out) {
        samples.resize(static_cast<std::size_t>(out->size()) / sizeof(double));
        std::memcpy(samples.data(), out->constData(), samples.size() * sizeof(double));
    }
    return samples;
}

#define REQUIRE_SOX()                                                                                                 \
    do {                                                                                                              \
        if (!haveProgram("sox") || !haveProgram("soxi"))                                                              \
            GTEST_SKIP() << "sox is not installed";                                                                   \
    } while (0)
