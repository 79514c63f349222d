#include "CliCommand.h"

#include "core/CResourceHolder.h"
#include "core/CWalkedDocument.h"
#include "kinds/CDocumentDiff.h"
#include "kinds/CDocumentJson.h"
#include "kinds/CDocumentMerge.h"
#include "kinds/CItemKinds.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>

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
    // Walked item by item when both files allow it: only the items that
    // differ are loaded. A file that does not walk cleanly is loaded whole,
    // which reports what is wrong with it.
    std::optional<std::vector<CDocumentDiff::Difference>> found;
    {
        CWalkedDocument first, second;
        if (walkDocuments({{&first, files[0]}, {&second, files[1]}}))
            found = CDocumentDiff::compare(first, second);
    }
    if (!found) {
        auto first = createDocumentHolder();
        auto second = createDocumentHolder();
        if (!loadDocuments({{first.get(), files[0]}, {second.get(), files[1]}}))
            return kTrouble;
        found = CDocumentDiff::compare(*first, *second);
    }
    const std::vector<CDocumentDiff::Difference>& differences = *found;
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
            "items added, removed, moved and changed, group by group (exit 0 same, 1 different, 2 error)", runDiff,
            "--json\tthe differences as JSON, for tools", "0\tthe documents hold the same\n1\tthey differ\n2\ta document could not be read, or the arguments were wrong"};
}

CliCommand textconvCommand()
{
    return {"textconv", "textconv FILE", "a stable line form of a document, for git diff", runTextconv};
}

namespace {
// Git hands a merge driver temporary files named without an extension; the
// reader takes only ".mrc" names, so such a file is read through a link.
QString readableName(const QString& path, const QTemporaryDir& scratch, int n)
{
    if (path.endsWith(QLatin1String(".mrc"), Qt::CaseInsensitive))
        return path;
    const QString link = scratch.filePath(QStringLiteral("side%1.mrc").arg(n));
    return QFile::link(QFileInfo(path).absoluteFilePath(), link) ? link : path;
}

int runMerge(const QStringList& args)
{
    QStringList files = args;
    QString out;
    if (const qsizetype at = files.indexOf(QStringLiteral("-o")); at >= 0) {
        if (at + 1 >= files.size()) {
            fail(QStringLiteral("-o needs a file name"));
            return kTrouble;
        }
        out = files.takeAt(at + 1);
        files.removeAt(at);
    }
    if (files.size() != 3) {
        fail(QStringLiteral("usage: merge BASE OURS THEIRS [-o OUT]\n  -o OUT  where the merged document goes (OURS by default)"));
        return kTrouble;
    }
    if (out.isEmpty())
        out = files[1];
    const QTemporaryDir scratch;
    const QString sides[3] = {readableName(files[0], scratch, 0), readableName(files[1], scratch, 1),
                              readableName(files[2], scratch, 2)};
    // Walked item by item when the three files allow it: only the changed
    // items are loaded, the others are copied from their files as the result
    // is written. Otherwise loaded whole, which reports what is wrong.
    CWalkedDocument walked[3];
    std::optional<CDocumentMerge::Result> result;
    if (walkDocuments({{&walked[0], sides[0]}, {&walked[1], sides[1]}, {&walked[2], sides[2]}}))
        result = CDocumentMerge::merge(walked[0], walked[1], walked[2]);
    if (!result) {
        auto base = createDocumentHolder();
        auto ours = createDocumentHolder();
        auto theirs = createDocumentHolder();
        if (!loadDocuments({{base.get(), sides[0]}, {ours.get(), sides[1]}, {theirs.get(), sides[2]}}))
            return kTrouble;
        result = CDocumentMerge::merge(*base, *ours, *theirs);
    }
    const CDocumentMerge::Result& merged = *result;
    if (!merged.merged) {
        // Nothing is written: OURS stays as it was for the user to settle.
        for (const QString& conflict : merged.conflicts)
            std::fprintf(stderr, "conflict: %s\n", conflict.toUtf8().constData());
        return kDifferent;
    }
    if (!requireReplaceable(out))
        return kTrouble;
    if (!merged.merged->save(argumentBytes(out))) {
        fail(QStringLiteral("%1: could not be written: %2").arg(out, QString::fromStdString(merged.merged->saveError())));
        return kTrouble;
    }
    return kSame;
}
} // namespace

CliCommand mergeCommand()
{
    return {"merge", "merge BASE OURS THEIRS [-o OUT]",
            "three-way merge of documents, item by item (a git merge driver: exit 0 merged, 1 conflicts, 2 error)",
            runMerge, "-o OUT\twhere the merged document goes (OURS by default, as git expects)",
            "0\tmerged\n1\tconflicts: OURS is left as it was and the conflicts are listed\n2\ta document could not be read or written, or the arguments were wrong"};
}
