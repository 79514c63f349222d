#include "CliCommand.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/CItemKinds.h"
#include "kinds/worlds/CWorldPicture.h"

#include <QImageWriter>
#include <QRegularExpression>

namespace {
constexpr const char* kUsage = "render-world FILE WORLD_ID STEPS OUT.png [--size WxH] [--origin X,Y]";
constexpr const char* kOptions = "--size WxH\tsize of the picture\n"
                                 "--origin X,Y\tthe world's drawing point in the picture (94,94)";

// The world with that ID; failing that, a row number names the world of
// that row (IDs need not be unique, rows always are).
int findWorld(const CResourceHolder& holder, const QString& name)
{
    const int byId = holder.findById(GroupWorlds, name.toStdString());
    if (byId >= 0)
        return byId;
    bool isNumber = false;
    const int row = name.toInt(&isNumber);
    return isNumber && row >= 0 && row < holder.count(GroupWorlds) ? row : -1;
}

bool readPair(const QString& text, const QString& separator, int& a, int& b)
{
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^(-?\\d{1,6})%1(-?\\d{1,6})$").arg(QRegularExpression::escape(separator)))
            .match(text);
    if (!m.hasMatch())
        return false;
    a = m.captured(1).toInt();
    b = m.captured(2).toInt();
    return true;
}

int runRenderWorld(const QStringList& args)
{
    QStringList positional;
    // The elements editor's preview starts with its drawing point here.
    int width = 640, height = 480, originX = 94, originY = 94;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--size") && i + 1 < args.size()) {
            if (!readPair(args[++i], QStringLiteral("x"), width, height) || width < 1 || height < 1 ||
                width > CWorldPicture::kMaxSide || height > CWorldPicture::kMaxSide)
                return fail(QStringLiteral("--size is WxH, each side 1 to %1").arg(CWorldPicture::kMaxSide));
        } else if (a == QLatin1String("--origin") && i + 1 < args.size()) {
            if (!readPair(args[++i], QStringLiteral(","), originX, originY))
                return fail(QStringLiteral("--origin is X,Y"));
        } else {
            positional << a;
        }
    }
    if (positional.size() != 4)
        return fail(usageWithOptions(kUsage, kOptions));
    bool stepsOk = false;
    const qlonglong steps = positional[2].toLongLong(&stepsOk);
    if (!stepsOk || steps < 0)
        return fail(QStringLiteral("STEPS is a whole number of game steps, 0 or more"));

    auto holder = createDocumentHolder();
    if (!loadDocument(*holder, positional[0]))
        return 1;
    const int world = findWorld(*holder, positional[1]);
    if (world < 0)
        return fail(QStringLiteral("%1: no world with the ID or row \"%2\"").arg(positional[0], positional[1]));
    const QImage picture =
        CWorldPicture::render(*holder, world, steps, QSize(width, height), QPoint(originX, originY));
    QImageWriter writer(positional[3], "png");
    if (picture.isNull() || !writer.write(picture))
        return fail(QStringLiteral("%1: could not be written (%2)").arg(positional[3], writer.errorString()));
    return 0;
}
} // namespace

CliCommand renderWorldCommand()
{
    return {"render-world", kUsage,
            "plays a world for STEPS game steps and writes the picture as PNG (drawing point at 94,94 unless "
            "--origin says otherwise)",
            runRenderWorld, kOptions};
}
