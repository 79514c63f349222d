#pragma once
// Small measures the benchmarks share.
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>

#include <unistd.h>

#include <cstdint>
#include <fstream>

namespace benchsupport {
// The memory the process holds now.
inline std::int64_t residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    std::int64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// How long a program takes to run to its end, its output thrown away; Qt
// programs run without a display.
inline double secondsToRun(const QString& program, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    process.waitForFinished(-1);
    return double(clock.nsecsElapsed()) / 1e9;
}
} // namespace benchsupport
