#include "core/CResourceHolder.h"
#include "core/CSectionCoder.h"
#include "kinds/CItemKinds.h"
#include "kinds/texts/CDocumentSettings.h"
#include "kinds/texts/CTextItem.h"
#include "kinds/texts/CTextReferenceExpander.h"
#include "support/TestSupport.h"

#include "support/ItemBytes.h"

#include <gtest/gtest.h>

namespace {




struct TextsFixture : ::testing::Test {
    std::unique_ptr<CResourceHolder> holder = createDocumentHolder();

    CTextItem& add(const std::string& id, const std::string& text)
    {
        auto& item = required(dynamic_cast<CTextItem*>(holder->get(GroupTexts, holder->newItem(GroupTexts, id))),
                              "a new text");
        item.setText(text);
        return item;
    }
    std::string expand(const std::string& text) const
    {
        return CTextReferenceExpander(*holder->group(GroupTexts)).expand(text);
    }
};
} // namespace

TEST(TextItem, SectionRecordBytes)
{
    CTextItem item;
    item.setId("greet");
    item.setComments("c");
    item.setText("Hi\r\nyou");
    CSectionCoder plain;
    const QByteArray expected = le32(0) + le32(1) + le32(0) + codedText("greet") + codedText("c")  // common header
                                + le32(0) + le32(1) + le32(0) + codedText("Hi\r\nyou");
    EXPECT_EQ(storeItem(item, plain), expected);
}

TEST(TextItem, ReadsBackReservedAndTextThroughScrambledCoder)
{
    CSectionCoder scrambled;
    scrambled.setKeys(CSectionCoder::Scrambled, 0x5a5a4141u, 0x41424344u);
    // Scrambled value by value, as the coder does; the leading words of the
    // record (9 and 4) are ignored when read.
    QByteArray coded;
    auto put = [&](QByteArray v) {
        scrambled.scramble(reinterpret_cast<std::uint8_t*>(v.data()), static_cast<std::size_t>(v.size()));
        coded += v;
    };
    for (const QByteArray& v : {le32(0), le32(1), le32(0), le32(1), QByteArray("p"), le32(0), le32(9), le32(4), le32(77),
                                le32(5), QByteArray("42abc")})
        put(v);
    CTextItem item;
    EXPECT_EQ(loadItem(item, coded, scrambled), 0);
    EXPECT_EQ(item.id(), "p");
    EXPECT_EQ(item.reserved(), 77);
    EXPECT_EQ(item.text(), "42abc");
    CSectionCoder again;
    again.setKeys(CSectionCoder::Scrambled, 0x5a5a4141u, 0x41424344u);
    EXPECT_EQ(storeItem(item, again).mid(4 * 3 + 4 + 1 + 4 + 4 * 2), coded.mid(4 * 3 + 4 + 1 + 4 + 4 * 2))
        << "reserved is written back as read";
}

TEST_F(TextsFixture, ExpandsReferencesAsDescribed)
{
    add("b", "World");
    const CTextItem& a = add("a", "Hello [b]");
    EXPECT_EQ(a.expandReferences(*holder->group(GroupTexts)), "Hello World");
    EXPECT_EQ(expand("x[nothere]y"), "xy");
    EXPECT_EQ(expand("[b] and [b]"), "World and World");
    EXPECT_EQ(expand("no brackets ] here"), "no brackets ] here");
    EXPECT_EQ(expand(""), "");
}

TEST_F(TextsFixture, ExpandedTextsAreExpandedInTurn)
{
    add("outer", "<[inner]>");
    add("inner", "[leaf]-[leaf]");
    add("leaf", "z");
    EXPECT_EQ(expand("[outer]!"), "<z-z>!");
    // An ID with blanks and an empty ID are looked up like any other.
    add("two words", "ok");
    EXPECT_EQ(expand("[two words][]"), "ok");
}

TEST_F(TextsFixture, ExpansionAlwaysStops)
{
    add("self", "again [self]");
    add("ping", "[pong]");
    add("pong", "[ping]");
    add("twice", "[twice][twice]");
    // A "]" before the first "[" is plain text and unmatched "[" stays.
    EXPECT_EQ(expand("a]b[c"), "a]b[c");
    EXPECT_EQ(expand("a]b[nothere]c"), "a]bc");
    const std::string self = expand("[self]");
    EXPECT_EQ(self.rfind("again ", 0), 0u);
    EXPECT_NE(self.find("[self]"), std::string::npos) << "the cut-off leaves the reference in place";
    EXPECT_EQ(expand("[ping]").find_first_not_of("[]ping"), std::string::npos);
    const std::string big = expand("[twice]");
    EXPECT_LE(big.size(), CTextReferenceExpander::kMaxLength + 7);
    EXPECT_GT(big.size(), 1000u);
}

