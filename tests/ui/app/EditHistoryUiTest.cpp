// Undo and redo through the panels' own edit paths: every kind of edit is a
// step, undoing all of them gives back the opened document's records, the
// modified mark follows the saved point, and the main frame's Undo and Redo
// say what they will do.
#include "app/CEditHistoryWindow.h"
#include "core/CDocumentHistory.h"
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "document/CQuillopDoc.h"
#include "document/CQuillopView.h"
#include "grid/CItemsMime.h"
#include "kinds/CItemKinds.h"
#include "grid/ui/CItemsDropTarget.h"
#include "grid/ui/CItemsGrid.h"
#include "kinds/animations/CAnimationItem.h"
#include "support/TestSupport.h"
#include "ui/app/OpenedDemo.h"
#include "kinds/animations/ui/CAnimationFrameEditor.h"
#include "kinds/animations/ui/CAnimationsPanel.h"
#include "kinds/worlds/ui/CWorldElementsView.h"
#include "kinds/worlds/ui/CWorldsPanel.h"
#include "kinds/bitmaps/ui/CBitmapOffsetPane.h"
#include "kinds/bitmaps/ui/CBitmapsPanel.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/maps/ui/CMapCanvas.h"
#include "kinds/maps/ui/CMapEditor.h"
#include "kinds/maps/ui/CMapsPanel.h"
#include "kinds/trajectories/ui/CTrajectoriesPanel.h"
#include "kinds/trajectories/ui/TrajectoryPlayer.h"
#include "grid/ui/CIndexList.h"
#include "grid/ui/CItemPickerDialog.h"
#include "kinds/worlds/GameWorld.h"
#include "kinds/worlds/WorldElement.h"
#include "kinds/worlds/WorldInstance.h"
#include "kinds/worlds/ui/CWorldPreview.h"
#include "grid/ui/CZoomView.h"
#include "ui/MouseEvents.h"
#include "support/ItemBytes.h"
#include "ui/UiFakes.h"

#include <QApplication>
#include <QImage>
#include <QMimeData>
#include <QUrl>
#include <QLabel>
#include <QMenu>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QHeaderView>
#include <QTableView>
#include <QTimer>
#include <QUndoStack>
#include <QUndoView>
#include <gtest/gtest.h>

#include <random>

namespace {
// Whatever dialog or menu a command opens is closed at once, as a user who
// cancels would.
class CancelEveryDialog {
public:
    CancelEveryDialog()
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [] {
            if (QWidget* popup = QApplication::activePopupWidget())
                popup->close();
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        m_timer.start();
    }

private:
    QTimer m_timer;
};

// The editor commands a panel's menu offers now.
std::vector<int> editorCommands(CItemsGrid& grid)
{
    QMenu menu;
    grid.fillContextMenu(menu);
    std::vector<int> commands;
    for (QAction* action : menu.findChildren<QAction*>())
        if (action->isEnabled() && action->data().toInt() >= CItemsGrid::kEditorBase)
            commands.push_back(action->data().toInt());
    return commands;
}

} // namespace

