#include "CliCommand.h"

#include "tools/bitmapcolors/CBitmapColorExtraction.h"

#include <cstdio>

namespace {
const char* const kUsage = "texture-maps IMAGE";

int runTextureMaps(const QStringList& args)
{
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--")))
        return fail(QStringLiteral("usage: %1").arg(QLatin1String(kUsage)));
    const std::string source = args[0].toLocal8Bit().toStdString();
    CBitmapColorExtraction tool;
    for (const auto map : {CBitmapColorExtraction::Map::Diffuse, CBitmapColorExtraction::Map::Bump}) {
        if (!tool.extract(source, map))
            return fail(QStringLiteral("%1: the picture could not be read, or its map could not be written")
                            .arg(args[0]));
        std::printf("%s\n", tool.lastOutput().c_str());
    }
    return 0;
}
} // namespace

CliCommand textureMapsCommand()
{
    return {"texture-maps", kUsage, "writes the diffuse and bump maps of a picture beside it", runTextureMaps};
}
