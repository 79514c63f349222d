// The whole resource file: load through the holder, dump, extract every
// item, save and load again. The second dump must equal the first: what a
// save writes must read back as it was.
#include "FuzzSupport.h"

#include "core/CKindJson.h"
#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "kinds/CDocumentJson.h"
#include "kinds/CItemKinds.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
// Every field but how a binary file's data stood in the file read: a save
// always writes it plainly, whatever flag an older or broken file had.
QByteArray dumpOf(const CResourceHolder& holder)
{
    QJsonObject document = CDocumentJson::dump(holder);
    QJsonObject groups = document[QStringLiteral("groups")].toObject();
    QJsonArray files;
    for (const QJsonValue& file : groups[QStringLiteral("binaryFiles")].toArray()) {
        QJsonObject fields = file.toObject();
        fields.remove(QStringLiteral("plainStorage"));
        files.append(fields);
    }
    groups[QStringLiteral("binaryFiles")] = files;
    document[QStringLiteral("groups")] = groups;
    return QJsonDocument(document).toJson(QJsonDocument::Compact);
}

void extractEveryItem(const CResourceHolder& holder)
{
    for (int g = 0; g < kGroupCount; ++g)
        if (const CKindJson* form = kindJson(g))
            for (int i = 0; i < holder.count(g); ++i)
                (void)form->extract(*holder.get(g, i));
}

std::unique_ptr<CResourceHolder> loaded(const std::string& path)
{
    auto holder = createDocumentHolder();
    holder->setPrompter(&fuzz::yesPrompter());
    holder->setKeySource(&fuzz::fixedKeys());
    if (!holder->load(path))
        return nullptr;
    return holder;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::start();
    const auto first = loaded(fuzz::scratchFile("input.mrc", fuzz::bytesOf(data, size)));
    if (!first)
        return 0;
    const QByteArray dump = dumpOf(*first);
    extractEveryItem(*first);
    const std::string copy = fuzz::scratchPath("copy.mrc");
    if (!first->save(copy))
        fuzz::finding("a loaded document could not be saved");
    const auto second = loaded(copy);
    if (!second)
        fuzz::finding("a saved document does not load");
    if (dumpOf(*second) != dump)
        fuzz::finding("the saved document reads back different:\n" + dump.toStdString() + "\n"
                      + dumpOf(*second).toStdString());
    return 0;
}
