// The pack manifest: JSON into a whole document, with the files it names
// relative to the demo document's folder of pictures, texts and sounds; what packs must save
// and load again.
#include "FuzzSupport.h"

#include "core/CResourceHolder.h"
#include "kinds/CDocumentJson.h"
#include "kinds/CItemKinds.h"

#include <QJsonDocument>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::start();
    const QJsonDocument manifest = QJsonDocument::fromJson(fuzz::bytesOf(data, size));
    if (!manifest.isObject())
        return 0;
    auto holder = createDocumentHolder();
    holder->setPrompter(&fuzz::yesPrompter());
    holder->setKeySource(&fuzz::fixedKeys());
    QString error;
    if (!CDocumentJson::pack(manifest.object(), QDir(QStringLiteral(QUILLOP_FUZZ_FILES)), *holder, error))
        return 0;
    const std::string path = fuzz::scratchPath("packed.mrc");
    if (!holder->save(path))
        fuzz::finding("a packed document could not be saved");
    auto reloaded = createDocumentHolder();
    reloaded->setPrompter(&fuzz::yesPrompter());
    if (!reloaded->load(path))
        fuzz::finding("a packed document does not load");
    return 0;
}
