// Runs a fuzz target over files and folders of inputs, without a fuzzer:
// every regression a fuzzer once found, and the seeds, stay checked by the
// ordinary test run (and under the sanitizers by the asan run).
#include "FuzzSupport.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {
int replay(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
    }
    const QByteArray bytes = file.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    fuzz::start();
    int failures = 0;
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const QString path = QFile::decodeName(argv[i]);
        if (!QFileInfo::exists(path))
            continue;  // a target with no regressions yet has no folder
        if (!QFileInfo(path).isDir()) {
            failures += replay(path);
            ++inputs;
            continue;
        }
        QDirIterator it(path, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            failures += replay(it.next());
            ++inputs;
        }
    }
    std::printf("%d input(s) replayed\n", inputs);
    return failures == 0 ? 0 : 1;
}
