#include "core/CArchiveException.h"
#include "core/CIndexChange.h"
#include "core/CResourceHolder.h"
#include "core/CSectionCoder.h"
#include "kinds/CDocumentJson.h"
#include "kinds/CItemKinds.h"
#include "kinds/animations/AnimationJson.h"
#include "kinds/animations/CAnimationFrameTexts.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/animations/CFrameDelay.h"
#include "media/image/CDisplayBuffer.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <optional>
#include <QJsonDocument>
#include "support/ItemBytes.h"

#include <gtest/gtest.h>

namespace {




std::vector<int> bitmapsOf(const CAnimationItem& a)
{
    std::vector<int> out;
    for (const CAnimationFrame& f : a.frames())
        out.push_back(f.bitmap);
    return out;
}

void addBitmaps(CResourceHolder& holder, std::initializer_list<const char*> ids)
{
    for (const char* id : ids) {
        auto bitmap = std::make_unique<CDisplayBuffer>();
        bitmap->setId(id);
        holder.group(GroupBitmaps)->add(std::move(bitmap));
    }
}
} // namespace

TEST(AnimationItem, SectionRecordBytesInStoredOrder)
{
    CAnimationItem a;
    a.setId("walk");
    EXPECT_EQ(a.animationType(), 1);
    EXPECT_EQ(a.playMode(), 1);
    a.addFrame(4, 3, -2, 7);
    a.addFrame(-1, 1, 0, 0);
    a.setPlayMode(6);
    EXPECT_EQ(storeItem(a), recordHeader("walk") + le32(0) + le32(1) + le32(1) + le32(2) + le32(4) + le32(3) + le32(-2) + le32(7) +
                            le32(-1) + le32(1) + le32(0) + le32(0) + le32(6));
}

TEST(AnimationItem, ReadingClearsFirstAndKeepsPlayModeOfEmptyList)
{
    CAnimationItem a;
    a.addFrame(1, 2, 3, 4);
    a.setAnimationType(5);
    loadItem(a, recordHeader("none") + le32(9) + le32(9) + le32(1) + le32(0) + le32(3));
    EXPECT_EQ(a.id(), "none");
    EXPECT_EQ(a.frameCount(), 0);
    EXPECT_EQ(a.animationType(), 1);
    EXPECT_EQ(a.playMode(), 3);

    // Read back, the written bytes are the same.
    const QByteArray stored = recordHeader("w") + le32(0) + le32(1) + le32(1) + le32(1) + le32(8) + le32(0) + le32(-3) + le32(2) + le32(4);
    CAnimationItem b;
    loadItem(b, stored);
    ASSERT_EQ(b.frameCount(), 1);
    EXPECT_EQ(*b.frame(0), (CAnimationFrame{8, 0, -3, 2}));
    EXPECT_EQ(storeItem(b), stored);
}

TEST(AnimationItem, HostileFrameCountsAreRefusedBeforeAllocating)
{
    CAnimationItem a;
    const QByteArray prefix = recordHeader("x") + le32(0) + le32(1) + le32(1);
    EXPECT_THROW(loadItem(a, prefix + le32(0x7fffffff) + le32(1)), CArchiveException);
    // Two frames announced, one stored.
    EXPECT_THROW(loadItem(a, prefix + le32(2) + le32(1) + le32(1) + le32(0) + le32(0) + le32(1)), CArchiveException);
    // A negative count is an empty list, and the play mode after it is still read.
    CAnimationItem b;
    loadItem(b, prefix + le32(-7) + le32(5));
    EXPECT_EQ(b.frameCount(), 0);
    EXPECT_EQ(b.playMode(), 5);
}

TEST(AnimationItem, FrameBitmapsFollowBitmapRowsThroughTheHolder)
{
    auto holder = createDocumentHolder();
    addBitmaps(*holder, {"a", "b", "c", "d", "e"});
    const int row = holder->newItem(GroupAnimations, "anim");
    auto* a = dynamic_cast<CAnimationItem*>(holder->get(GroupAnimations, row));
    ASSERT_NE(a, nullptr);
    for (int b : {2, 4, 1, -1, 0})
        a->addFrame(b);

    // Deleting bitmap 2 of 5: 2 is gone, 4 becomes 3, lower rows stay.
    holder->remove(GroupBitmaps, 2);
    holder->renumberReferences(GroupBitmaps, CIndexChange::removed(2, holder->count(GroupBitmaps)));
    EXPECT_EQ(bitmapsOf(*a), (std::vector<int>{-1, 3, 1, -1, 0}));

    holder->renumberReferences(GroupBitmaps, CIndexChange::moved(0, 3));
    EXPECT_EQ(bitmapsOf(*a), (std::vector<int>{-1, 2, 0, -1, 3}));
    holder->renumberReferences(GroupBitmaps, CIndexChange::moved(3, 1));
    EXPECT_EQ(bitmapsOf(*a), (std::vector<int>{-1, 3, 0, -1, 1}));
    holder->renumberReferences(GroupBitmaps, CIndexChange::swapped(0, 3));
    EXPECT_EQ(bitmapsOf(*a), (std::vector<int>{-1, 0, 3, -1, 1}));

    // Rows of other groups moving say nothing about bitmaps.
    holder->renumberReferences(GroupAnimations, CIndexChange::removed(0, 0));
    holder->renumberReferences(GroupMaps, CIndexChange::swapped(0, 1));
    EXPECT_EQ(bitmapsOf(*a), (std::vector<int>{-1, 0, 3, -1, 1}));

    // The older range and replace forms.
    EXPECT_EQ(a->addToBitmapsInRange(1, 3, 10), 2);
    EXPECT_EQ(a->replaceBitmap(-1, 7), 2);
    EXPECT_EQ(bitmapsOf(*a), (std::vector<int>{7, 0, 13, 7, 11}));
}

