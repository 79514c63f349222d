#include "CliCommand.h"

#include "core/CResourceFileHeader.h"
#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "kinds/CItemKinds.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {
QString text(const std::string& s) { return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size())); }

QJsonObject describe(const CResourceFileHeader& header, const CResourceHolder& holder)
{
    QJsonObject doc;
    doc[QStringLiteral("signature")] = text(header.signature);
    doc[QStringLiteral("version")] = header.version;
    doc[QStringLiteral("subVersion")] = header.subVersion;
    doc[QStringLiteral("id")] = text(holder.id());
    doc[QStringLiteral("comments")] = text(holder.comments());
    QJsonArray groups;
    for (int g = 0; g < kGroupCount; ++g) {
        QJsonObject group;
        group[QStringLiteral("index")] = g;
        group[QStringLiteral("name")] = QString::fromLatin1(kGroupNames[static_cast<std::size_t>(g)].data());
        group[QStringLiteral("tag")] = QString::fromLatin1(kGroupTags[static_cast<std::size_t>(g)].data());
        QJsonArray ids;
        for (int i = 0; i < holder.count(g); ++i)
            ids.append(text(holder.get(g, i)->id()));
        group[QStringLiteral("count")] = holder.count(g);
        group[QStringLiteral("ids")] = ids;
        groups.append(group);
    }
    doc[QStringLiteral("groups")] = groups;
    return doc;
}

void printText(const QString& path, const QJsonObject& doc)
{
    std::printf("File: %s\n", qPrintable(path));
    std::printf("Signature: %s\n", qPrintable(doc[QStringLiteral("signature")].toString()));
    std::printf("Format version: %d.%d\n", doc[QStringLiteral("version")].toInt(), doc[QStringLiteral("subVersion")].toInt());
    std::printf("ID: %s\n", qPrintable(doc[QStringLiteral("id")].toString()));
    std::printf("Comments: %s\n", qPrintable(doc[QStringLiteral("comments")].toString()));
    for (const QJsonValue& value : doc[QStringLiteral("groups")].toArray()) {
        const QJsonObject group = value.toObject();
        std::printf("%-24s %-9s %d item(s)\n", qPrintable(group[QStringLiteral("name")].toString()),
                    qPrintable(group[QStringLiteral("tag")].toString()), group[QStringLiteral("count")].toInt());
        int index = 0;
        for (const QJsonValue& id : group[QStringLiteral("ids")].toArray())
            std::printf("  %5d  %s\n", index++, qPrintable(id.toString()));
    }
}

int runInfo(const QStringList& args)
{
    const bool json = args.contains(QStringLiteral("--json"));
    QStringList files = args;
    files.removeAll(QStringLiteral("--json"));
    if (files.size() != 1)
        return fail(QStringLiteral("usage: info FILE [--json]"));
    const QString path = files.first();
    auto holder = createDocumentHolder();
    if (!loadDocument(*holder, path))
        return 1;
    const auto header = CResourceFileHeader::read(absoluteArgument(path));
    if (!header)
        return fail(QStringLiteral("%1: the header cannot be read").arg(path));
    const QJsonObject doc = describe(*header, *holder);
    if (json)
        std::printf("%s", QJsonDocument(doc).toJson(QJsonDocument::Indented).constData());
    else
        printText(path, doc);
    return 0;
}
} // namespace

CliCommand infoCommand()
{
    return {"info", "info FILE [--json]", "header, ID, Comments and the items of every group", runInfo,
            "--json\tprints the same as JSON"};
}
