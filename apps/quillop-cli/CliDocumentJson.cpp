#include "CliCommand.h"

#include "core/CRegularFile.h"
#include "core/CResourceHolder.h"
#include "kinds/CDocumentJson.h"
#include "kinds/CItemKinds.h"

#include <QFileInfo>
#include <QJsonDocument>

#include <cstdio>

namespace {
int runDump(const QStringList& args)
{
    QStringList files = args;
    files.removeAll(QStringLiteral("--json"));  // JSON is the only form: it shows every field
    if (files.size() != 1)
        return fail(QStringLiteral("usage: dump FILE [--json]"));
    auto holder = createDocumentHolder();
    if (!loadDocument(*holder, files.first()))
        return 1;
    std::printf("%s", QJsonDocument(CDocumentJson::dump(*holder)).toJson(QJsonDocument::Indented).constData());
    return 0;
}

int runExtract(const QStringList& args)
{
    if (args.size() != 2)
        return fail(QStringLiteral("usage: extract FILE DIR"));
    auto holder = createDocumentHolder();
    if (!loadDocument(*holder, args[0]))
        return 1;
    QString error;
    const int written = CDocumentJson::extract(*holder, QDir(args[1]), error);
    if (written < 0)
        return fail(error);
    std::printf("%d file(s) written to %s\n", written, qPrintable(args[1]));
    return 0;
}

int runPack(const QStringList& args)
{
    if (args.size() != 2)
        return fail(QStringLiteral("usage: pack MANIFEST OUT.mrc"));
    if (!requireReplaceable(args[1]))
        return 1;
    const std::string manifestName = argumentBytes(args[0]);
    if (CRegularFile::exists(manifestName) && !CRegularFile::isRegular(manifestName))
        return fail(QStringLiteral("%1: not a regular file").arg(args[0]));
    const std::optional<QByteArray> bytes = CRegularFile::read(manifestName);
    if (!bytes)
        return fail(QStringLiteral("%1: cannot be read").arg(args[0]));
    QJsonParseError parseError;
    const QJsonDocument manifest = QJsonDocument::fromJson(*bytes, &parseError);
    if (!manifest.isObject())
        return fail(QStringLiteral("%1: not a JSON object (%2)").arg(args[0], parseError.errorString()));
    auto holder = createDocumentHolder();
    QString error;
    if (!CDocumentJson::pack(manifest.object(), QFileInfo(args[0]).absoluteDir(), *holder, error))
        return fail(QStringLiteral("%1: %2").arg(args[0], error));
    // Written beside the target and checked by reading it back: a manifest
    // can state what the file cannot keep, and that must not pass for a
    // document made.
    const std::string target = argumentBytes(args[1]);
    const std::string written = CRegularFile::nameOf(QFileInfo(args[1]).absoluteFilePath()) + ".packing.mrc";
    if (!holder->save(written))
        return fail(QStringLiteral("%1: could not be written").arg(args[1]));
    auto reread = createDocumentHolder();
    const QString difference = reread->load(written)
                                   ? CDocumentJson::firstDifference(CDocumentJson::dump(*holder), CDocumentJson::dump(*reread))
                                   : QStringLiteral("the file written does not load");
    if (!difference.isEmpty() || std::rename(written.c_str(), target.c_str()) != 0) {
        std::remove(written.c_str());
        return fail(QStringLiteral("%1: %2").arg(args[0], difference.isEmpty() ? QStringLiteral("cannot replace ") + args[1]
                                                                               : QStringLiteral("does not read back as written: ") + difference));
    }
    return 0;
}
} // namespace

CliCommand dumpCommand()
{
    return {"dump", "dump FILE [--json]", "every field of every item, as JSON", runDump,
            "--json\taccepted for scripts that pass it: the output is always JSON"};
}

CliCommand extractCommand()
{
    return {"extract", "extract FILE DIR", "writes the embedded files, texts and colours under DIR", runExtract};
}

CliCommand packCommand()
{
    return {"pack", "pack MANIFEST OUT.mrc", "builds a document from a JSON manifest", runPack};
}