TEST(AnimationItem, FrameEditing)
{
    CAnimationItem a;
    EXPECT_EQ(a.reverseFrames(), 0);
    EXPECT_EQ(a.moveFrameUp(0), 0);
    a.addFrame(10, 1, 1, 1);
    a.addFrame(11, 2, 2, 2);
    EXPECT_EQ(a.addFrame(12, 3, 3, 3), 2);

    // Reversing keeps each frame's delay and offsets with it.
    EXPECT_EQ(a.reverseFrames(), 1);
    EXPECT_EQ(a.frames(), (std::vector<CAnimationFrame>{{12, 3, 3, 3}, {11, 2, 2, 2}, {10, 1, 1, 1}}));

    EXPECT_EQ(a.moveFrameUp(0), 0);
    EXPECT_EQ(a.moveFrameDown(2), 0);
    EXPECT_EQ(a.moveFrameDown(0), 1);
    EXPECT_EQ(a.moveFrameUp(2), 1);
    EXPECT_EQ(bitmapsOf(a), (std::vector<int>{11, 10, 12}));
    EXPECT_EQ(a.frame(1)->delay, 1);

    EXPECT_EQ(a.decrementDelay(1), 0) << "a delay of 1 stays 1";
    EXPECT_EQ(a.frame(1)->delay, 1);
    EXPECT_EQ(a.incrementDelay(1), 1);
    EXPECT_EQ(a.decrementAllDelays(), 1);
    EXPECT_EQ(a.frame(0)->delay, 1);
    EXPECT_EQ(a.frame(1)->delay, 1);
    EXPECT_EQ(a.frame(2)->delay, 2);
    a.incrementAllDelays();
    EXPECT_EQ(a.frame(2)->delay, 3);
    a.setFrame(0, CAnimationFrame{11, std::numeric_limits<std::int32_t>::max(), 0, 0});
    EXPECT_EQ(a.incrementDelay(0), 0) << "the largest delay cannot wrap around";

    EXPECT_EQ(a.removeFrame(3), 0);
    EXPECT_EQ(a.removeFrame(0), 1);
    EXPECT_EQ(bitmapsOf(a), (std::vector<int>{10, 12}));
    EXPECT_EQ(a.specsText(), "2 Frames");
}

TEST(AnimationItem, FrameListTexts)
{
    auto holder = createDocumentHolder();
    addBitmaps(*holder, {"hero", "tree"});
    CAnimationItem a;
    a.addFrame(1, 3, -4, 5);
    a.addFrame(2);
    a.addFrame(-1);
    EXPECT_EQ(CAnimationFrameTexts::frameRow(*holder, a, 0), "0 - [ 3x 1 ] - <-4, 5> - tree");
    EXPECT_EQ(CAnimationFrameTexts::frameRow(*holder, a, 1), "1 - [ 1x 2 ] - <0, 0> - None / Out of Range");
    EXPECT_EQ(CAnimationFrameTexts::frameRow(*holder, a, 2), "2 - [ 1x -1 ] - <0, 0> - None / Out of Range");
    EXPECT_EQ(CAnimationFrameTexts::frameRow(*holder, a, 3), "");
    EXPECT_EQ(CAnimationFrameTexts::plainFrameRow(*holder, a, 0, 8), "0 · tree · 24 ms · offset −4, 5");
    EXPECT_EQ(CAnimationFrameTexts::plainFrameRow(*holder, a, 1, 10), "1 · missing bitmap 2 · 10 ms · offset 0, 0");
    EXPECT_EQ(CAnimationFrameTexts::plainFrameRow(*holder, a, 2, 10), "2 · no bitmap · 10 ms · offset 0, 0");
    EXPECT_EQ(CAnimationFrameTexts::plainFrameRow(*holder, a, 3, 10), "");
    EXPECT_EQ(CAnimationFrameTexts::pickerRow(*holder, 0), "0 - hero");
    EXPECT_EQ(CAnimationFrameTexts::previewText("59.94 Fps", 2, 3, 0.5), "59.94 Fps\n2/3\n0.50");
}

