#include "CliCommand.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/CItemKinds.h"
#include "kinds/animations/CSpriteSheet.h"
#include "kinds/maps/CTiledMapExport.h"
#include "kinds/maps/CTiledMapImport.h"
#include "kinds/texts/CDocumentSettings.h"
#include "kinds/worlds/CTiledWorldExport.h"

#include <QMap>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {
const char* const kExportUsage = "export-tmx FILE MAP_ID OUT.tmx";
const char* const kImportUsage = "import-tmx FILE.mrc IN.tmx [--layer NAME] [-o OUT.mrc]";
const char* const kImportOptions = "--layer NAME\tthe tile layer to read (the first one)\n"
                                   "-o OUT.mrc\twhere the document goes (FILE.mrc itself by default)";

const char* const kWorldUsage = "export-world-tmx FILE WORLD_ID OUT.tmx";
const char* const kSheetUsage = "export-sheet FILE ANIM_ID OUT.png [--json OUT.json] [--gif OUT.gif] [--apng OUT.png]";
const char* const kSheetOptions = "--json OUT.json\talso writes the frames' rectangles and durations as JSON\n"
                                  "--gif OUT.gif\talso writes the animation as it plays, as an animated GIF\n"
                                  "--apng OUT.png\talso writes the animation as it plays, as an animated PNG";
const char* const kReadSheetUsage =
    "import-sheet FILE.mrc SHEET.png (--json IN.json | --grid CxR [--margin PX] [--spacing PX] [--delay MS]) [-o OUT.mrc]";
const char* const kReadSheetOptions = "--json IN.json\tthe frames as the JSON description gives them\n"
                                      "--grid CxR\tC columns and R rows of equal frames, left to right, top to bottom\n"
                                      "--margin PX\tpixels around the grid (0)\n"
                                      "--spacing PX\tpixels between two frames (0)\n"
                                      "--delay MS\thow long each frame of a grid shows (100)\n"
                                      "-o OUT.mrc\twhere the document goes (FILE.mrc itself by default)";

// An item by ID, else by row.
int findItem(const CResourceHolder& holder, int group, const QString& name)
{
    const int byId = holder.findById(group, name.toStdString());
    if (byId >= 0)
        return byId;
    bool isNumber = false;
    const int row = name.toInt(&isNumber);
    return isNumber && row >= 0 && row < holder.count(group) ? row : -1;
}

// "--key value" options into `values`, the rest into `files`; false on an
// option not in `keys` or one without its value.
bool splitArguments(const QStringList& args, const QStringList& keys, QMap<QString, QString>& values, QStringList& files)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (keys.contains(args[i]) && i + 1 < args.size()) {
            values[args[i]] = args[i + 1];
            ++i;
        } else if (args[i].startsWith(QLatin1Char('-'))) {
            return false;
        } else {
            files << args[i];
        }
    }
    return true;
}

// Loads FILE.mrc, lets `change` add to it and writes it to -o (or over
// itself); `change` answers a line to print, or fails with a message.
int changeDocument(const QString& input, QString output, const std::function<bool(CResourceHolder&, QString&)>& change)
{
    if (output.isEmpty())
        output = input;
    if (!requireReplaceable(output))
        return 1;
    auto holder = createDocumentHolder();
    if (!loadDocument(*holder, input))
        return 1;
    if (holder->droppedPart())
        return fail(QStringLiteral("%1: not written, %2 was only partly loaded").arg(output, input));
    QString said;
    if (!change(*holder, said))
        return fail(said);
    if (!holder->save(argumentBytes(output)))
        return fail(QStringLiteral("%1: could not be written: %2").arg(output, QString::fromStdString(holder->saveError())));
    std::printf("%s: %s\n", qPrintable(output), qPrintable(said));
    return 0;
}

// Loads FILE, finds the item ITEM_ID (an ID or a row) of `group` and lets
// `write` export it to OUT; `write` answers a line to print, or fails with
// a message.
int exportItem(const QString& file, const QString& item, int group, const char* kindName, const QString& out,
               const std::function<bool(CResourceHolder&, int row, QString& said)>& write)
{
    auto holder = createDocumentHolder();
    if (!loadDocument(*holder, file))
        return 1;
    const int row = findItem(*holder, group, item);
    if (row < 0)
        return fail(QStringLiteral("%1: no %2 with the ID or row \"%3\"").arg(file, QLatin1String(kindName), item));
    QString said;
    if (!write(*holder, row, said))
        return fail(said);
    std::printf("%s: %s\n", qPrintable(out), qPrintable(said));
    return 0;
}

int runExport(const QStringList& args)
{
    if (args.size() != 3)
        return fail(usageWithOptions(kExportUsage, ""));
    return exportItem(args[0], args[1], GroupMaps, "map", args[2], [&](CResourceHolder& holder, int row, QString& said) {
        const auto written = CTiledMapExport::write(holder, row, args[2]);
        said = written.written ? QStringLiteral("%1 tiles").arg(written.tiles) : written.error;
        return written.written;
    });
}

int runImport(const QStringList& args)
{
    QMap<QString, QString> values;
    QStringList files;
    if (!splitArguments(args, {QStringLiteral("--layer"), QStringLiteral("-o")}, values, files) || files.size() != 2)
        return fail(usageWithOptions(kImportUsage, kImportOptions));
    return changeDocument(files[0], values.value(QStringLiteral("-o")), [&](CResourceHolder& holder, QString& said) {
        const CTiledMapImport::Result result = CTiledMapImport::read(holder, files[1], values.value(QStringLiteral("--layer")));
        said = result.done() ? QStringLiteral("map %1, %2 bitmaps added, %3 reused")
                                   .arg(result.mapRow)
                                   .arg(result.bitmapsAdded)
                                   .arg(result.bitmapsReused)
                             : result.error;
        return result.done();
    });
}

