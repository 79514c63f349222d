// The document's undo history on every item kind: steps keep only what an
// edit touched, undo and redo give back the exact records, references kept
// by deletes and moves come back with the rows, and the size limit drops the
// oldest steps.
#include "core/CDocumentHistory.h"
#include "core/CEditStep.h"
#include "core/CIndexChange.h"
#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "core/ItemRecordBytes.h"
#include "kinds/CItemKinds.h"
#include "support/ItemBytes.h"
#include "support/TestSupport.h"

#include <QUndoStack>
#include <gtest/gtest.h>

#include <random>

namespace {
std::unique_ptr<CResourceHolder> demoDocument()
{
    auto holder = createDocumentHolder();
    requireLoaded(holder->load(QUILLOP_DEMO), QUILLOP_DEMO);
    return holder;
}

// The deletes, moves and swaps of the grids: rows change, references follow.
void deleteRow(CResourceHolder& holder, int group, int row)
{
    if (holder.remove(group, row))
        holder.renumberReferences(group, CIndexChange::removed(row, holder.count(group)));
}

void moveRow(CResourceHolder& holder, int group, int from, int to)
{
    if (holder.move(group, from, to))
        holder.renumberReferences(group, CIndexChange::moved(from, to));
}

void swapRows(CResourceHolder& holder, int group, int a, int b)
{
    if (holder.swap(group, a, b))
        holder.renumberReferences(group, CIndexChange::swapped(a, b));
}
} // namespace

TEST(EditHistory, EveryKindReadsItsRecordBackInPlace)
{
    auto holder = demoDocument();
    for (int g = 0; g < kGroupCount; ++g) {
        ASSERT_GE(holder->count(g), 1) << "group " << g;
        // Another item's record read into a changed item replaces every field.
        CResourceItem& target = *holder->get(g, 0);
        CResourceItem& source = *holder->get(g, holder->count(g) - 1);
        const QByteArray wanted = storeRecord(source);
        target.setComments("changed before reading");
        ASSERT_TRUE(loadRecord(target, wanted)) << "group " << g;
        EXPECT_EQ(storeRecord(target), wanted) << "group " << g;
        EXPECT_EQ(recordSize(target), wanted.size()) << "group " << g;
    }
}

TEST(EditHistory, StepsKeepWhatChangedAndUndoRestoresReferencesInEveryGroup)
{
    auto holder = demoDocument();
    CDocumentHistory history(*holder);
    const QByteArray original = documentRecords(*holder);
    int applied = 0;
    QObject::connect(&history, &CDocumentHistory::applied, [&] { ++applied; });

    struct Case {
        const char* name;
        std::function<void(CResourceHolder&, CDocumentHistory::Edit&)> edit;
        int rowChanges;    // groups whose rows changed
        int leastRecords;  // items whose fields changed, at least
    };
    const std::vector<Case> cases = {
        {"one comment", [](CResourceHolder& h, auto& e) { e.touchRow(GroupBitmaps, 2); h.get(GroupBitmaps, 2)->setComments("x"); }, 0, 1},
        {"touched but unchanged", [](CResourceHolder&, auto& e) { e.touchGroup(GroupBitmaps); }, 0, 0},
        {"insert", [](CResourceHolder& h, auto&) { h.newItem(GroupColors, "New ID"); }, 1, 0},
        // Frames, map cells and world elements refer to the bitmaps.
        {"delete a referenced bitmap", [](CResourceHolder& h, auto&) { deleteRow(h, GroupBitmaps, 1); }, 1, 2},
        {"delete three bitmaps", [](CResourceHolder& h, auto&) { for (int r : {7, 5, 3}) deleteRow(h, GroupBitmaps, r); }, 1, 2},
        {"move", [](CResourceHolder& h, auto&) { moveRow(h, GroupBitmaps, 0, 4); }, 1, 2},
        {"swap", [](CResourceHolder& h, auto&) { swapRows(h, GroupAnimations, 0, 1); }, 1, 1},
        {"header", [](CResourceHolder& h, auto& e) { e.touchHeader(); h.setId("Renamed"); }, 0, 0},
        {"insert then delete", [](CResourceHolder& h, auto&) { deleteRow(h, GroupTexts, h.newItem(GroupTexts, "t")); }, 0, 0},
    };
    std::vector<QByteArray> states{original};
    for (const Case& c : cases) {
        const int before = history.stack().count();
        {
            CDocumentHistory::Edit edit(&history, QString::fromLatin1(c.name));
            c.edit(*holder, edit);
        }
        const QByteArray now = documentRecords(*holder);
        if (now == states.back()) {
            EXPECT_EQ(history.stack().count(), before) << c.name << ": an edit that changed nothing is no step";
            continue;
        }
        ASSERT_EQ(history.stack().count(), before + 1) << c.name;
        EXPECT_EQ(history.stack().text(before).toStdString(), c.name);
        const CEditStep* step = history.step(before);
        ASSERT_NE(step, nullptr);
        EXPECT_EQ(static_cast<int>(step->rowChanges().size()), c.rowChanges) << c.name;
        EXPECT_GE(static_cast<int>(step->recordChanges().size()), c.leastRecords) << c.name;
        states.push_back(now);
    }
    ASSERT_EQ(history.stack().count(), 7);

    for (int i = history.stack().count(); i > 0; --i) {
        history.stack().undo();
        EXPECT_EQ(documentRecords(*holder), states[static_cast<std::size_t>(i - 1)]) << "undo to " << i - 1;
    }
    EXPECT_EQ(documentRecords(*holder), original);
    while (history.stack().canRedo())
        history.stack().redo();
    EXPECT_EQ(documentRecords(*holder), states.back());
    EXPECT_EQ(applied, 14);
}

