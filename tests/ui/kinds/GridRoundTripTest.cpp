// Every editable column of every group's grid, and of the two grids beside
// the panels (user interface items, world elements), edited the way typing
// reaches it, saved, reopened into a fresh document and fresh panels, and
// read back cell by cell. Then the references other groups hold on a group
// whose rows are deleted, moved and swapped, across a save and reopen.

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/CellValue.h"
#include "grid/ui/CItemsGrid.h"
#include "grid/ui/CItemsGridDrops.h"
#include "kinds/CItemKinds.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/binaryfiles/CBinaryFileImport.h"
#include "kinds/bitmaps/CBitmapInsertion.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/sounds/CMVT_WavMemory.h"
#include "kinds/trajectories/Trajectory.h"
#include "kinds/ui/CKindPanels.h"
#include "kinds/userinterfaces/ui/CUserInterfaceItemsView.h"
#include "kinds/userinterfaces/ui/CUserInterfacesPanel.h"
#include "kinds/worlds/GameWorld.h"
#include "kinds/worlds/WorldElement.h"
#include "kinds/worlds/ui/CWorldElementsView.h"
#include "kinds/worlds/ui/CWorldsPanel.h"
#include "ui/ShellFakes.h"
#include "ui/UiFakes.h"

#include <QApplication>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QSplitter>
#include <QUrl>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Cell texts in failure messages as text rather than bytes.
static void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {
constexpr int kLead = CItemsGrid::kLeadingColumns;
// Every group gets two rows (and every side grid two rows); only the second
// is edited, and the first must read the same before and after the edits.
constexpr int kEditedRow = 1;

const char* groupName(int group)
{
    static const char* const names[kGroupCount] = {"Texts", "Bitmaps", "Sounds", "Animations", "Trajectories",
                                                   "Maps", "Colors", "BinaryFiles", "UserInterfaces", "Worlds"};
    return group >= 0 && group < kGroupCount ? names[group] : "?";
}

// --- the grids of a panel, read and typed into the same way ---------------

enum class Side { Main, InterfaceItems, WorldElements };

const char* sideName(Side side)
{
    switch (side) {
    case Side::Main: return "grid";
    case Side::InterfaceItems: return "user interface items";
    case Side::WorldElements: return "world elements";
    }
    return "?";
}

class GridAccess {
public:
    virtual ~GridAccess() = default;
    virtual int columnCount() const = 0;
    virtual int rowCount() const = 0;
    virtual QString header(int column) const = 0;
    virtual bool editable(int column, int row) const = 0;
    virtual QString text(int column, int row) const = 0;
    // What typing `typed` into the cell and confirming it does.
    virtual void type(int column, int row, const QString& typed) = 0;
    // Adds a row the way the grid's own insert does; false if it cannot.
    virtual bool insertRow() = 0;

    int columnNamed(const QString& title) const
    {
        for (int c = 0; c < columnCount(); ++c)
            if (header(c) == title)
                return c;
        return -1;
    }
};

// The group's own grid, editor columns only (the row number and the mark
// are not document data).
class MainGrid : public GridAccess {
public:
    explicit MainGrid(CItemsGrid& grid) : m_grid(grid) {}
    int columnCount() const override { return m_grid.editorColumnCount(); }
    int rowCount() const override { return m_grid.rowCount(); }
    QString header(int column) const override { return m_grid.editorHeader(column); }
    bool editable(int column, int) const override { return m_grid.editorCellEditable(column); }
    QString text(int column, int row) const override { return m_grid.gridCellText(kLead + column, row); }
    void type(int column, int row, const QString& typed) override
    {
        // A typed cell's editor reads the text into the cell's value and
        // hands the value over; a plain cell hands the text over.
        CellValue value;
        if (m_grid.editorCellValue(column, row, value)) {
            ASSERT_EQ(value.setFromText(typed.toStdString()), 1) << "the cell's kind does not read that text";
            m_grid.editCellValue(kLead + column, row, value);
        } else {
            m_grid.editCell(kLead + column, row, typed);
        }
    }
    bool insertRow() override { return false; }

private:
    CItemsGrid& m_grid;
};

// Both side grids put their rows in a table model; typing stores through it.
class InterfaceItemsGrid : public GridAccess {
public:
    explicit InterfaceItemsGrid(CUserInterfaceItemsView& view) : m_view(view) {}
    int columnCount() const override { return CUserInterfaceItemsView::ColumnCount; }
    int rowCount() const override { return m_view.table()->model()->rowCount(); }
    QString header(int column) const override { return CUserInterfaceItemsView::header(column); }
    bool editable(int column, int row) const override
    {
        return m_view.table()->model()->flags(m_view.table()->model()->index(row, column)).testFlag(Qt::ItemIsEditable);
    }
    QString text(int column, int row) const override
    {
        return m_view.table()->model()->index(row, column).data(Qt::DisplayRole).toString();
    }
    void type(int column, int row, const QString& typed) override
    {
        QAbstractItemModel* model = m_view.table()->model();
        model->setData(model->index(row, column), typed, Qt::EditRole);
    }
    bool insertRow() override { return m_view.insertItem() >= 0; }

private:
    CUserInterfaceItemsView& m_view;
};

class WorldElementsGrid : public GridAccess {
public:
    explicit WorldElementsGrid(CWorldElementsView& view) : m_view(view) {}
    int columnCount() const override { return CWorldElementsView::ColumnCount; }
    int rowCount() const override { return m_view.table()->model()->rowCount(); }
    QString header(int column) const override { return CWorldElementsView::header(column); }
    bool editable(int column, int row) const override
    {
        return m_view.table()->model()->flags(m_view.table()->model()->index(row, column)).testFlag(Qt::ItemIsEditable);
    }
    QString text(int column, int row) const override
    {
        return m_view.table()->model()->index(row, column).data(Qt::DisplayRole).toString();
    }
    // The elements' cell editor reads the typed text into the cell's value
    // and hands the value to the view's edit: editCellText is that path.
    void type(int column, int row, const QString& typed) override { m_view.editCellText(column, row, typed); }
    bool insertRow() override { return m_view.insertElement() >= 0; }

private:
    CWorldElementsView& m_view;
};

std::map<Side, std::unique_ptr<GridAccess>> gridsOf(CItemsGrid& panel)
{
    std::map<Side, std::unique_ptr<GridAccess>> grids;
    grids[Side::Main] = std::make_unique<MainGrid>(panel);
    if (auto* interfaces = dynamic_cast<CUserInterfacesPanel*>(&panel))
        grids[Side::InterfaceItems] = std::make_unique<InterfaceItemsGrid>(*interfaces->itemsView());
    if (auto* worlds = dynamic_cast<CWorldsPanel*>(&panel))
        grids[Side::WorldElements] = std::make_unique<WorldElementsGrid>(*worlds->elementsView());
    return grids;
}

// --- what is typed, and what the cell must show afterwards ---------------

struct Edit {
    int group;
    Side side;
    const char* column; // its header
    const char* typed;
    // What the cell shows after the edit and after reopening; nullptr for a
    // column whose edit is taken (or refused) without changing the cell.
    const char* shown;
};

// Typed values differ from the seeded ones and from one another, so that a
// lost edit, or a field written into its neighbour, shows.
const Edit kEdits[] = {
    {GroupTexts, Side::Main, "ID", "greeting", "greeting"},
    {GroupTexts, Side::Main, "Text", "Hello [player],\r\nwelcome to the café", "Hello [player],\r\nwelcome to the café"},
    {GroupTexts, Side::Main, "Comments", "title screen", "title screen"},

    {GroupColors, Side::Main, "ID", "sky", "sky"},
    {GroupColors, Side::Main, "Color", "(80)  12 34 56", "(80)  12 34 56"},
    {GroupColors, Side::Main, "Comments", "half transparent", "half transparent"},

    {GroupBinaryFiles, Side::Main, "ID", "level data", "level data"},
    {GroupBinaryFiles, Side::Main, "Source Filename", "levels/one.bin", "levels/one.bin"},
    {GroupBinaryFiles, Side::Main, "Comments", "packed", "packed"},

    {GroupSounds, Side::Main, "ID", "drum", "drum"},
    {GroupSounds, Side::Main, "Comments", "kick", "kick"},

    {GroupBitmaps, Side::Main, "ID", "hero", "hero"},
    {GroupBitmaps, Side::Main, "Type", "MFC CRgn - Painting Region", nullptr},
    {GroupBitmaps, Side::Main, "Offset X", "12.5", "+12.5"},
    {GroupBitmaps, Side::Main, "Offset Y", "-3", "-3"},
    {GroupBitmaps, Side::Main, "Source Filename", "art/hero.png", "art/hero.png"},
    {GroupBitmaps, Side::Main, "Comments", "main character", "main character"},

    {GroupAnimations, Side::Main, "ID", "run", "run"},
    {GroupAnimations, Side::Main, "Play Mode", "Backward and Forward Once", "Backward and Forward Once"},
    {GroupAnimations, Side::Main, "Comments", "fast", "fast"},

    {GroupMaps, Side::Main, "ID", "level", "level"},
    // The seeded map holds a type only a file can hold; the list's one entry
    // puts it right.
    {GroupMaps, Side::Main, "Type", "Grid of Bitmaps", "Grid of Bitmaps"},
    {GroupMaps, Side::Main, "Nb Columns", "13", "+13"},
    {GroupMaps, Side::Main, "Nb Lines", "11", "+11"},
    {GroupMaps, Side::Main, "Size X", "16", "+16"},
    {GroupMaps, Side::Main, "Size Y", "8", "+8"},
    {GroupMaps, Side::Main, "Comments", "first level", "first level"},

    {GroupTrajectories, Side::Main, "ID", "orbit", "orbit"},
    {GroupTrajectories, Side::Main, "Type", "Collision Test", "Collision Test"},
    {GroupTrajectories, Side::Main, "Closed Shape", "Yes", "Yes"},
    {GroupTrajectories, Side::Main, "Play Mode", "Forward and Backward Loop", "Forward and Backward Loop"},
    {GroupTrajectories, Side::Main, "Play Speed", "20000", "+10000"},
    {GroupTrajectories, Side::Main, "Offset X", "-7", "-7"},
    {GroupTrajectories, Side::Main, "Offset Y", "21", "+21"},
    {GroupTrajectories, Side::Main, "Comments", "moon path", "moon path"},

    {GroupUserInterfaces, Side::Main, "ID", "options", "options"},
    {GroupUserInterfaces, Side::Main, "Type", "Parameters", "Parameters"},
    {GroupUserInterfaces, Side::Main, "Comments", "settings page", "settings page"},
    {GroupUserInterfaces, Side::InterfaceItems, "ID", "volume", "volume"},
    {GroupUserInterfaces, Side::InterfaceItems, "Type", "Floating Number", "Floating Number"},
    {GroupUserInterfaces, Side::InterfaceItems, "Title", "Volume (dB) ±", "Volume (dB) ±"},
    {GroupUserInterfaces, Side::InterfaceItems, "Default Value", "0.5", "0.5"},
    {GroupUserInterfaces, Side::InterfaceItems, "Minimum Value", "-1", "-1"},
    {GroupUserInterfaces, Side::InterfaceItems, "Maximum Value", "2.5", "2.5"},
    {GroupUserInterfaces, Side::InterfaceItems, "Level", "3", "3"},
    {GroupUserInterfaces, Side::InterfaceItems, "Image", "icon_volume", "icon_volume"},
    {GroupUserInterfaces, Side::InterfaceItems, "States", "mute=0\r\nloud=1", "mute=0\r\nloud=1"},
    {GroupUserInterfaces, Side::InterfaceItems, "Help Text", "Sound level", "Sound level"},
    {GroupUserInterfaces, Side::InterfaceItems, "Comments", "slider", "slider"},

    {GroupWorlds, Side::Main, "ID", "forest", "forest"},
    {GroupWorlds, Side::Main, "Type", "Sort Offsets Y", "Sort Offsets Y"},
    {GroupWorlds, Side::Main, "Play Offset", "4.25", "+4.25"},
    {GroupWorlds, Side::Main, "Play Speed", "-250", "-250"},
    {GroupWorlds, Side::Main, "Offset X", "-40", "-40"},
    {GroupWorlds, Side::Main, "Offset Y", "64", "+64"},
    {GroupWorlds, Side::Main, "Comments", "north", "north"},
    {GroupWorlds, Side::WorldElements, "ID", "tree", "tree"},
    {GroupWorlds, Side::WorldElements, "Show", "No", "No"},
    {GroupWorlds, Side::WorldElements, "Play", "No", "No"},
    {GroupWorlds, Side::WorldElements, "Play Offset", "1.5", "+1.5"},
    {GroupWorlds, Side::WorldElements, "Play Speed", "-50", "-50"},
    {GroupWorlds, Side::WorldElements, "Offset X", "10.5", "+10.5"},
    {GroupWorlds, Side::WorldElements, "Offset Y", "-20.25", "-20.25"},
    // The type first: the index cell takes the kind of the new type.
    {GroupWorlds, Side::WorldElements, "Object\nType", "Map", "Map"},
    {GroupWorlds, Side::WorldElements, "Object\nIndex", "1", "+1"},
    {GroupWorlds, Side::WorldElements, "Object\nPlay Offset", "2.5", "+2.5"},
    {GroupWorlds, Side::WorldElements, "Object\nPlay Speed", "75", "+75"},
    {GroupWorlds, Side::WorldElements, "Trajectory\nIndex", "2", "+2"},
    {GroupWorlds, Side::WorldElements, "Trajectory\nPlay Offset", "3.5", "+3.5"},
    {GroupWorlds, Side::WorldElements, "Trajectory\nPlay Speed", "125", "+125"},
    {GroupWorlds, Side::WorldElements, "Comments", "chêne", "chêne"},
};

// Editable cells that are not document data, so not expected to survive.
struct NotSaved {
    int group;
    Side side;
    const char* column;
};
// What the sound player is doing with the item: "Play" drives the player.
const NotSaved kNotSaved[] = {{GroupSounds, Side::Main, "Play"}};

bool isNotSaved(int group, Side side, const QString& column)
{
    for (const NotSaved& n : kNotSaved)
        if (n.group == group && n.side == side && column == QLatin1String(n.column))
            return true;
    return false;
}

std::vector<Edit> editsOf(int group)
{
    std::vector<Edit> edits;
    for (const Edit& e : kEdits)
        if (e.group == group)
            edits.push_back(e);
    return edits;
}

// --- a document with two rows in the group under test ----------------------

// Rows with content (a picture, data, samples, points) rather than empty
// records: the reopened document is compared on every column, not only the
// edited ones.
void seedGroup(CResourceHolder& holder, int group, const TempFolder& folder)
{
    switch (group) {
    case GroupBitmaps: {
        std::vector<std::string> paths;
        for (int i = 0; i < 2; ++i) {
            QImage image(3 + i, 2 + 2 * i, QImage::Format_ARGB32);
            image.fill(qRgba(40 * i, 200, 10, 255));
            paths.push_back(folder.path("picture" + std::to_string(i) + ".png"));
            ASSERT_TRUE(image.save(QString::fromStdString(paths.back()), "PNG"));
        }
        ASSERT_EQ(CBitmapInsertion::insertImages(holder, paths).size(), 2u);
        return;
    }
    case GroupBinaryFiles: {
        std::vector<std::string> paths;
        for (int i = 0; i < 2; ++i) {
            paths.push_back(folder.path("data" + std::to_string(i) + ".bin"));
            writeAll(paths.back(), QByteArray(100 + 1436 * i, static_cast<char>('a' + i)));
        }
        ASSERT_GE(CBinaryFileImport::insertFiles(holder, paths), 1);
        ASSERT_EQ(holder.count(GroupBinaryFiles), 2);
        return;
    }
    default: break;
    }
    for (int i = 0; i < 2; ++i)
        ASSERT_EQ(holder.newItem(group, "seed" + std::to_string(i)), i);
    if (group == GroupSounds) {
        for (int i = 0; i < 2; ++i) {
            auto* sound = dynamic_cast<CMVT_WavMemory*>(holder.get(group, i));
            ASSERT_NE(sound, nullptr);
            ASSERT_EQ(sound->setSamples(16, 1 + i, 22050, QByteArray(400 * (1 + i), '\x10')), 1);
        }
    } else if (group == GroupMaps) {
        auto* map = dynamic_cast<CMapItem*>(holder.get(group, kEditedRow));
        ASSERT_NE(map, nullptr);
        map->setMapType(3);
    } else if (group == GroupTrajectories) {
        for (int i = 0; i < 2; ++i) {
            auto* path = dynamic_cast<Trajectory*>(holder.get(group, i));
            ASSERT_NE(path, nullptr);
            for (int p = 0; p < 3 + i; ++p)
                path->AddPoint(10.0 * p, 5.0 * p * p);
        }
    }
}

using Snapshot = std::map<Side, std::vector<std::vector<QString>>>;

Snapshot snapshot(const std::map<Side, std::unique_ptr<GridAccess>>& grids)
{
    Snapshot shot;
    for (const auto& [side, grid] : grids)
        for (int row = 0; row < grid->rowCount(); ++row) {
            shot[side].emplace_back();
            for (int c = 0; c < grid->columnCount(); ++c)
                shot[side].back().push_back(grid->text(c, row));
        }
    return shot;
}

// A panel of the group on `holder`, its edited row current so that the side
// grids show that row's items.
std::unique_ptr<CItemsGrid> openPanel(int group, CResourceHolder& holder, RecordingPanelHost& host)
{
    std::unique_ptr<CItemsGrid> panel(createKindPanel(group));
    panel->attach(&holder, &host);
    panel->selectRow(kEditedRow);
    panel->reloadEditorView();
    return panel;
}

class GridRoundTrip : public ::testing::TestWithParam<int> {
protected:
    TempFolder folder;
    ScriptedUi ui;
    RecordingPanelHost host;
};
} // namespace

