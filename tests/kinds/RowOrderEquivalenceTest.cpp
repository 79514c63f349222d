// The grid's commands over many rows run as one new order of the rows and
// one renumbering pass. They must leave items and every reference exactly
// where the one-row-at-a-time rule leaves them: each command is run both
// ways on random documents whose references of every kind point into the
// changed group (valid rows, none, and values past the end).
#include "core/CIndexChange.h"
#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "core/RowOrder.h"
#include "kinds/CDocumentJson.h"
#include "kinds/CItemKinds.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/worlds/GameWorld.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

constexpr int kGroupsReferredTo[] = {GroupBitmaps, GroupAnimations, GroupMaps, GroupWorlds, GroupTrajectories};
constexpr int kRows = 24;  // above the size where sorts switch to insertion sort

enum class Command { Delete, MoveUp, MoveDown, Group, SortAscending, SortDescending };

struct Document {
    std::unique_ptr<CResourceHolder> holder = createDocumentHolder();
};

// A reference into a group of kRows rows: mostly a row, sometimes none or
// a value past the end.
int randomReference(std::mt19937& rng)
{
    const int pick = static_cast<int>(rng() % (kRows + 3));
    return pick < kRows ? pick : pick == kRows ? -1 : kRows + pick;
}

void fill(CResourceHolder& h, unsigned seed)
{
    std::mt19937 rng(seed);
    for (int g : kGroupsReferredTo)
        for (int i = 0; i < kRows; ++i)
            // Few distinct IDs, so that sorting meets equal keys.
            h.newItem(g, std::string(1, static_cast<char>('a' + rng() % 3)));
    for (int i = 0; i < kRows; ++i) {
        auto* animation = dynamic_cast<CAnimationItem*>(h.get(GroupAnimations, i));
        for (int f = 0; f < 3; ++f)
            animation->addFrame(randomReference(rng));
        auto* map = dynamic_cast<CMapItem*>(h.get(GroupMaps, i));
        map->insertColumn(0);
        map->insertColumn(0);
        map->insertLine(0);
        map->insertLine(0);
        for (int c = 0; c < 2; ++c)
            for (int l = 0; l < 2; ++l)
                map->setCell(c, l, randomReference(rng));
        auto* world = dynamic_cast<GameWorld*>(h.get(GroupWorlds, i));
        for (int type = WorldObjectBitmap; type <= WorldObjectWorldReference; ++type) {
            WorldElement* e = world->elementAt(world->addElement("e"));
            e->objectType = type;
            e->objectIndex = randomReference(rng);
            e->trajectoryIndex = randomReference(rng);
        }
    }
}

std::vector<int> randomSet(std::mt19937& rng)
{
    // Sparse sets and sets of nearly every row (more than a sort handles
    // by insertion).
    const bool dense = rng() % 2;
    std::vector<int> set;
    for (int r = 0; r < kRows; ++r)
        if (dense ? rng() % 12 != 0 : rng() % 3 == 0)
            set.push_back(r);
    if (set.empty())
        set.push_back(static_cast<int>(rng() % kRows));
    return set;
}

int compareIds(const CResourceHolder& h, int g, int a, int b)
{
    return h.get(g, a)->id().compare(h.get(g, b)->id());
}

