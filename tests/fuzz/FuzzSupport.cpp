#include "FuzzSupport.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {
class YesPrompter : public IPrompter {
public:
    Answer ask(const std::string&, Buttons buttons, Icon) override
    {
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Yes;
    }
};

class FixedKeys : public CKeySource {
public:
    void seed(unsigned int) override { m_next = 0; }
    int draw() override { return 0x35 + 0x11 * (m_next++ % 7); }

private:
    int m_next = 0;
};

QTemporaryDir& scratch()
{
    static QTemporaryDir dir;
    return dir;
}
} // namespace

namespace fuzz {

void start()
{
    // Made once and never destroyed: the fuzzer ends the process from its
    // own code, after which Qt's statics may already be gone.
    static QGuiApplication* app = nullptr;
    if (app)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    app = new QGuiApplication(argc, argv);
    if (!scratch().isValid())
        finding("no scratch folder");
}

std::string scratchPath(const std::string& name)
{
    return QFile::encodeName(scratch().filePath(QString::fromStdString(name))).toStdString();
}

std::string scratchFile(const std::string& name, const QByteArray& bytes)
{
    const std::string path = scratchPath(name);
    QFile file(QFile::decodeName(path.c_str()));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        finding("cannot write " + path);
    return path;
}

QByteArray bytesOf(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

IPrompter& yesPrompter()
{
    static YesPrompter prompter;
    return prompter;
}

CKeySource& fixedKeys()
{
    static FixedKeys keys;
    return keys;
}

void finding(const std::string& what)
{
    std::fprintf(stderr, "FUZZ FINDING: %s\n", what.c_str());
    std::abort();
}

} // namespace fuzz
