#include "CliCommand.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/CItemKinds.h"
#include "kinds/maps/CTiledMapExport.h"
#include "kinds/maps/CTiledMapImport.h"

#include <cstdio>

namespace {
const char* const kExportUsage = "export-tmx FILE MAP_ID OUT.tmx";
const char* const kImportUsage = "import-tmx FILE.mrc IN.tmx [--layer NAME] [-o OUT.mrc]";
const char* const kImportOptions = "--layer NAME\tthe tile layer to read (the first one)\n"
                                   "-o OUT.mrc\twhere the document goes (FILE.mrc itself by default)";

int findMap(const CResourceHolder& holder, const QString& name)
{
    const int byId = holder.findById(GroupMaps, name.toStdString());
    if (byId >= 0)
        return byId;
    bool isNumber = false;
    const int row = name.toInt(&isNumber);
    return isNumber && row >= 0 && row < holder.count(GroupMaps) ? row : -1;
}

int runExport(const QStringList& args)
{
    if (args.size() != 3)
        return fail(usageWithOptions(kExportUsage, ""));
    auto holder = createDocumentHolder();
    if (!loadDocument(*holder, args[0]))
        return 1;
    const int map = findMap(*holder, args[1]);
    if (map < 0)
        return fail(QStringLiteral("%1: no map with the ID or row \"%2\"").arg(args[0], args[1]));
    const CTiledMapExport::Result result = CTiledMapExport::write(*holder, map, args[2]);
    if (!result.written)
        return fail(result.error);
    std::printf("%s: %d tiles\n", qPrintable(args[2]), result.tiles);
    return 0;
}

int runImport(const QStringList& args)
{
    QStringList files;
    QString layer;
    QString output;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const bool isOutput = args[i] == QLatin1String("-o");
        if ((isOutput || args[i] == QLatin1String("--layer")) && i + 1 < args.size())
            (isOutput ? output : layer) = args[i + 1], ++i;
        else if (args[i].startsWith(QLatin1Char('-')))
            return fail(usageWithOptions(kImportUsage, kImportOptions));
        else
            files << args[i];
    }
    if (files.size() != 2)
        return fail(usageWithOptions(kImportUsage, kImportOptions));
    if (output.isEmpty())
        output = files[0];
    if (!requireReplaceable(output))
        return 1;
    auto holder = createDocumentHolder();
    if (!loadDocument(*holder, files[0]))
        return 1;
    if (holder->droppedPart())
        return fail(QStringLiteral("%1: not written, %2 was only partly loaded").arg(output, files[0]));
    const CTiledMapImport::Result result = CTiledMapImport::read(*holder, files[1], layer);
    if (!result.done())
        return fail(result.error);
    if (!holder->save(argumentBytes(output)))
        return fail(QStringLiteral("%1: could not be written: %2").arg(output, QString::fromStdString(holder->saveError())));
    std::printf("%s: map %d, %d bitmaps added, %d reused\n", qPrintable(output), result.mapRow, result.bitmapsAdded,
                result.bitmapsReused);
    return 0;
}
} // namespace

CliCommand exportTmxCommand()
{
    return {"export-tmx", kExportUsage,
            "writes a map as a Tiled map (OUT.tmx), its tileset (OUT.tsx) and the tileset's picture (OUT-tiles.png)",
            runExport};
}

CliCommand importTmxCommand()
{
    return {"import-tmx", kImportUsage, "reads a tile layer of a Tiled map into a new map and the bitmaps it needs",
            runImport, kImportOptions};
}