TEST(EditHistoryUi, SeededEditsThroughThePanelsUndoToTheOpenedRecordsAndRedoToTheEdited)
{
    OpenedDemo demo;
    CancelEveryDialog cancel;
    const QByteArray original = documentRecords(demo.document.holder());
    std::mt19937 random(1717);
    auto pick = [&](int n) { return n > 0 ? static_cast<int>(random() % static_cast<unsigned>(n)) : 0; };
    for (int round = 0; round < 300; ++round) {
        const int panel = pick(CQuillopView::kPanelCount);
        demo.view.showPanel(panel, false);
        CItemsGrid& grid = *demo.view.panel(panel);
        const int rows = grid.rowCount();
        grid.selectNone();
        for (int marks = pick(3); marks > 0 && rows > 0; --marks)
            grid.setMarked(pick(rows), true);
        if (rows > 0)
            grid.setCurrentCell(CItemsGrid::kLeadingColumns, pick(rows));
        switch (pick(10)) {
        case 0: grid.insertItem(); break;
        case 1:
            if (rows > 3)
                grid.deleteItems();
            break;
        case 2: grid.moveUp(); break;
        case 3: grid.moveDown(); break;
        case 4: grid.groupItems(); break;
        case 5: grid.sortItems(pick(2) == 0); break;
        case 6:
        case 7:
            if (rows > 0) {
                // Another row's value of the column, or a new text.
                const int column = CItemsGrid::kLeadingColumns + pick(grid.editorColumnCount());
                const QString text = pick(2) ? grid.gridCellText(column, pick(rows)) : QStringLiteral("r%1").arg(round);
                grid.editCell(column, grid.currentItem(), text);
            }
            break;
        case 8: {
            const std::vector<int> commands = editorCommands(grid);
            if (!commands.empty())
                grid.runCommand(commands[static_cast<std::size_t>(pick(static_cast<int>(commands.size())))]);
            break;
        }
        default: {
            CFindOptions& options = CItemsGrid::findOptions();
            options = CFindOptions{};
            options.text = QStringLiteral("e");
            options.replacement = QStringLiteral("E%1").arg(round);
            options.replace = true;
            options.askBeforeReplace = false;
            grid.find();
            break;
        }
        }
    }
    const QByteArray edited = documentRecords(demo.document.holder());
    ASSERT_NE(edited, original);
    EXPECT_GT(demo.document.history().stack().count(), 100);
    EXPECT_TRUE(demo.document.isModified());
    while (demo.document.history().stack().canUndo())
        demo.document.history().stack().undo();
    EXPECT_EQ(documentRecords(demo.document.holder()), original);
    EXPECT_FALSE(demo.document.isModified());
    while (demo.document.history().stack().canRedo())
        demo.document.history().stack().redo();
    EXPECT_EQ(documentRecords(demo.document.holder()), edited);
}

TEST(EditHistoryUi, StepsSayWhatTheyDoAndTheModifiedMarkFollowsTheSavedPoint)
{
    OpenedDemo demo;
    TempFolder folder;
    CItemsGrid& bitmaps = *demo.view.panel(CQuillopView::panelOfGroup(GroupBitmaps));
    const int column = CItemsGrid::kLeadingColumns;  // the ID
    bitmaps.selectRow(0);
    bitmaps.editCell(column, 0, QStringLiteral("first"));
    EXPECT_TRUE(demo.document.isModified());
    ASSERT_EQ(demo.document.saveDocument(QString::fromStdString(folder.path("saved.mrc"))), 1);
    EXPECT_FALSE(demo.document.isModified());

    bitmaps.setMarked(1, true);
    bitmaps.setMarked(2, true);
    bitmaps.deleteItems();
    EXPECT_EQ(demo.document.history().stack().undoText().toStdString(), "Delete 3 Bitmaps");
    EXPECT_TRUE(demo.document.title().endsWith(QLatin1String(CQuillopDoc::kModifiedMark)));

    demo.document.history().stack().undo();
    EXPECT_FALSE(demo.document.isModified()) << "back at the saved point";
    EXPECT_FALSE(demo.document.title().endsWith(QLatin1String(CQuillopDoc::kModifiedMark)));
    EXPECT_EQ(bitmaps.gridCellText(column, 0).toStdString(), "first");
    demo.document.history().stack().undo();
    EXPECT_TRUE(demo.document.isModified());
    EXPECT_EQ(demo.document.history().stack().redoText().toStdString(), "Edit ID of Bitmap");
    demo.document.history().stack().redo();
    EXPECT_FALSE(demo.document.isModified());

    // A change that was not recorded keeps the mark until the next save.
    demo.document.markModified();
    demo.document.history().stack().redo();
    demo.document.history().stack().undo();
    EXPECT_TRUE(demo.document.isModified());

    // Document Properties is a step too.
    ASSERT_EQ(demo.document.applyProperties("Renamed", "New comments", 20, ""), 1);
    EXPECT_EQ(demo.document.history().stack().undoText().toStdString(), "Document Properties");
    demo.document.history().stack().undo();
    EXPECT_NE(demo.document.holder().id(), "Renamed");
}