TEST(EditHistory, StepsCountTheirRowsAndRecords)
{
    auto holder = demoDocument();
    CDocumentHistory history(*holder);
    // A comment of one bitmap keeps the bytes that changed, not the picture.
    int largest = 0;
    for (int row = 1; row < holder->count(GroupBitmaps); ++row)
        if (recordSize(*holder->get(GroupBitmaps, row)) > recordSize(*holder->get(GroupBitmaps, largest)))
            largest = row;
    const std::int64_t bitmap = recordSize(*holder->get(GroupBitmaps, largest));
    ASSERT_GT(bitmap, 500);
    {
        CDocumentHistory::Edit edit(&history, QStringLiteral("comment"));
        edit.touchRows(GroupBitmaps, {largest, largest});
        holder->get(GroupBitmaps, largest)->setComments("x");
    }
    const std::int64_t one = history.usedBytes();
    EXPECT_GT(one, 0);
    EXPECT_LT(one, bitmap / 4);
    // A deleted bitmap is kept whole, with the records of the items whose
    // references changed.
    {
        CDocumentHistory::Edit edit(&history, QStringLiteral("delete"));
        deleteRow(*holder, GroupBitmaps, 1);
    }
    EXPECT_GT(history.usedBytes(), one + recordSize(*holder->get(GroupBitmaps, 0)) / 2);
}

TEST(EditHistory, TheLimitDropsTheOldestStepsAndKeepsTheSavedPoint)
{
    auto holder = demoDocument();
    CDocumentHistory history(*holder);
    auto comment = [&](int row, const std::string& text) {
        CDocumentHistory::Edit edit(&history, QString::fromStdString(text));
        edit.touchRow(GroupTexts, row);
        holder->get(GroupTexts, row)->setComments(text);
    };
    comment(0, "a");
    const std::int64_t perStep = history.usedBytes();
    ASSERT_GT(perStep, 0);
    history.stack().setClean();
    history.setLimitBytes(perStep * 10);
    for (int i = 0; i < 30; ++i)
        comment(i % 3, std::to_string(i));
    EXPECT_LE(history.usedBytes(), history.limitBytes());
    EXPECT_GE(history.stack().count(), 5);
    // The saved point was dropped: no undo gets back to it.
    EXPECT_EQ(history.stack().cleanIndex(), -1);
    EXPECT_EQ(history.stack().text(history.stack().count() - 1).toStdString(), "29");

    // A saved point still held stays where it was, when the steps before it
    // go.
    comment(0, std::string(200, 'q'));
    history.stack().setClean();
    comment(1, "y");
    comment(1, "z");
    const std::int64_t newest = history.step(history.stack().count() - 1)->cost();
    const std::int64_t older = history.step(history.stack().count() - 2)->cost();
    // Steps cost what changed in them; trimming goes down to three quarters
    // of the limit, which here holds the two newest.
    history.setLimitBytes((newest + older) * 4 / 3 + 4);
    EXPECT_EQ(history.stack().count(), 2);
    EXPECT_EQ(history.stack().cleanIndex(), 0);
    const QByteArray last = documentRecords(*holder);
    history.stack().undo();
    history.stack().undo();
    EXPECT_TRUE(history.stack().isClean());
    EXPECT_EQ(holder->get(GroupTexts, 1)->comments(), "28");
    history.stack().redo();
    history.stack().redo();
    EXPECT_EQ(documentRecords(*holder), last);
}

TEST(EditHistory, SeededEditsOfEveryKindUndoToTheOriginalAndRedoToTheEnd)
{
    auto holder = demoDocument();
    CDocumentHistory history(*holder);
    const QByteArray original = documentRecords(*holder);
    std::mt19937 random(1717);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(std::max(n, 1))); };
    for (int round = 0; round < 300; ++round) {
        const int group = pick(kGroupCount);
        const int rows = holder->count(group);
        CDocumentHistory::Edit edit(&history, QStringLiteral("edit %1").arg(round));
        switch (pick(6)) {
        case 0:
            if (rows > 0) {
                const int row = pick(rows);
                edit.touchRow(group, row);
                holder->get(group, row)->setId("id" + std::to_string(round));
            }
            break;
        case 1:
            holder->newItem(group, "new" + std::to_string(round));
            break;
        case 2:
            if (rows > 2)
                deleteRow(*holder, group, pick(rows));
            break;
        case 3:
            if (rows > 1)
                moveRow(*holder, group, pick(rows), pick(rows));
            break;
        case 4:
            if (rows > 1)
                swapRows(*holder, group, pick(rows), pick(rows));
            break;
        default:
            edit.touchHeader();
            holder->setComments("comments " + std::to_string(round));
            break;
        }
    }
    const QByteArray edited = documentRecords(*holder);
    ASSERT_NE(edited, original);
    ASSERT_GT(history.stack().count(), 200);
    while (history.stack().canUndo())
        history.stack().undo();
    EXPECT_EQ(documentRecords(*holder), original);
    while (history.stack().canRedo())
        history.stack().redo();
    EXPECT_EQ(documentRecords(*holder), edited);
}