TEST(AnimationItem, DocumentRoundTripAndJsonForm)
{
    TempFolder folder;
    ScriptedPrompter prompter;
    FixedKeySource keys({0x100, 0x12, 0x34, 0x56, 0x78, 0x9A});
    auto holder = createDocumentHolder();
    holder->setPrompter(&prompter);
    holder->setKeySource(&keys);
    auto* a = dynamic_cast<CAnimationItem*>(holder->get(GroupAnimations, holder->newItem(GroupAnimations, "run")));
    ASSERT_NE(a, nullptr);
    a->setComments("legs");
    a->addFrame(3, 2, -1, 9);
    a->addFrame(0, 5, 4, -4);
    a->setPlayMode(7);
    auto* empty = dynamic_cast<CAnimationItem*>(holder->get(GroupAnimations, holder->newItem(GroupAnimations, "empty")));
    ASSERT_NE(empty, nullptr);
    empty->setPlayMode(4);
    ASSERT_EQ(holder->save(folder.path("a.mrc")), 1);

    auto back = createDocumentHolder();
    back->setPrompter(&prompter);
    ASSERT_EQ(back->load(folder.path("a.mrc")), 1);
    ASSERT_EQ(back->count(GroupAnimations), 2);
    auto* r = dynamic_cast<CAnimationItem*>(back->get(GroupAnimations, 0));
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->id(), "run");
    EXPECT_EQ(r->comments(), "legs");
    EXPECT_EQ(r->frames(), a->frames());
    EXPECT_EQ(r->playMode(), 7);
    auto* e = dynamic_cast<CAnimationItem*>(back->get(GroupAnimations, 1));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->frameCount(), 0);
    EXPECT_EQ(e->playMode(), 4);

    // The JSON form gives every field and takes them back.
    AnimationJson form;
    QJsonObject fields;
    form.describe(*r, fields);
    EXPECT_EQ(fields[QStringLiteral("playModeText")].toString(), QStringLiteral("Backward and Forward Loop"));
    CAnimationItem copy;
    QString error;
    ASSERT_EQ(form.assign(copy, fields, QDir(), error), 1) << error.toStdString();
    EXPECT_EQ(copy.frames(), r->frames());
    EXPECT_EQ(copy.playMode(), 7);

    // A manifest may name the play mode; malformed frames are refused whole.
    QJsonObject manifest = QJsonDocument::fromJson(R"({"playMode": "Backward Loop", "frames": [{"bitmap": 2}]})").object();
    ASSERT_EQ(form.assign(copy, manifest, QDir(), error), 1);
    EXPECT_EQ(copy.playMode(), 5);
    EXPECT_EQ(copy.frames(), (std::vector<CAnimationFrame>{{2, 1, 0, 0}}));
    for (const char* bad : {R"({"playMode": "Sideways"})", R"({"frames": [{"bitmap": 1.5}]})", R"({"frames": [3]})",
                            R"({"frames": [{"bitmap": 1, "delay": 4294967296}]})"}) {
        error.clear();
        EXPECT_EQ(form.assign(copy, QJsonDocument::fromJson(bad).object(), QDir(), error), 0) << bad;
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(copy.frames(), (std::vector<CAnimationFrame>{{2, 1, 0, 0}})) << "a refused manifest changes nothing";
}

// Delays typed as people time frames: milliseconds by default, rounded to
// whole steps of the document's step length, or steps when said so.
TEST(AnimationItem, TypedDelaysInMillisecondsOrSteps)
{
    const struct {
        const char* typed;
        int stepMs;
        std::optional<int> steps;
    } cases[] = {
        {"80", 8, 10}, {"80 ms", 8, 10}, {" 84MS", 8, 11}, {"83", 8, 10}, {"1", 8, 1}, {"0.4", 8, 1},
        {"10 steps", 8, 10}, {"10 st", 33, 10}, {"1 step", 8, 1}, {"2.6 steps", 8, 3}, {"99", 0, 99}, {"64 ms (4 steps)", 16, 4},
        {"1e12", 1, 2147483647}, {"0", 8, std::nullopt}, {"-5", 8, std::nullopt}, {"", 8, std::nullopt},
        {"fast", 8, std::nullopt}, {"80 s", 8, std::nullopt}, {"nan", 8, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CFrameDelay::parse(c.typed, c.stepMs), c.steps) << '"' << c.typed << "\" at " << c.stepMs;
    EXPECT_EQ(CFrameDelay::text(10, 8), "80 ms (10 steps)");
    EXPECT_EQ(CFrameDelay::text(1, 33), "33 ms (1 step)");
    EXPECT_EQ(CFrameDelay::milliseconds(2147483647, 1000), 2147483647000LL) << "no overflow";
}