TEST(EditHistoryUi, FrameEditsAreStepsAndPreviewDragsAreOneStep)
{
    OpenedDemo demo;
    auto& panel = dynamic_cast<CAnimationsPanel&>(*demo.view.panel(CQuillopView::panelOfGroup(GroupAnimations)));
    panel.selectRow(0);
    CAnimationFrameEditor& editor = *panel.frameEditor();
    const QByteArray original = documentRecords(demo.document.holder());
    const int before = demo.document.history().stack().count();
    editor.runCommand(CAnimationFrameEdits::Reverse);
    EXPECT_EQ(demo.document.history().stack().undoText().toStdString(), "Reverse All Indexs Order");
    editor.beginGesture(QStringLiteral("Move Frame Offsets"));
    for (int i = 0; i < 5; ++i)
        editor.moveOffsets(-1, 1, 2);
    editor.endGesture();
    EXPECT_EQ(demo.document.history().stack().count(), before + 2) << "five moves of one drag are one step";
    EXPECT_EQ(demo.document.history().stack().undoText().toStdString(), "Move Frame Offsets");
    demo.document.history().stack().undo();
    demo.document.history().stack().undo();
    EXPECT_EQ(documentRecords(demo.document.holder()), original);
    EXPECT_FALSE(demo.document.isModified());

    // Alt-dragging the current element in the world preview: one step too.
    auto& worlds = dynamic_cast<CWorldsPanel&>(*demo.view.panel(CQuillopView::panelOfGroup(GroupWorlds)));
    worlds.selectRow(0);
    QTableView& elements = *worlds.elementsView()->table();
    elements.setCurrentIndex(elements.model()->index(0, 0));
    QWidget& preview = *worlds.elementsView()->preview();
    auto mouse = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, preview.mapToGlobal(at), Qt::LeftButton, buttons, Qt::AltModifier);
        QApplication::sendEvent(&preview, &event);
    };
    mouse(QEvent::MouseButtonPress, {40, 40}, Qt::LeftButton);
    for (int x = 41; x < 46; ++x)
        mouse(QEvent::MouseMove, {x, 40}, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, {45, 40}, Qt::NoButton);
    EXPECT_EQ(demo.document.history().stack().count(), before + 1) << "five moves of one drag are one step";
    EXPECT_EQ(demo.document.history().stack().undoText().toStdString(), "Move Element Offsets");
    demo.document.history().stack().undo();
    EXPECT_EQ(documentRecords(demo.document.holder()), original);
}

