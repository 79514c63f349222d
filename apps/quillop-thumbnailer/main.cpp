// quillop-thumbnailer -s SIZE INPUT OUTPUT.png
// Called by file managers (through quillop.thumbnailer) to picture a
// resource file. Nothing is written unless the whole picture is.
#include "CDocumentThumbnail.h"

#include "core/CResourceHolder.h"
#include "kinds/CItemKinds.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include <cstdio>

namespace {
int fail(const QString& message)
{
    std::fprintf(stderr, "quillop-thumbnailer: %s\n", qPrintable(message));
    return 1;
}

bool writePng(const QImage& picture, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "png");
    if (!writer.write(picture)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const QString usage = QStringLiteral("usage: quillop-thumbnailer -s SIZE INPUT.mrc OUTPUT.png");
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        std::printf("%s\n  pictures a resource file for file managers: its first world, else its first bitmap,\n"
                    "  fitted in SIZE x SIZE pixels\n\nexit status:\n"
                    "  0                       the picture was written\n"
                    "  1                       nothing was written: the file could not be read or holds nothing to show\n",
                    qPrintable(usage));
        return 0;
    }
    if (args.size() != 4 || args[0] != QLatin1String("-s"))
        return fail(usage);
    bool isNumber = false;
    const int side = args[1].toInt(&isNumber);
    if (!isNumber || side < 1 || side > CDocumentThumbnail::kMaxSide)
        return fail(QStringLiteral("SIZE is a number of pixels from 1 to %1").arg(CDocumentThumbnail::kMaxSide));
    const QFileInfo input(args[2]);
    if (!input.isFile())
        return fail(QStringLiteral("%1: no such file").arg(args[2]));

    auto document = createDocumentHolder();
    if (!document->load(input.absoluteFilePath().toStdString()))
        return fail(QStringLiteral("%1: could not be loaded").arg(args[2]));
    const QImage picture = CDocumentThumbnail::make(*document, side);
    if (picture.isNull())
        return fail(QStringLiteral("%1: holds no world and no bitmap to picture").arg(args[2]));
    if (!writePng(picture, args[3]))
        return fail(QStringLiteral("%1: could not be written").arg(args[3]));
    return 0;
}
