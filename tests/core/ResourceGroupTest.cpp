#include "core/CResourceGroup.h"
#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"

#include <gtest/gtest.h>

namespace {
std::unique_ptr<CResourceItem> item(const std::string& id)
{
    auto i = std::make_unique<CResourceItem>();
    i->setId(id);
    return i;
}

std::string order(const CResourceGroup& g)
{
    std::string s;
    for (int i = 0; i < g.count(); ++i)
        s += g.get(i)->id();
    return s;
}

// Counts destructions, to check that clearing destroys each item once.
struct Counted : CResourceItem {
    explicit Counted(int& n) : destroyed(n) {}
    ~Counted() override { ++destroyed; }
    int& destroyed;
};

// A Texts and Parameters stand-in: the parameter look-ups read its text.
struct TextLike : CResourceItem {
    std::string text;
    std::unique_ptr<CResourceItem> createDefault() const override { return std::make_unique<TextLike>(); }
    const std::string* parameterText() const override { return &text; }
};
} // namespace

TEST(ResourceGroup, MoveSwapRemoveAndFind)
{
    CResourceGroup g("T");
    for (const char* id : {"a", "b", "c", "d"})
        g.add(item(id));
    EXPECT_EQ(g.add(nullptr), -1);
    EXPECT_EQ(g.move(0, 3), 1);
    EXPECT_EQ(order(g), "bcda");
    EXPECT_EQ(g.move(3, 0), 1);
    EXPECT_EQ(order(g), "abcd");
    EXPECT_EQ(g.move(1, 1), 1);
    EXPECT_EQ(g.move(1, 4), 0);
    EXPECT_EQ(g.move(-1, 0), 0);
    EXPECT_EQ(order(g), "abcd");
    EXPECT_EQ(g.swap(0, 2), 1);
    EXPECT_EQ(order(g), "cbad");
    EXPECT_EQ(g.swap(0, 9), 0);
    EXPECT_EQ(g.remove(1), 1);
    EXPECT_EQ(order(g), "cad");
    EXPECT_EQ(g.remove(3), 0);
    EXPECT_EQ(g.get(3), nullptr);
    EXPECT_EQ(g.get(-1), nullptr);

    g.add(item("a"));
    EXPECT_EQ(g.findById("a"), 1) << "the first of two equal IDs";
    g.remove(1);
    EXPECT_EQ(g.findById("a"), 2);
    EXPECT_EQ(g.findById("A"), -1) << "IDs compare case-sensitively";
}

TEST(ResourceGroup, ClearDestroysEveryItemOnce)
{
    int destroyed = 0;
    {
        CResourceGroup g("T");
        for (int i = 0; i < 5; ++i)
            g.add(std::make_unique<Counted>(destroyed));
        g.clear();
        EXPECT_EQ(destroyed, 5);
        EXPECT_EQ(g.count(), 0);
    }
    EXPECT_EQ(destroyed, 5);
}

TEST(ResourceHolder, GroupsTagsAndPerGroupOperations)
{
    CResourceHolder h;
    EXPECT_EQ(h.id(), "No Name");
    EXPECT_EQ(h.comments(), "No Comments");
    EXPECT_EQ(h.group(0)->tag(), "MRVTXT");
    EXPECT_EQ(h.group(9)->tag(), "MRVWORLD");
    EXPECT_EQ(h.group(10), nullptr);
    EXPECT_EQ(h.group(-1), nullptr);

    EXPECT_EQ(h.newItem(GroupMaps, "New ID"), 0);
    EXPECT_EQ(h.newItem(GroupMaps, "second"), 1);
    EXPECT_EQ(h.newItem(12, "x"), -1);
    EXPECT_EQ(h.count(GroupMaps), 2);
    EXPECT_EQ(h.findById(GroupMaps, "second"), 1);
    EXPECT_EQ(h.findItem(GroupMaps, "second"), h.get(GroupMaps, 1));
    EXPECT_EQ(h.findItem(GroupColors, "second"), nullptr);
    EXPECT_EQ(h.findItem(42, "second"), nullptr);
    EXPECT_EQ(h.swap(GroupMaps, 0, 1), 1);
    EXPECT_EQ(h.get(GroupMaps, 0)->id(), "second");
    EXPECT_EQ(h.move(GroupMaps, 0, 1), 1);
    EXPECT_EQ(h.get(GroupMaps, 0)->id(), "New ID");
    EXPECT_EQ(h.remove(GroupMaps, 0), 1);
    EXPECT_EQ(h.remove(GroupMaps, 5), 0);
    h.clear();
    EXPECT_EQ(h.count(GroupMaps), 0);
}

TEST(ResourceHolder, ParameterLookUpsReadTheTextValue)
{
    CResourceHolder h([](int group) -> std::unique_ptr<CResourceItem> {
        if (group == GroupTexts)
            return std::make_unique<TextLike>();
        return std::make_unique<CResourceItem>();
    });
    auto set = [&](const std::string& id, const std::string& text) {
        static_cast<TextLike*>(h.get(GroupTexts, h.newItem(GroupTexts, id)))->text = text;
    };
    set("digits", "  -42abc");
    set("letters", "abc12");
    set("real", "2.5e3xyz");
    EXPECT_EQ(h.integerParameter("digits", 7), -42);
    EXPECT_EQ(h.integerParameter("letters", 7), 0);
    EXPECT_EQ(h.integerParameter("missing", 7), 7);
    EXPECT_DOUBLE_EQ(h.realParameter("real", 1.0), 2500.0);
    EXPECT_DOUBLE_EQ(h.realParameter("missing", 1.5), 1.5);
    EXPECT_EQ(h.textParameter("letters", "d"), "abc12");
    EXPECT_EQ(h.textParameter("missing", "d"), "d");
}