// A world element's object and trajectory picked by name: F4 or a
// double-click opens the picker, part of an ID and Enter choose, the cell
// shows "index - ID", and the pick is one step that undo takes back.
TEST(EditHistoryUi, ReferencesPickedByNameAreOneStepEach)
{
    using V = CWorldElementsView;
    OpenedDemo demo;
    CResourceHolder& holder = demo.document.holder();
    auto& worlds = dynamic_cast<CWorldsPanel&>(*demo.view.panel(CQuillopView::panelOfGroup(GroupWorlds)));
    demo.view.resize(1400, 900);
    demo.view.show();
    demo.view.showPanel(CQuillopView::panelOfGroup(GroupWorlds), false);
    worlds.selectRow(0);
    V& elements = *worlds.elementsView();
    ASSERT_GT(elements.rowTotal(), 0);
    // Undo may give the world back as a new record: the element is looked up afresh.
    auto element = [&]() -> WorldElement& { return *elements.world()->elementAt(0); };
    element().objectType = WorldObjectAnimation;
    for (int group : {GroupAnimations, GroupTrajectories})
        holder.get(group, holder.count(group) - 1)->setId("Zz Target");
    elements.refreshNow();
    const QByteArray opened = documentRecords(holder);
    QTableView& table = *elements.table();
    const struct {
        int column;
        int group;
        bool doubleClick;
        std::int32_t WorldElement::*field;
    } cases[] = {
        {V::ColObjectIndex, GroupAnimations, true, &WorldElement::objectIndex},
        {V::ColTrajectoryIndex, GroupTrajectories, false, &WorldElement::trajectoryIndex},
    };
    for (const auto& c : cases) {
        const int target = holder.count(c.group) - 1;
        const std::int32_t before = element().*c.field;
        ASSERT_NE(before, target);
        const int steps = demo.document.history().stack().index();
        QTimer::singleShot(0, [&] {
            auto* picker = qobject_cast<CItemPickerDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(picker);
            QTest::keyClicks(picker->filterLine(), QStringLiteral("TARGET"));
            QTest::keyClick(picker->filterLine(), Qt::Key_Return);
        });
        const QModelIndex cell = table.model()->index(0, c.column);
        table.setCurrentIndex(cell);
        if (c.doubleClick) {
            table.scrollTo(cell);
            const QPoint at = table.visualRect(cell).center();
            sendMouse(*table.viewport(), QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
            sendMouse(*table.viewport(), QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
            sendMouse(*table.viewport(), QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
            sendMouse(*table.viewport(), QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        } else {
            QTest::keyClick(&table, Qt::Key_F4);
        }
        EXPECT_EQ(element().*c.field, target) << V::header(c.column).toStdString();
        EXPECT_EQ(elements.cellText(c.column, 0), QStringLiteral("%1 - Zz Target").arg(target));
        EXPECT_EQ(demo.document.history().stack().index(), steps + 1) << "one step";
        demo.document.history().stack().undo();
        EXPECT_EQ(element().*c.field, before);
    }
    EXPECT_EQ(documentRecords(holder), opened);
}

// The world preview as a place to work: a click on an element selects it in
// the grid, a drag from it moves it, the arrows nudge it (Shift further),
// Delete removes it; each is one step and undoing them all gives the
// opened document back.
TEST(EditHistoryUi, ThePreviewSelectsMovesNudgesAndDeletesElements)
{
    using V = CWorldElementsView;
    OpenedDemo demo;
    auto& worlds = dynamic_cast<CWorldsPanel&>(*demo.view.panel(CQuillopView::panelOfGroup(GroupWorlds)));
    demo.view.resize(1400, 900);
    demo.view.show();
    demo.view.showPanel(CQuillopView::panelOfGroup(GroupWorlds), false);
    worlds.selectRow(0);
    V& elements = *worlds.elementsView();
    CWorldPreview& preview = *elements.preview();
    QApplication::processEvents();
    preview.view()->oneToOne();
    const QByteArray opened = documentRecords(demo.document.holder());
    // An element drawn on top at its own middle, and that middle on screen.
    int row = -1;
    QRect rect;
    elements.withInstance([&](const WorldInstance& instance) {
        const QPoint o = preview.drawingOffset();
        for (const WorldInstance::Placed& placed : instance.placedElements(o.x(), o.y()))
            if (row < 0 && instance.elementAt(o.x(), o.y(), placed.rect.center()) == placed.element) {
                row = placed.element;
                rect = placed.rect;
            }
    });
    ASSERT_GE(row, 0);
    preview.view()->ensureVisible(QRectF(rect));
    const QPoint at = preview.view()->transform().map(QPointF(rect.center())).toPoint();
    ASSERT_TRUE(preview.rect().contains(at));
    const WorldElement start = *elements.world()->elementAt(row);
    const int count = elements.rowTotal();
    auto offsets = [&] {
        const WorldElement& e = *elements.world()->elementAt(row);
        return QPointF(e.offsetX - start.offsetX, e.offsetY - start.offsetY);
    };
    const struct {
        const char* what;
        std::function<void()> act;
        QPointF moved;
        int steps;
    } cases[] = {
        {"a click selects", [&] { dragThrough(preview, {at}); }, {0, 0}, 0},
        {"a drag moves", [&] { dragThrough(preview, {at, at + QPoint(4, 2), at + QPoint(10, 6)}); }, {10, 6}, 1},
        {"Right nudges", [&] { QTest::keyClick(&preview, Qt::Key_Right); }, {11, 6}, 1},
        {"Shift+Up nudges further", [&] { QTest::keyClick(&preview, Qt::Key_Up, Qt::ShiftModifier); },
         {11, 6 - CWorldPreview::kNudgeFar}, 1},
    };
    for (const auto& c : cases) {
        const int before = demo.document.history().stack().index();
        c.act();
        EXPECT_EQ(elements.currentRow(), row) << c.what;
        EXPECT_EQ(offsets(), c.moved) << c.what;
        EXPECT_EQ(demo.document.history().stack().index(), before + c.steps) << c.what;
    }
    const int before = demo.document.history().stack().index();
    QTest::keyClick(&preview, Qt::Key_Delete);
    EXPECT_EQ(elements.rowTotal(), count - 1);
    EXPECT_EQ(demo.document.history().stack().index(), before + 1);
    while (demo.document.history().stack().canUndo())
        demo.document.history().stack().undo();
    EXPECT_EQ(documentRecords(demo.document.holder()), opened);
}

TEST(EditHistoryUi, MapStrokesAndOffsetDragsAreOneStepEach)
{
    OpenedDemo demo;
    auto& maps = dynamic_cast<CMapsPanel&>(*demo.view.panel(CQuillopView::panelOfGroup(GroupMaps)));
    maps.selectRow(0);
    CMapEditor& editor = *maps.editor();
    ASSERT_NE(editor.map(), nullptr);
    // A value no cell of the stroke holds yet.
    editor.picker()->select(1000);
    const int value = editor.picker()->selectedIndex();
    ASSERT_GE(value, 0);
    for (int x = 0; x < 3; ++x)
        editor.map()->setCell(x, 0, value == 0 ? 1 : 0);
    const QByteArray original = documentRecords(demo.document.holder());
    const int before = demo.document.history().stack().count();
    CMapCanvas& canvas = *editor.canvas();
    dragThrough(canvas, {canvas.cellPixels({0, 0}).center(), canvas.cellPixels({2, 0}).center()});
    EXPECT_EQ(editor.map()->cell(1, 0), value);
    EXPECT_EQ(demo.document.history().stack().count(), before + 1) << "a stroke is one step";
    EXPECT_EQ(demo.document.history().stack().undoText().toStdString(), CMapEditor::kPaintText);

    auto& bitmaps = dynamic_cast<CBitmapsPanel&>(*demo.view.panel(CQuillopView::panelOfGroup(GroupBitmaps)));
    bitmaps.selectRow(0);
    dragThrough(*bitmaps.offsetPane(), {QPoint(50, 50), QPoint(53, 50), QPoint(60, 52)}, Qt::ShiftModifier);
    EXPECT_EQ(demo.document.history().stack().count(), before + 2) << "a drag is one step";
    EXPECT_EQ(demo.document.history().stack().undoText().toStdString(), CBitmapOffsetPane::kMoveText);

    auto& trajectories = dynamic_cast<CTrajectoriesPanel&>(*demo.view.panel(CQuillopView::panelOfGroup(GroupTrajectories)));
    trajectories.selectRow(0);
    trajectories.player()->resize(300, 200);
    dragThrough(*trajectories.player(), {QPoint(50, 50), QPoint(60, 50), QPoint(70, 55)});
    EXPECT_EQ(demo.document.history().stack().count(), before + 3) << "a drawn stroke is one step";
    EXPECT_EQ(demo.document.history().stack().undoText().toStdString(), TrajectoryPlayer::kStrokeText);
    for (int i = 0; i < 3; ++i)
        demo.document.history().stack().undo();
    EXPECT_EQ(documentRecords(demo.document.holder()), original);
    EXPECT_FALSE(demo.document.isModified()) << "undone to the opened document, nothing is left to save";
}

// The map editor's tools as a user drives them: each gesture changes the
// cells it should, is one step named for what it did, and its undo gives the
// document back as it was.
TEST(EditHistoryUi, MapEraserStampAndCellSizeAreOneStepEach)
{
    OpenedDemo demo;
    auto& maps = dynamic_cast<CMapsPanel&>(*demo.view.panel(CQuillopView::panelOfGroup(GroupMaps)));
    demo.view.resize(1400, 700);
    demo.view.show();
    demo.view.showPanel(CQuillopView::panelOfGroup(GroupMaps), false);
    maps.insertItem();
    const int blank = maps.rowCount() - 1;
    maps.selectRow(0);
    CMapEditor& editor = *maps.editor();
    CMapCanvas& canvas = *editor.canvas();
    ScriptedPrompter never;
    editor.map()->resize(16, 10, never);
    editor.showMap(editor.document(), 0);
    QApplication::processEvents();
    // The whole map in view: no stroke scrolls it.
    editor.zoomView()->fit();
    auto at = [&](int x, int y) { return canvas.cellPixels({x, y}).center(); };
    auto cells = [&](int y, int from, int to) {
        std::vector<int> line;
        for (int x = from; x <= to; ++x)
            line.push_back(editor.map()->cell(x, y));
        return line;
    };
    // Tiles 2, 3 and 4 are 16 x 16, as the map's cells; tile 1 is wider.
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 4; ++y)
            editor.map()->setCell(x, y, 2 + (x + y) % 3);
    struct Case {
        const char* name;
        std::function<void()> act;
        std::function<void()> check;
        const char* step;
    };
    const Case cases[] = {
        {"the eraser empties the cells a stroke passes",
         [&] {
             editor.toolAction(CMapEditor::EraseTool)->trigger();
             dragThrough(canvas, {at(1, 1), at(3, 1)});

             editor.toolAction(CMapEditor::PaintTool)->trigger();
         },
         [&] {
             EXPECT_EQ(cells(1, 0, 4), (std::vector<int>{3, -1, -1, -1, 4}));
         },
         CMapEditor::kEraseText},
        {"a right drag takes a stamp, which a click lays whole and the pointer shows",
         [&] {
             dragThrough(canvas, {at(0, 0), at(2, 1)}, {}, Qt::RightButton);
             sendMouse(canvas, QEvent::MouseMove, at(9, 6), Qt::NoButton, Qt::NoButton);
             EXPECT_EQ(canvas.hoverCells(), QRect(9, 6, 3, 2));
             dragThrough(canvas, {at(9, 6)});
         },
         [&] {
             EXPECT_TRUE(editor.hasStamp());
             EXPECT_EQ(cells(6, 9, 11), cells(0, 0, 2));
             EXPECT_EQ(cells(7, 9, 11), cells(1, 0, 2));
         },
         CMapEditor::kPaintText},
        {"the rectangle tool repeats the stamp from the corner dragged",
         [&] {
             editor.toolAction(CMapEditor::RectangleTool)->trigger();
             dragThrough(canvas, {at(10, 8), at(15, 8)});
             editor.toolAction(CMapEditor::PaintTool)->trigger();
         },
         [&] { EXPECT_EQ(cells(8, 10, 15), (std::vector<int>{2, 3, 4, 2, 3, 4})); },
         CMapEditor::kFillRectangleText},
        {"choosing a bitmap puts the stamp away; a new map takes the first bitmap's cell size and says so",
         [&] {
             maps.selectRow(blank);
             QApplication::processEvents();
             editor.zoomView()->fit();
             editor.pickValue(2);
             EXPECT_FALSE(editor.hasStamp());
             EXPECT_EQ(editor.map()->cellWidth(), CMapItem::kDefaultCellSize);
             dragThrough(canvas, {at(1, 1), at(2, 1)});
         },
         [&] {
             EXPECT_EQ(editor.map()->cell(2, 1), 2);
             EXPECT_EQ(editor.map()->cellWidth(), 16);
             EXPECT_EQ(editor.map()->cellHeight(), 16);
             EXPECT_EQ(editor.map()->cell(1, 1), 2) << "the stroke stays in the cells it began in";
             EXPECT_TRUE(editor.noteLabel()->text().startsWith("Cells set to 16 x 16")) << editor.noteLabel()->text().toStdString();
             editor.pickValue(1);
             EXPECT_TRUE(editor.noteLabel()->text().contains("but the cells are 16 x 16")) << editor.noteLabel()->text().toStdString();
         },
         CMapEditor::kPaintText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray before = documentRecords(demo.document.holder());
        const int steps = demo.document.history().stack().count();
        c.act();
        c.check();
        EXPECT_EQ(demo.document.history().stack().count(), steps + 1);
        EXPECT_EQ(demo.document.history().stack().undoText().toStdString(), c.step);
        demo.document.history().stack().undo();
        EXPECT_EQ(documentRecords(demo.document.holder()), before);
        demo.document.history().stack().redo();
    }
}

// Items dragged between panels, and a picture file from the desktop, land
// where they are dropped as one step each; items of another document are
// refused and change nothing.
TEST(EditHistoryUi, DropsOnFramesMapAndWorldAreOneStepEach)
{
    OpenedDemo demo;
    CResourceHolder& doc = demo.document.holder();
    demo.view.resize(1400, 800);
    demo.view.show();
    auto& bitmaps = dynamic_cast<CBitmapsPanel&>(*demo.view.panel(CQuillopView::panelOfGroup(GroupBitmaps)));
    auto& animations = dynamic_cast<CAnimationsPanel&>(*demo.view.panel(CQuillopView::panelOfGroup(GroupAnimations)));
    auto& maps = dynamic_cast<CMapsPanel&>(*demo.view.panel(CQuillopView::panelOfGroup(GroupMaps)));
    auto& worlds = dynamic_cast<CWorldsPanel&>(*demo.view.panel(CQuillopView::panelOfGroup(GroupWorlds)));
    animations.selectRow(0);
    maps.selectRow(0);
    worlds.selectRow(0);
    QApplication::processEvents();
    CAnimationFrameEditor& frames = *animations.frameEditor();
    CMapEditor& map = *maps.editor();
    CWorldElementsView& elements = *worlds.elementsView();
    CWorldPreview& preview = *elements.preview();
    // Bitmap 3 as the Bitmaps grid drags it, from any cell of its row.
    QAbstractItemModel& grid = *bitmaps.table()->model();
    std::unique_ptr<QMimeData> fromGrid(grid.mimeData({grid.index(3, CItemsGrid::kLeadingColumns)}));
    std::unique_ptr<QMimeData> twoBitmaps(CItemsMime::make(doc, GroupBitmaps, {4, 2}));
    std::unique_ptr<QMimeData> animation(CItemsMime::make(doc, GroupAnimations, {0}));
    TempFolder folder;
    const std::string png = folder.path("coin.png");
    QImage coin(8, 8, QImage::Format_ARGB32);
    coin.fill(Qt::yellow);
    ASSERT_TRUE(coin.save(QString::fromStdString(png)));
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(QString::fromStdString(png))});
    auto other = createDocumentHolder();
    other->newItem(GroupBitmaps, doc.get(GroupBitmaps, 3)->id());
    std::unique_ptr<QMimeData> foreign(CItemsMime::make(*other, GroupBitmaps, {0}));

    const int frameCount = dynamic_cast<CAnimationItem*>(doc.get(GroupAnimations, 0))->frameCount();
    auto frame = [&](int i) { return dynamic_cast<CAnimationItem*>(doc.get(GroupAnimations, 0))->frame(i)->bitmap; };
    auto world = [&] { return dynamic_cast<GameWorld*>(doc.get(GroupWorlds, 0)); };
    const int elementCount = world()->elementCount();
    const QPoint worldAt(100, 80);
    auto worldPoint = [&] { return preview.view()->toContent(QPointF(worldAt)) - QPointF(preview.drawingOffset()); };
    auto last = [&] { return world()->elementAt(world()->elementCount() - 1); };
    const QPoint onFrame1(10, frames.frameList()->rowTop(1) + 2);
    auto mapAt = [&](int x, int y) { return map.canvas()->cellPixels({x, y}).center(); };
    struct Case {
        const char* name;
        CItemsDropTarget* target;
        const QMimeData* data;
        std::function<QPoint()> at;
        std::function<void()> check;
        bool accepted;
    };
    const Case cases[] = {
        {"a bitmap from the grid becomes a frame before the row it falls on", frames.dropTarget(), fromGrid.get(),
         [&] { return onFrame1; },
         [&] {
             EXPECT_EQ(dynamic_cast<CAnimationItem*>(doc.get(GroupAnimations, 0))->frameCount(), frameCount + 1);
             EXPECT_EQ(frame(1), 3);
         },
         true},
        {"bitmaps on the map paint the cell under the drop and those to its right", map.dropTarget(), twoBitmaps.get(),
         [&] { return mapAt(1, 2); },
         [&] {
             EXPECT_EQ(map.map()->cell(1, 2), 4);
             EXPECT_EQ(map.map()->cell(2, 2), 2);
             EXPECT_EQ(map.paintValue(), 4) << "the pen takes the first";
         },
         true},
        {"a bitmap on the world is a new element at the drop point", elements.dropTarget(), fromGrid.get(),
         [&] { return worldAt; },
         [&] {
             ASSERT_EQ(world()->elementCount(), elementCount + 1);
             EXPECT_EQ(last()->objectType, WorldObjectBitmap);
             EXPECT_EQ(last()->objectIndex, 3);
             EXPECT_EQ(last()->offsetX, std::round(worldPoint().x()));
             EXPECT_EQ(last()->offsetY, std::round(worldPoint().y()));
             EXPECT_EQ(last()->id, doc.get(GroupBitmaps, 3)->id());
         },
         true},
        {"an animation on the world plays there", elements.dropTarget(), animation.get(), [&] { return worldAt; },
         [&] {
             ASSERT_EQ(world()->elementCount(), elementCount + 1);
             EXPECT_EQ(last()->objectType, WorldObjectAnimation);
             EXPECT_EQ(last()->objectIndex, 0);
         },
         true},
        {"a picture file becomes a bitmap and an element, in one step", elements.dropTarget(), &file,
         [&] { return worldAt; },
         [&] {
             ASSERT_EQ(world()->elementCount(), elementCount + 1);
             EXPECT_EQ(last()->objectIndex, doc.count(GroupBitmaps) - 1);
             EXPECT_EQ(doc.get(GroupBitmaps, last()->objectIndex)->id(), "coin");
         },
         true},
        {"a picture file on the frame list", frames.dropTarget(), &file, [&] { return onFrame1; },
         [&] { EXPECT_EQ(frame(1), doc.count(GroupBitmaps) - 1); }, true},
        {"items of another document are refused", map.dropTarget(), foreign.get(), [&] { return mapAt(1, 2); },
         [] {}, false},
        {"an animation is not a map cell", map.dropTarget(), animation.get(), [&] { return mapAt(1, 2); }, [] {},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray before = documentRecords(doc);
        const int steps = demo.document.history().stack().index();
        EXPECT_EQ(c.target->accepts(*c.data), c.accepted);
        EXPECT_EQ(c.target->drop(*c.data, c.at()), c.accepted);
        c.check();
        EXPECT_EQ(demo.document.history().stack().index(), steps + (c.accepted ? 1 : 0));
        if (c.accepted)
            demo.document.history().stack().undo();
        EXPECT_EQ(documentRecords(doc), before);
        QApplication::processEvents();
        EXPECT_EQ(elements.table()->verticalHeader()->count(), world()->elementCount()) << "the grid follows the undo";
    }
}

TEST(EditHistoryUi, TheHistoryWindowListsTheStepsAndStatesTheLimit)
{
    OpenedDemo demo;
    CItemsGrid& colors = *demo.view.panel(CQuillopView::panelOfGroup(GroupColors));
    colors.insertItem();
    colors.insertItem();
    CEditHistoryWindow window;
    window.showHistory(&demo.document.history());
    // The empty first entry, then one per step.
    EXPECT_EQ(window.view()->model()->rowCount(), 3);
    EXPECT_EQ(window.view()->model()->index(1, 0).data().toString().toStdString(), "Insert Color");
    EXPECT_TRUE(window.limitText().contains(QLatin1String("256 MB"))) << window.limitText().toStdString();
    EXPECT_FALSE(window.limitText().contains(QLatin1String("0.0 MB"))) << "small histories count their bytes";
    window.showHistory(nullptr);
    EXPECT_EQ(window.limitText().toStdString(), CEditHistoryWindow::kNoDocument);
}
