#include "CliCommand.h"

#include "core/CResourceHolder.h"
#include "kinds/CDocumentDiff.h"
#include "kinds/CDocumentJson.h"
#include "kinds/CItemKinds.h"

#include <QJsonDocument>

#include <cstdio>

namespace {
// As `diff` does: 0 the same, 1 different, 2 trouble.
constexpr int kSame = 0;
constexpr int kDifferent = 1;
constexpr int kTrouble = 2;

int runDiff(const QStringList& args)
{
    QStringList files = args;
    const bool json = files.removeAll(QStringLiteral("--json")) > 0;
    if (files.size() != 2) {
        fail(QStringLiteral("usage: diff A.mrc B.mrc [--json]"));
        return kTrouble;
    }
    auto first = createDocumentHolder();
    auto second = createDocumentHolder();
    if (!loadDocument(*first, files[0]) || !loadDocument(*second, files[1]))
        return kTrouble;
    const auto differences = CDocumentDiff::compare(CDocumentJson::dump(*first), CDocumentJson::dump(*second));
    if (json)
        std::printf("%s", QJsonDocument(CDocumentDiff::toJson(differences)).toJson(QJsonDocument::Indented).constData());
    else
        for (const QString& line : CDocumentDiff::describe(differences))
            std::printf("%s\n", line.toUtf8().constData());
    return differences.empty() ? kSame : kDifferent;
}

int runTextconv(const QStringList& args)
{
    if (args.size() != 1)
        return fail(QStringLiteral("usage: textconv FILE"));
    auto holder = createDocumentHolder();
    if (!loadDocument(*holder, args[0]))
        return 1;
    for (const QString& line : CDocumentDiff::textForm(CDocumentJson::dump(*holder)))
        std::printf("%s\n", line.toUtf8().constData());
    return 0;
}
} // namespace

CliCommand diffCommand()
{
    return {"diff", "diff A.mrc B.mrc [--json]",
            "items added, removed, moved and changed, group by group (exit 0 same, 1 different, 2 error)", runDiff};
}

CliCommand textconvCommand()
{
    return {"textconv", "textconv FILE", "a stable line form of a document, for git diff", runTextconv};
}
