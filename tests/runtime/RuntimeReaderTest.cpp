// The runtime's reader through its C interface, over documents the editor
// writes: what it refuses and why, passwords, and that it reads what the
// editor holds.
#include "core/CResourceHolder.h"
#include "kinds/CItemKinds.h"
#include "kinds/texts/CDocumentSettings.h"
#include "kinds/texts/CTextItem.h"
#include "media/image/CDisplayBuffer.h"
#include "quillop/runtime/quillop_runtime.h"
#include "support/TestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {
std::string demoBytes()
{
    QFile file(QStringLiteral(QUILLOP_DEMO));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll().toStdString();
}

// A document the editor saved with a password and an expanded text.
std::string savedWithPassword(const TempFolder& folder, const std::string& password)
{
    auto holder = createDocumentHolder();
    CDocumentSettings(*holder).apply(12, password);
    const int greeting = holder->newItem(GroupTexts, "greeting");
    dynamic_cast<CTextItem&>(*holder->get(GroupTexts, greeting)).setText("Hello [name]!");
    const int name = holder->newItem(GroupTexts, "name");
    dynamic_cast<CTextItem&>(*holder->get(GroupTexts, name)).setText("Ada");
    const std::string path = folder.path("protected.mrc");
    EXPECT_EQ(holder->save(path), 1);
    return path;
}

QuillopError openMemory(const std::string& bytes, const char* password = nullptr)
{
    QuillopDocument* document = nullptr;
    const QuillopError error = quillop_open_memory(bytes.data(), bytes.size(), password, &document);
    EXPECT_EQ(document != nullptr, error == QUILLOP_OK);
    quillop_close(document);
    return error;
}
} // namespace

TEST(RuntimeReader, RefusesWhatIsNoDocumentWithItsReason)
{
    const TempFolder folder;
    ::mkdir(folder.path("folder.mrc").c_str(), 0700);
    const std::string demo = demoBytes();
    struct Case {
        const char* what;
        std::string path;
        QuillopError expected;
    } cases[] = {
        {"missing", folder.path("none.mrc"), QUILLOP_ERROR_NOT_FOUND},
        {"folder", folder.path("folder.mrc"), QUILLOP_ERROR_NOT_REGULAR},
        {"demo", QUILLOP_DEMO, QUILLOP_OK},
    };
    for (const Case& c : cases) {
        QuillopDocument* document = nullptr;
        EXPECT_EQ(quillop_open_file(c.path.c_str(), nullptr, &document), c.expected) << c.what;
        EXPECT_STRNE(quillop_error_text(c.expected), "unknown error");
        quillop_close(document);
    }
    // Cuts of the demo read where the editor reads them (a cut between two
    // sections) and are refused as broken (or, inside the signature, as no
    // document at all) everywhere else.
    for (std::size_t size = 0; size < demo.size(); size += 97) {
        const std::string cut = folder.path("cut.mrc");
        QFile file(QString::fromStdString(cut));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(demo.data(), qint64(size));
        file.close();
        auto holder = createDocumentHolder();
        ScriptedPrompter quiet;
        holder->setPrompter(&quiet);
        const QuillopError error = openMemory(demo.substr(0, size));
        if (holder->load(cut))
            EXPECT_EQ(error, QUILLOP_OK) << size;
        else
            EXPECT_TRUE(error == QUILLOP_ERROR_BROKEN || error == QUILLOP_ERROR_WRONG_TYPE) << size;
    }
    std::string other = demo;
    other[5] = 'X';
    EXPECT_EQ(openMemory(other), QUILLOP_ERROR_WRONG_TYPE);
}

TEST(RuntimeReader, AsksForThePasswordTheDocumentHas)
{
    const TempFolder folder;
    const std::string path = savedWithPassword(folder, "s3cret");
    struct Case {
        const char* password;
        QuillopError expected;
    } cases[] = {{nullptr, QUILLOP_ERROR_PASSWORD_NEEDED}, {"", QUILLOP_ERROR_PASSWORD_NEEDED},
                 {"S3CRET", QUILLOP_ERROR_WRONG_PASSWORD}, {"s3cret", QUILLOP_OK}};
    for (const Case& c : cases) {
        QuillopDocument* document = nullptr;
        EXPECT_EQ(quillop_open_file(path.c_str(), c.password, &document), c.expected) << (c.password ? c.password : "none");
        quillop_close(document);
    }
    const std::string open = savedWithPassword(folder, "");
    QuillopDocument* document = nullptr;
    ASSERT_EQ(quillop_open_file(open.c_str(), nullptr, &document), QUILLOP_OK);
    EXPECT_EQ(quillop_step_delay(document), 12);
    const int greeting = quillop_find(document, QUILLOP_TEXTS, "greeting");
    char text[32];
    EXPECT_EQ(quillop_expanded_text(document, greeting, text, sizeof text), 10u);
    EXPECT_STREQ(text, "Hello Ada!");
    quillop_close(document);
}

TEST(RuntimeReader, ReadsEveryItemTheEditorReads)
{
    auto holder = createDocumentHolder();
    ASSERT_EQ(holder->load(QUILLOP_DEMO), 1);
    const std::string bytes = demoBytes();
    QuillopDocument* document = nullptr;
    ASSERT_EQ(quillop_open_memory(bytes.data(), bytes.size(), nullptr, &document), QUILLOP_OK);
    for (int g = 0; g < QUILLOP_GROUP_COUNT; ++g) {
        ASSERT_EQ(quillop_count(document, g), holder->count(g)) << g;
        for (int i = 0; i < holder->count(g); ++i) {
            const std::string id = holder->get(g, i)->id();
            EXPECT_EQ(quillop_item_id(document, g, i), id);
            EXPECT_EQ(quillop_find(document, g, id.c_str()), holder->findById(g, id));
        }
    }
    EXPECT_EQ(quillop_item_id(document, QUILLOP_GROUP_COUNT, 0), nullptr);
    EXPECT_EQ(quillop_find(document, QUILLOP_TEXTS, "no such text"), -1);
    for (int i = 0; i < quillop_count(document, QUILLOP_BITMAPS); ++i) {
        int width = 0, height = 0;
        uint8_t* pixels = nullptr;
        QuillopBitmap bitmap{};
        ASSERT_EQ(quillop_bitmap(document, i, &bitmap), QUILLOP_OK);
        const QuillopError error = quillop_bitmap_rgba(document, i, &width, &height, &pixels);
        EXPECT_EQ(error, bitmap.kind == 9 ? QUILLOP_OK : QUILLOP_ERROR_NOT_DECODED) << i;
        if (error == QUILLOP_OK) {
            const auto& decoded = dynamic_cast<const CDisplayBuffer&>(*holder->get(GroupBitmaps, i));
            decoded.decodeNow();
            EXPECT_EQ(width, decoded.actualWidth()) << i;
            EXPECT_EQ(height, decoded.actualHeight()) << i;
        }
        quillop_free(pixels);
    }
    for (int i = 0; i < quillop_count(document, QUILLOP_SOUNDS); ++i) {
        int16_t* samples = nullptr;
        int64_t frames = 0;
        int channels = 0, rate = 0;
        EXPECT_EQ(quillop_sound_pcm16(document, i, &samples, &frames, &channels, &rate), QUILLOP_OK) << i;
        EXPECT_GT(frames, 0);
        quillop_free(samples);
    }
    quillop_close(document);
}