// The rule as the grid applied it, one row at a time.
void oneAtATime(CResourceHolder& h, int g, Command command, std::vector<int> set)
{
    const int count = h.count(g);
    auto move = [&](int from, int to) {
        if (h.move(g, from, to))
            h.renumberReferences(g, CIndexChange::moved(from, to));
    };
    switch (command) {
    case Command::Delete:
        std::reverse(set.begin(), set.end());
        for (int row : set)
            if (h.remove(g, row))
                h.renumberReferences(g, CIndexChange::removed(row, h.count(g)));
        break;
    case Command::MoveUp:
        if (set.front() > 0)
            for (int row : set)
                move(row, row - 1);
        break;
    case Command::MoveDown:
        std::reverse(set.begin(), set.end());
        if (set.front() < count - 1)
            for (int row : set)
                move(row, row + 1);
        break;
    case Command::Group:
        for (std::size_t k = 1; k < set.size(); ++k)
            move(set[k], set.front() + static_cast<int>(k));
        break;
    case Command::SortAscending:
    case Command::SortDescending:
        for (bool swapped = true; swapped;) {
            swapped = false;
            for (std::size_t k = 0; k + 1 < set.size(); ++k) {
                const int order = compareIds(h, g, set[k], set[k + 1]);
                if ((command == Command::SortAscending ? order > 0 : order < 0) && h.swap(g, set[k], set[k + 1])) {
                    h.renumberReferences(g, CIndexChange::swapped(set[k], set[k + 1]));
                    swapped = true;
                }
            }
        }
        break;
    }
}

std::vector<int> newOrder(const CResourceHolder& h, int g, Command command, std::vector<int> set)
{
    const int count = h.count(g);
    const auto compare = [&](int a, int b) { return compareIds(h, g, a, b); };
    switch (command) {
    case Command::Delete: return RowOrder::withoutRows(count, set);
    case Command::MoveUp: return RowOrder::movedUp(count, set);
    case Command::MoveDown: std::reverse(set.begin(), set.end()); return RowOrder::movedDown(count, set);
    case Command::Group: return RowOrder::grouped(count, set);
    case Command::SortAscending: return RowOrder::sorted(count, set, true, compare);
    case Command::SortDescending: return RowOrder::sorted(count, set, false, compare);
    }
    return {};
}

QByteArray dumped(const CResourceHolder& h) { return QJsonDocument(CDocumentJson::dump(h)).toJson(QJsonDocument::Compact); }

} // namespace

TEST(RowOrderEquivalence, EveryCommandMatchesTheOneRowAtATimeRuleOnRandomDocuments)
{
    const Command commands[] = {Command::Delete, Command::MoveUp,        Command::MoveDown,
                                Command::Group,  Command::SortAscending, Command::SortDescending};
    std::mt19937 rng(20);
    for (unsigned seed = 0; seed < 8; ++seed) {
        for (int g : kGroupsReferredTo) {
            for (Command command : commands) {
                const std::vector<int> set = randomSet(rng);
                Document before, after;
                fill(*before.holder, seed);
                fill(*after.holder, seed);
                ASSERT_EQ(dumped(*before.holder), dumped(*after.holder));
                oneAtATime(*before.holder, g, command, set);
                ASSERT_EQ(after.holder->rearrange(g, newOrder(*after.holder, g, command, set), true), 1);
                ASSERT_EQ(dumped(*before.holder), dumped(*after.holder))
                    << "seed " << seed << " group " << g << " command " << static_cast<int>(command);
            }
        }
    }
}

TEST(RowOrderEquivalence, AnInvalidOrderChangesNothing)
{
    Document doc;
    fill(*doc.holder, 1);
    const QByteArray before = dumped(*doc.holder);
    for (const std::vector<int>& order : {std::vector<int>{0, 0, 1}, std::vector<int>{kRows}, std::vector<int>{-1}})
        EXPECT_EQ(doc.holder->rearrange(GroupBitmaps, order, true), 0);
    EXPECT_EQ(dumped(*doc.holder), before);
    // Deleting every row is a valid order: the group empties and references to it become none.
    EXPECT_EQ(doc.holder->rearrange(GroupBitmaps, {}, true), 1);
    EXPECT_EQ(doc.holder->count(GroupBitmaps), 0);
    for (const CAnimationFrame& f : dynamic_cast<CAnimationItem*>(doc.holder->get(GroupAnimations, 0))->frames())
        EXPECT_TRUE(f.bitmap == -1 || f.bitmap >= kRows) << f.bitmap;
}