int runExportWorld(const QStringList& args)
{
    if (args.size() != 3)
        return fail(usageWithOptions(kWorldUsage, ""));
    return exportItem(args[0], args[1], GroupWorlds, "world", args[2], [&](CResourceHolder& holder, int row, QString& said) {
        const auto written = CTiledWorldExport::write(holder, row, args[2]);
        said = written.written ? QStringLiteral("%1 objects").arg(written.objects) : written.error;
        return written.written;
    });
}

int runExportSheet(const QStringList& args)
{
    QMap<QString, QString> values;
    QStringList files;
    if (!splitArguments(args, {QStringLiteral("--json"), QStringLiteral("--gif"), QStringLiteral("--apng")}, values, files) ||
        files.size() != 3)
        return fail(usageWithOptions(kSheetUsage, kSheetOptions));
    return exportItem(files[0], files[1], GroupAnimations, "animation", files[2],
                      [&](CResourceHolder& holder, int row, QString& said) {
                          const int stepMs = CDocumentSettings(holder).timerStepDelay();
                          auto written = CSpriteSheet::write(holder, row, files[2], values.value(QStringLiteral("--json")), stepMs);
                          const std::pair<const char*, CAnimatedPictureWriter::Format> animated[] = {
                              {"--gif", CAnimatedPictureWriter::Format::Gif}, {"--apng", CAnimatedPictureWriter::Format::Apng}};
                          for (const auto& [option, format] : animated)
                              if (written.done && values.contains(QLatin1String(option)))
                                  written = CSpriteSheet::writeAnimated(holder, row, values.value(QLatin1String(option)),
                                                                        format, stepMs);
                          said = written.done ? QStringLiteral("%1 frames").arg(written.frames) : written.error;
                          return written.done;
                      });
}

int runImportSheet(const QStringList& args)
{
    QMap<QString, QString> values;
    QStringList files;
    const QStringList keys = {QStringLiteral("--json"), QStringLiteral("--grid"), QStringLiteral("--margin"),
                              QStringLiteral("--spacing"), QStringLiteral("--delay"), QStringLiteral("-o")};
    if (!splitArguments(args, keys, values, files) || files.size() != 2 ||
        values.contains(QStringLiteral("--json")) == values.contains(QStringLiteral("--grid")))
        return fail(usageWithOptions(kReadSheetUsage, kReadSheetOptions));
    CSpriteSheet::Grid grid;
    if (values.contains(QStringLiteral("--grid"))) {
        const QStringList sides = values.value(QStringLiteral("--grid")).split(QLatin1Char('x'));
        bool ok[5] = {false, false, true, true, true};
        if (sides.size() == 2) {
            grid.columns = sides[0].toInt(&ok[0]);
            grid.rows = sides[1].toInt(&ok[1]);
        }
        if (values.contains(QStringLiteral("--margin")))
            grid.margin = values.value(QStringLiteral("--margin")).toInt(&ok[2]);
        if (values.contains(QStringLiteral("--spacing")))
            grid.spacing = values.value(QStringLiteral("--spacing")).toInt(&ok[3]);
        if (values.contains(QStringLiteral("--delay")))
            grid.delayMs = values.value(QStringLiteral("--delay")).toInt(&ok[4]);
        if (!std::all_of(std::begin(ok), std::end(ok), [](bool b) { return b; }))
            return fail(QStringLiteral("--grid is CxR, and --margin, --spacing and --delay whole numbers"));
    }
    return changeDocument(files[0], values.value(QStringLiteral("-o")), [&](CResourceHolder& holder, QString& said) {
        const int stepMs = CDocumentSettings(holder).timerStepDelay();
        const CSpriteSheet::Read result =
            values.contains(QStringLiteral("--json"))
                ? CSpriteSheet::readJson(holder, files[1], values.value(QStringLiteral("--json")), stepMs)
                : CSpriteSheet::readGrid(holder, files[1], grid, stepMs);
        said = result.done() ? QStringLiteral("animation %1, %2 bitmaps added, %3 reused")
                                   .arg(result.animationRow)
                                   .arg(result.bitmapsAdded)
                                   .arg(result.bitmapsReused)
                             : result.error;
        return result.done();
    });
}
} // namespace

CliCommand exportTmxCommand()
{
    return {"export-tmx", kExportUsage,
            "writes a map as a Tiled map (OUT.tmx), its tileset (OUT.tsx) and the tileset's picture (OUT-tiles.png)",
            runExport};
}

CliCommand exportWorldTmxCommand()
{
    return {"export-world-tmx", kWorldUsage,
            "writes a world's layout as a Tiled map: its bitmaps as tile objects, its maps as image layers", runExportWorld};
}

CliCommand exportSheetCommand()
{
    return {"export-sheet", kSheetUsage, "writes an animation as a sprite sheet picture and its JSON description",
            runExportSheet, kSheetOptions};
}

CliCommand importSheetCommand()
{
    return {"import-sheet", kReadSheetUsage, "reads a sprite sheet into a new animation and the bitmaps it needs",
            runImportSheet, kReadSheetOptions};
}

CliCommand importTmxCommand()
{
    return {"import-tmx", kImportUsage, "reads a tile layer of a Tiled map into a new map and the bitmaps it needs",
            runImport, kImportOptions};
}