TEST_F(TextsFixture, MissingReferencesPairBracketsAsTheExpansionDoes)
{
    add("b", "World");
    add("", "nameless");
    const struct {
        const char* text;
        std::optional<std::string> missing;
    } cases[] = {
        {"Hello [b]", std::nullopt},
        {"no brackets", std::nullopt},
        {"x[nothere]y", "nothere"},
        {"[b] then [gone] then [lost]", "gone"},
        {"a]b[c", std::nullopt},       // a "]" before the "[" pairs with nothing
        {"open [b and [b]", "b and [b"},  // the first "[" pairs with the first "]" after it
        {"[]", std::nullopt},          // the empty ID is a text's ID here
        {"[B]", "B"},                  // IDs compare exactly
    };
    const CTextReferenceExpander expander(*holder->group(GroupTexts));
    for (const auto& c : cases)
        EXPECT_EQ(expander.missingReference(c.text), c.missing) << c.text;
}

TEST_F(TextsFixture, HolderParameterLookUpsReadTheText)
{
    add("speed", "  -12abc");
    add("ratio", "2.5e1x");
    add("name", "Quillop");
    add("word", "abc");
    EXPECT_EQ(holder->integerParameter("speed", 7), -12);
    EXPECT_EQ(holder->integerParameter("word", 7), 0);
    EXPECT_EQ(holder->integerParameter("missing", 7), 7);
    EXPECT_DOUBLE_EQ(holder->realParameter("ratio", 1.0), 25.0);
    EXPECT_DOUBLE_EQ(holder->realParameter("missing", 1.5), 1.5);
    EXPECT_EQ(holder->textParameter("name", "x"), "Quillop");
    EXPECT_EQ(holder->textParameter("missing", "x"), "x");

    EXPECT_EQ(CTextItem::findText(*holder, "ratio"), 1);
    EXPECT_EQ(CTextItem::findText(*holder, "Ratio"), -1);
    ASSERT_NE(CTextItem::textAt(*holder, 2), nullptr);
    EXPECT_EQ(*CTextItem::textAt(*holder, 2), "Quillop");
    EXPECT_EQ(CTextItem::textAt(*holder, 4), nullptr);
}

TEST_F(TextsFixture, DocumentSettings)
{
    CDocumentSettings settings(*holder);
    EXPECT_FALSE(settings.isPasswordProtected());
    EXPECT_EQ(settings.propertiesStepDelay(), 20);
    EXPECT_EQ(settings.timerStepDelay(), 8);

    add("other", "x");
    ASSERT_EQ(settings.apply(33, "Secret"), 1);
    ASSERT_EQ(holder->count(GroupTexts), 3);
    EXPECT_EQ(holder->get(GroupTexts, 1)->id(), "settings_one_game_step_delay");
    EXPECT_EQ(holder->get(GroupTexts, 2)->id(), "settings_password");
    EXPECT_EQ(holder->get(GroupTexts, 1)->comments(),
              "Delay between each game event.\r\n20 => 1000 / 20 = 50 fps (default)\r\n8=>125 fps, 10=>100 fps");
    EXPECT_EQ(holder->get(GroupTexts, 2)->comments(), "Empty = no password protection");
    EXPECT_EQ(settings.timerStepDelay(), 33);
    EXPECT_TRUE(settings.passwordMatches("Secret"));
    EXPECT_FALSE(settings.passwordMatches("secret"));

    // Accepting again rewrites the same records; an empty password removes the protection.
    ASSERT_EQ(settings.apply(-4, ""), 1);
    ASSERT_EQ(holder->count(GroupTexts), 3);
    EXPECT_FALSE(settings.isPasswordProtected());
    EXPECT_EQ(*CTextItem::textAt(*holder, 1), "-4");
    EXPECT_EQ(settings.timerStepDelay(), 1);
}

TEST_F(TextsFixture, SettingsNeedATextsGroup)
{
    CResourceHolder plainHolder;  // plain records cannot hold a value
    EXPECT_EQ(CDocumentSettings(plainHolder).setPassword("x"), 0);
}

TEST_F(TextsFixture, RoundTripThroughASavedDocument)
{
    add("a", "Hello [b]").setComments("first");
    add("b", std::string("bin\0ary\r\n", 9));
    add("", "");
    CDocumentSettings(*holder).apply(16, "pw");
    FixedKeySource keys({0x1234, 0x5611, 0x0f0f, 0x7a7a});
    holder->setKeySource(&keys);
    TempFolder folder;
    const std::string path = folder.path("texts.mrc");
    ASSERT_EQ(holder->save(path), 1);

    auto loaded = createDocumentHolder();
    ASSERT_EQ(loaded->load(path), 1);
    ASSERT_EQ(loaded->count(GroupTexts), holder->count(GroupTexts));
    for (int i = 0; i < holder->count(GroupTexts); ++i) {
        auto* a = dynamic_cast<CTextItem*>(holder->get(GroupTexts, i));
        auto* b = dynamic_cast<CTextItem*>(loaded->get(GroupTexts, i));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->id(), a->id());
        EXPECT_EQ(b->comments(), a->comments());
        EXPECT_EQ(b->text(), a->text());
    }
    EXPECT_EQ(CDocumentSettings(*loaded).password(), "pw");
    EXPECT_EQ(CDocumentSettings(*loaded).timerStepDelay(), 16);
}
