// The runtime's reader on any bytes: it never crashes nor allocates without
// bound, refuses exactly the files the editor refuses (but those of an older
// version, which the editor asks about), and reads the same items from the
// others. Every text is expanded and every picture and sound decoded, and
// the first worlds are played a few game steps by the runtime and by the
// editor's preview, which must lay them out alike.
#include "FuzzSupport.h"

#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "kinds/CItemKinds.h"
#include "kinds/worlds/WorldInstance.h"
#include "quillop/runtime/CDocument.h"
#include "quillop/runtime/Decoding.h"
#include "quillop/runtime/WorldPlayer.h"

#include <algorithm>

namespace {
void useEveryItem(const quillop::CDocument& document)
{
    for (int i = 0; i < document.count(quillop::GroupTexts); ++i)
        (void)document.expandedText(i);
    std::string error;
    for (const quillop::BitmapRecord& bitmap : document.bitmaps()) {
        quillop::Picture picture;
        (void)quillop::decodePicture(bitmap, picture, error);
    }
    for (const quillop::SoundRecord& sound : document.sounds()) {
        quillop::Pcm16 pcm;
        (void)quillop::decodeSound(sound, pcm, error);
    }
}

void compare(const quillop::CDocument& document, const CResourceHolder& holder)
{
    if (document.id() != holder.id() || document.comments() != holder.comments())
        fuzz::finding("the runtime reads another document ID or comments");
    const auto& dropped = holder.droppedPart();
    if (document.droppedFrom().has_value() != dropped.has_value() ||
        (dropped && *document.droppedFrom() != dropped->offset))
        fuzz::finding("the runtime leaves out another part of the file");
    for (int g = 0; g < kGroupCount; ++g) {
        if (document.count(g) != holder.count(g))
            fuzz::finding("the runtime reads another number of items in group " + std::to_string(g));
        for (int i = 0; i < holder.count(g); ++i)
            if (document.item(g, i)->id != holder.get(g, i)->id())
                fuzz::finding("the runtime reads another ID in group " + std::to_string(g));
    }
}
bool sameItems(const std::vector<quillop::DrawItem>& a, const std::vector<quillop::DrawItem>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].kind != b[i].kind || a[i].index != b[i].index || a[i].x != b[i].x || a[i].y != b[i].y ||
            a[i].world != b[i].world || a[i].element != b[i].element)
            return false;
    return true;
}

void compareWorlds(const quillop::CDocument& document, const CResourceHolder& holder)
{
    constexpr int kWorlds = 4;
    constexpr int kSteps = 3;
    const quillop::CDocumentWorldSource source(document);
    for (int w = 0; w < std::min(kWorlds, document.count(quillop::GroupWorlds)); ++w) {
        quillop::CWorldInstance game;
        WorldInstance editor;
        game.build(source, w);
        editor.build(holder, w);
        for (int step = 0; step <= kSteps; ++step) {
            std::vector<quillop::DrawItem> fromGame, fromEditor;
            game.drawList(0, 0, fromGame);
            editor.drawList(0, 0, fromEditor);
            if (!sameItems(fromGame, fromEditor))
                fuzz::finding("the runtime lays world " + std::to_string(w) + " out otherwise than the editor after " +
                              std::to_string(step) + " steps");
            game.step(1.0);
            editor.step(1.0);
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::start();
    quillop::OpenError error = quillop::OpenError::None;
    const auto document = quillop::CDocument::read(std::vector<std::uint8_t>(data, data + size), error);
    if (document)
        useEveryItem(*document);
    auto holder = createDocumentHolder();
    holder->setPrompter(&fuzz::yesPrompter());
    const bool editorRead = holder->load(fuzz::scratchFile("input.mrc", fuzz::bytesOf(data, size))) != 0;
    if (error == quillop::OpenError::OlderVersion)
        return 0;
    if (editorRead != (document != nullptr))
        fuzz::finding(editorRead ? std::string("the runtime refuses a file the editor reads: ") +
                                       quillop::openErrorText(error)
                                 : "the runtime reads a file the editor refuses");
    if (document) {
        compare(*document, *holder);
        if (editorRead)
            compareWorlds(*document, *holder);
    }
    return 0;
}