TEST_P(GridRoundTrip, EveryEditableColumnKeepsItsEditAfterSaveAndReopen)
{
    const int group = GetParam();
    auto holder = createDocumentHolder();
    seedGroup(*holder, group, folder);
    if (HasFatalFailure())
        return;
    auto panel = openPanel(group, *holder, host);
    auto grids = gridsOf(*panel);

    // Two rows in each side grid too, added by the grid's own insert.
    for (auto& [side, grid] : grids)
        if (side != Side::Main) {
            ASSERT_TRUE(grid->insertRow()) << sideName(side);
            ASSERT_TRUE(grid->insertRow()) << sideName(side);
            ASSERT_EQ(grid->rowCount(), 2) << sideName(side);
        }

    const Snapshot seeded = snapshot(grids);
    const std::vector<Edit> edits = editsOf(group);
    ASSERT_FALSE(edits.empty());
    std::map<std::pair<Side, int>, QString> expected;
    for (const Edit& e : edits) {
        GridAccess& grid = *grids.at(e.side);
        const int column = grid.columnNamed(QString::fromLatin1(e.column));
        SCOPED_TRACE(::testing::Message() << groupName(group) << " " << sideName(e.side) << ", column \""
                                          << e.column << "\", typed \"" << e.typed << "\"");
        ASSERT_GE(column, 0) << "no such column";
        ASSERT_TRUE(grid.editable(column, kEditedRow)) << "the column is not editable";
        const QString before = grid.text(column, kEditedRow);
        const QString shown = e.shown ? QString::fromUtf8(e.shown) : before;
        if (e.shown) {
            ASSERT_NE(before, shown) << "the seeded row already shows the edit: it would prove nothing";
        }
        grid.type(column, kEditedRow, QString::fromUtf8(e.typed));
        EXPECT_EQ(grid.text(column, kEditedRow), shown) << "right after the edit";
        expected[{e.side, column}] = shown;
    }
    EXPECT_GT(host.modified, 0) << "edits mark the document modified";

    // Every editable column is in the table (or is known not to be data):
    // a column added later without a round trip fails here.
    for (const auto& [side, grid] : grids)
        for (int c = 0; c < grid->columnCount(); ++c)
            if (grid->editable(c, kEditedRow) && !isNotSaved(group, side, grid->header(c))) {
                EXPECT_TRUE(expected.count({side, c}))
                    << groupName(group) << " " << sideName(side) << ": editable column \""
                    << grid->header(c).toStdString() << "\" has no edit in the round trip";
            }

    // A later edit of the same row must not have undone an earlier one.
    for (const auto& [cell, text] : expected)
        EXPECT_EQ(grids.at(cell.first)->text(cell.second, kEditedRow), text)
            << groupName(group) << " " << sideName(cell.first) << ", column \""
            << grids.at(cell.first)->header(cell.second).toStdString() << "\" after all the edits";

    const Snapshot saved = snapshot(grids);
    for (const auto& [side, rows] : seeded)
        for (std::size_t c = 0; c < rows.front().size(); ++c)
            EXPECT_EQ(saved.at(side).front()[c], rows.front()[c])
                << groupName(group) << " " << sideName(side) << ": the row not edited changed in column \""
                << grids.at(side)->header(static_cast<int>(c)).toStdString() << "\"";

    const std::string path = folder.path("roundtrip.mrc");
    ASSERT_EQ(holder->save(path), 1);

    auto reopened = createDocumentHolder();
    ASSERT_EQ(reopened->load(path), 1);
    RecordingPanelHost freshHost;
    auto freshPanel = openPanel(group, *reopened, freshHost);
    auto freshGrids = gridsOf(*freshPanel);
    const Snapshot read = snapshot(freshGrids);

    for (const auto& [cell, text] : expected)
        EXPECT_EQ(freshGrids.at(cell.first)->text(cell.second, kEditedRow), text)
            << groupName(group) << " " << sideName(cell.first) << ", column \""
            << freshGrids.at(cell.first)->header(cell.second).toStdString() << "\": the edit is lost on reopening";
    // Every other cell, of both rows, reads back as it was saved.
    for (const auto& [side, rows] : saved) {
        ASSERT_EQ(read.count(side), 1u) << sideName(side);
        ASSERT_EQ(read.at(side).size(), rows.size()) << groupName(group) << " " << sideName(side) << " rows";
        for (std::size_t row = 0; row < rows.size(); ++row)
            for (std::size_t c = 0; c < rows[row].size(); ++c)
                EXPECT_EQ(read.at(side)[row][c], rows[row][c])
                    << groupName(group) << " " << sideName(side) << ", row " << row << ", column \""
                    << grids.at(side)->header(static_cast<int>(c)).toStdString() << "\"";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryGroup, GridRoundTrip,
                         ::testing::Values(GroupTexts, GroupBitmaps, GroupSounds, GroupAnimations, GroupTrajectories,
                                           GroupMaps, GroupColors, GroupBinaryFiles, GroupUserInterfaces,
                                           GroupWorlds),
                         [](const ::testing::TestParamInfo<int>& info) { return std::string(groupName(info.param)); });

// --- references across a delete, a move and a swap -------------------------

namespace {
// What refers to the rows of one group: `point` makes referrers (in groups
// other than the one shuffled, or in a row of it that stays put) aiming at
// each of `targets`; `read` gives their values back in the same order.
struct Referrers {
    int group;
    std::function<void(CResourceHolder&, const std::vector<int>& targets)> point;
    std::function<std::vector<int>(const CResourceHolder&)> read;
};

constexpr const char* kHub = "hub";

GameWorld* worldNamed(const CResourceHolder& holder, const std::string& id)
{
    return dynamic_cast<GameWorld*>(holder.findItem(GroupWorlds, id));
}

// A world "hub" whose elements refer to the targets: as objects of `type`,
// or (type -1) through their trajectory.
Referrers elementsReferring(int group, std::int32_t type)
{
    return {group,
            [type](CResourceHolder& holder, const std::vector<int>& targets) {
                holder.newItem(GroupWorlds, kHub);
                GameWorld* hub = worldNamed(holder, kHub);
                ASSERT_NE(hub, nullptr);
                for (int target : targets) {
                    WorldElement* e = hub->elementAt(hub->addElement("element"));
                    ASSERT_NE(e, nullptr);
                    if (type < 0) {
                        e->trajectoryIndex = target;
                    } else {
                        e->objectType = type;
                        e->objectIndex = target;
                    }
                }
            },
            [type](const CResourceHolder& holder) {
                std::vector<int> values;
                if (const GameWorld* hub = worldNamed(holder, kHub))
                    for (int i = 0; i < hub->elementCount(); ++i)
                        values.push_back(type < 0 ? hub->elementAt(i)->trajectoryIndex : hub->elementAt(i)->objectIndex);
                return values;
            }};
}

// Bitmaps are named by animation frames and map cells as well as by world
// elements.
Referrers bitmapReferrers()
{
    const Referrers elements = elementsReferring(GroupBitmaps, WorldObjectBitmap);
    return {GroupBitmaps,
            [elements](CResourceHolder& holder, const std::vector<int>& targets) {
                auto* animation = dynamic_cast<CAnimationItem*>(holder.get(GroupAnimations,
                                                                           holder.newItem(GroupAnimations, "frames")));
                auto* map = dynamic_cast<CMapItem*>(holder.get(GroupMaps, holder.newItem(GroupMaps, "cells")));
                ASSERT_NE(animation, nullptr);
                ASSERT_NE(map, nullptr);
                for (std::size_t k = 0; k < targets.size(); ++k) {
                    animation->addFrame(targets[k]);
                    map->setCell(static_cast<int>(k), 1, targets[k]);
                }
                elements.point(holder, targets);
            },
            [elements](const CResourceHolder& holder) {
                std::vector<int> values;
                const auto* animation = dynamic_cast<const CAnimationItem*>(holder.findItem(GroupAnimations, "frames"));
                const auto* map = dynamic_cast<const CMapItem*>(holder.findItem(GroupMaps, "cells"));
                if (!animation || !map)
                    return values;
                for (int k = 0; k < animation->frameCount(); ++k)
                    values.push_back(animation->frame(k)->bitmap);
                const int frames = animation->frameCount();
                for (int k = 0; k < frames; ++k)
                    values.push_back(map->cell(k, 1));
                for (int v : elements.read(holder))
                    values.push_back(v);
                return values;
            }};
}

class ReferenceKeeping : public ::testing::TestWithParam<int> {
protected:
    static Referrers referrersOf(int group)
    {
        switch (group) {
        case GroupBitmaps: return bitmapReferrers();
        case GroupAnimations: return elementsReferring(group, WorldObjectAnimation);
        case GroupMaps: return elementsReferring(group, WorldObjectMap);
        case GroupTrajectories: return elementsReferring(group, -1);
        default: return elementsReferring(group, WorldObjectWorldReference);
        }
    }
    static std::string idAt(const CResourceHolder& holder, int group, int index)
    {
        const CResourceItem* item = holder.get(group, index);
        return item ? item->id() : std::string();
    }

    TempFolder folder;
    ScriptedUi ui;
    RecordingPanelHost host;
};
} // namespace

TEST_P(ReferenceKeeping, ReferencesFollowDeleteMoveAndSwapThroughSaveAndReopen)
{
    const int group = GetParam();
    const Referrers referrers = referrersOf(group);
    auto holder = createDocumentHolder();
    for (int i = 0; i < 5; ++i)
        holder->newItem(group, "row" + std::to_string(i));
    // Row 0 is deleted, and the delete, the move and the swap below leave
    // no other row where it was: every reference has to change.
    const std::vector<int> targets{0, 1, 2, 3, 4};
    referrers.point(*holder, targets);
    if (HasFatalFailure())
        return;
    std::vector<std::string> targetIds;
    for (int target : targets)
        targetIds.push_back(idAt(*holder, group, target));
    ASSERT_EQ(referrers.read(*holder).size() % targets.size(), 0u);

    std::unique_ptr<CItemsGrid> panel(createKindPanel(group));
    panel->attach(holder.get(), &host);
    host.maintain = true;
    panel->setCurrentCell(kLead, 0);
    ASSERT_TRUE(panel->runCommand(CItemsGrid::CmdDelete));
    panel->setCurrentCell(kLead, 0);
    ASSERT_TRUE(panel->runCommand(CItemsGrid::CmdMoveDown));
    // Sorting two rows the wrong way round swaps them.
    const int idColumn = MainGrid(*panel).columnNamed(QStringLiteral("ID"));
    ASSERT_GE(idColumn, 0);
    panel->setCurrentCell(kLead + idColumn, 1);
    panel->setMarked(2, true);
    ASSERT_TRUE(panel->runCommand(CItemsGrid::CmdSortDescending));
    std::vector<std::string> order;
    for (int i = 0; i < 4; ++i)
        order.push_back(idAt(*holder, group, i));
    ASSERT_EQ(order, (std::vector<std::string>{"row2", "row3", "row1", "row4"}))
        << groupName(group) << ": the delete, move and swap did not take place";

    const std::string path = folder.path("references.mrc");
    ASSERT_EQ(holder->save(path), 1);
    auto reopened = createDocumentHolder();
    ASSERT_EQ(reopened->load(path), 1);
    const std::vector<int> values = referrers.read(*reopened);
    ASSERT_EQ(values.size(), referrers.read(*holder).size()) << "referrers lost on reopening";
    for (std::size_t k = 0; k < values.size(); ++k) {
        const std::string& id = targetIds[k % targets.size()];
        SCOPED_TRACE(::testing::Message() << groupName(group) << ": reference " << k << " made to \"" << id << "\"");
        if (reopened->findById(group, id) < 0) {
            EXPECT_EQ(values[k], -1) << "a reference to a deleted row becomes none";
        } else {
            EXPECT_EQ(idAt(*reopened, group, values[k]), id);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ReferencedGroups, ReferenceKeeping,
                         ::testing::Values(GroupBitmaps, GroupAnimations, GroupMaps, GroupTrajectories, GroupWorlds),
                         [](const ::testing::TestParamInfo<int>& info) { return std::string(groupName(info.param)); });

// Rows measured while the panel was hidden, with the columns not yet sized,
// came out taller and shrank under the first click: a double click then
// hit the row below the one aimed at.
TEST(PanelRows, HeightsAreSettledBeforeTheFirstShowingAndStayUnderClicks)
{
    ScriptedUi ui;
    const struct {
        int group;
        std::function<void(CResourceItem&)> fill;
    } panels[] = {
        {GroupSounds,
         [](CResourceItem& item) { dynamic_cast<CMVT_WavMemory&>(item).setSamples(16, 2, 22050, QByteArray(4000, 0)); }},
        {GroupColors, [](CResourceItem&) {}},
        {GroupTexts, [](CResourceItem&) {}},
    };
    for (const auto& p : panels) {
        auto holder = createDocumentHolder();
        for (const char* id : {"Sun", "Shadow", "Sky", "Sea"})
            p.fill(*holder->get(p.group, holder->newItem(p.group, id)));
        RecordingPanelHost host;
        std::unique_ptr<CItemsGrid> panel(createKindPanel(p.group));
        panel->attach(holder.get(), &host);
        QTableView& table = *panel->table();
        auto heights = [&] {
            std::vector<int> out;
            for (int row = 0; row < panel->rowCount(); ++row)
                out.push_back(table.rowHeight(row));
            return out;
        };
        const std::vector<int> settled = heights();
        panel->resize(1100, 500);
        panel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
        EXPECT_EQ(heights(), settled) << groupName(p.group) << ": shown";
        const QRect cell = table.visualRect(table.model()->index(1, kLead));
        QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, cell.center());
        panel->refresh();
        EXPECT_EQ(heights(), settled) << groupName(p.group) << ": clicked and measured again";
        EXPECT_EQ(table.rowAt(cell.center().y()), 1) << groupName(p.group);
    }
}

// Files dragged from a file manager arrive as URLs at whatever widget is
// under the pointer; the toolkit offers them up the parents to the first that
// takes them.
TEST(PanelDrops, FilesDroppedOnAPanelAreInsertedWhereverTheyLand)
{
    ScriptedUi ui;
    TempFolder folder;
    const std::string wav = folder.path("drum.wav");
    // 100 frames of 16-bit mono silence.
    writeAll(wav, QByteArray::fromHex("52494646ec00000057415645666d74201000000001000100225600004"
                                      "4ac0000020010006461746" "1c8000000")
                      + QByteArray(200, 0));
    const std::string png = folder.path("dot.png");
    QImage(4, 4, QImage::Format_ARGB32).save(QString::fromStdString(png));
    const std::string data = folder.path("level.bin");
    writeAll(data, "level data");

    const struct {
        int group;
        std::string file;
        int rowsAdded;
        std::vector<std::string> messages;
    } drops[] = {
        {GroupSounds, wav, 1, {}},
        {GroupBitmaps, png, 1, {}},
        {GroupBinaryFiles, data, 1, {}},
        {GroupTexts, data, 0, {CItemsGridDrops::kRefusesFiles}},
    };
    for (const auto& drop : drops) {
        for (const bool onTheView : {false, true}) {
            ui.prompter.messages.clear();
            auto holder = createDocumentHolder();
            RecordingPanelHost host;
            std::unique_ptr<CItemsGrid> panel(createKindPanel(drop.group));
            panel->attach(holder.get(), &host);
            panel->resize(900, 500);
            panel->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
            QWidget* pane = onTheView ? panel->splitter()->widget(1) : panel->table()->viewport();
            const QPoint at = pane->rect().center();
            QWidget* target = pane->childAt(at) ? pane->childAt(at) : pane;
            const QPoint local = target->mapFrom(pane, at);
            QMimeData mime;
            mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(drop.file))});
            QDragEnterEvent enter(local, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &enter);
            QDropEvent dropped(local, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &dropped);
            const std::string where = std::string(groupName(drop.group)) + (onTheView ? " view" : " grid");
            EXPECT_EQ(panel->rowCount(), drop.rowsAdded) << where;
            EXPECT_EQ(panel->table()->model()->rowCount(), drop.rowsAdded) << where << ": the grid shows it";
            EXPECT_EQ(ui.prompter.messages, drop.messages) << where;
            EXPECT_EQ(host.modified, drop.rowsAdded) << where;
        }
    }
}
