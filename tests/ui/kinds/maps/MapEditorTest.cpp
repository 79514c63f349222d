#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/ui/CIndexList.h"
#include "grid/ui/CZoomView.h"
#include "grid/ui/ZoomScrollBar.h"
#include "kinds/CItemKinds.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/maps/ui/CMapCanvas.h"
#include "kinds/maps/ui/CMapEditor.h"
#include "kinds/maps/ui/CMapsPanel.h"
#include "kinds/bitmaps/ui/CBitmapOffsetPane.h"
#include "kinds/bitmaps/ui/CBitmapsPanel.h"
#include "support/TestSupport.h"
#include "ui/PanelTesting.h"
#include "ui/MouseEvents.h"
#include "ui/ShellFakes.h"
#include "ui/UiFakes.h"

#include <QAction>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// Three bitmaps and a map of 40 columns and 30 lines of 32-pixel cells,
// shown in a Maps panel at zoom 1 from its top-left corner.
class MapEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* id : {"grass", "water", "rock"})
            document->newItem(GroupBitmaps, id);
        document->newItem(GroupMaps, "level");
        ScriptedPrompter never;
        map()->resize(40, 30, never);
        panel.resize(1400, 700);
        panel.attach(document.get(), &host);
        panel.show();
        panel.selectRow(0);
        QApplication::processEvents();
    }
    CMapItem* map() { return dynamic_cast<CMapItem*>(document->get(GroupMaps, 0)); }
    CMapEditor& editor() { return *panel.editor(); }
    CMapCanvas& canvas() { return *editor().canvas(); }
    // The middle of a cell on the canvas, at the view's zoom and position.
    QPoint at(int column, int line)
    {
        return canvas().cellPixels({column, line}).center();
    }
    void fillLine(int line, int value)
    {
        for (int x = 0; x < map()->columnCount(); ++x)
            map()->setCell(x, line, value);
    }

    ScriptedUi ui;
    std::unique_ptr<CResourceHolder> document = createDocumentHolder();
    RecordingPanelHost host;
    CMapsPanel panel;
};
} // namespace

// The picker lists the empty cell first; a left stroke paints every cell it
// passes with the picker's value as one edit and survives saving; the right
// button picks; the status text follows the current cell.
TEST_F(MapEditorTest, PaintStrokePickAndSave)
{
    ASSERT_GE(canvas().width(), 7 * 32) << "the stroke below crosses seven cells";
    ASSERT_EQ(editor().picker()->rowText(0), "-1 - Empty / Transparent");
    EXPECT_EQ(editor().picker()->rowText(2), "1 - water");
    editor().picker()->select(2);

    const int before = host.modified;
    dragThrough(canvas(), {at(1, 1), at(2, 1), at(6, 3)});
    EXPECT_EQ(host.modified, before + 1) << "one stroke, one edit";
    for (QPoint cell : {QPoint(1, 1), QPoint(2, 1), QPoint(3, 2), QPoint(4, 2), QPoint(5, 3), QPoint(6, 3)})
        EXPECT_EQ(map()->cell(cell.x(), cell.y()), 2) << cell.x() << "," << cell.y();
    EXPECT_EQ(map()->cell(1, 2), -1);
    EXPECT_EQ(editor().statusLabel()->text(), "6, 3 (40, 30)");

    // The right button picks the value under it into the picker.
    map()->setCell(8, 8, 1);
    QTest::mouseClick(&canvas(), Qt::RightButton, {}, at(8, 8));
    EXPECT_EQ(editor().picker()->selectedIndex(), 1);
    EXPECT_EQ(editor().currentCell(), QPoint(8, 8));
    // A press outside the map paints nothing and is no edit.
    const int edits = host.modified;
    editor().zoomView()->zoomAbout(0.25, {0, 0});
    QTest::mouseClick(&canvas(), Qt::LeftButton, {}, QPoint(canvas().width() - 5, canvas().height() - 5));
    EXPECT_EQ(host.modified, edits);

    TempFolder folder;
    const std::string path = folder.path("map.mrc");
    ASSERT_EQ(document->save(path), 1);
    auto reopened = createDocumentHolder();
    ASSERT_EQ(reopened->load(path), 1);
    const auto* saved = dynamic_cast<CMapItem*>(reopened->get(GroupMaps, 0));
    EXPECT_EQ(saved->cell(4, 2), 2);
    EXPECT_EQ(saved->cell(8, 8), 1);
}

// Ctrl+click fills the area of equal cells bounded by others; the rectangle
// tool fills what was dragged.
TEST_F(MapEditorTest, AreaAndRectangleFills)
{
    fillLine(5, 0);
    editor().picker()->select(2);
    QTest::mouseClick(&canvas(), Qt::LeftButton, Qt::ControlModifier, at(3, 2));
    EXPECT_EQ(map()->cell(0, 0), 2);
    EXPECT_EQ(map()->cell(39, 4), 2);
    EXPECT_EQ(map()->cell(3, 5), 0) << "the line of other cells bounds the fill";
    EXPECT_EQ(map()->cell(3, 6), -1);

    editor().toolAction(CMapEditor::RectangleTool)->trigger();
    editor().picker()->select(0);
    dragThrough(canvas(), {at(4, 9), at(6, 8), at(2, 7)});
    EXPECT_EQ(map()->cell(2, 7), 0);
    EXPECT_EQ(map()->cell(4, 9), 0);
    EXPECT_EQ(map()->cell(5, 9), -1);
    EXPECT_EQ(map()->cell(3, 6), -1);
}

// Shift+drag and the middle button scroll the canvas with the pointer, the
// wheel scrolls in small moves, Ctrl+wheel zooms about the pointer; the
// zoom and position stay when another map is shown and back.
TEST_F(MapEditorTest, ScrollingAndZoomKeepTheirPlace)
{
    CZoomView& view = *editor().zoomView();
    // The map opened fitted; the moves below are counted at 100 %.
    view.oneToOne();
    view.scrollTo({0, 0});
    dragThrough(canvas(), {QPoint(200, 200), QPoint(150, 170)}, Qt::ShiftModifier);
    EXPECT_EQ(view.position(), QPointF(50, 30));
    dragThrough(canvas(), {QPoint(200, 200), QPoint(210, 200)}, {}, Qt::MiddleButton);
    EXPECT_EQ(view.position(), QPointF(40, 30));
    EXPECT_EQ(map()->cell(5, 5), -1) << "scrolling paints nothing";

    sendWheel(canvas(), QPoint(100, 100), -120);
    for (int wait = 0; wait < 300 && canvas().wheelScrolling(); ++wait)
        QTest::qWait(5);
    ASSERT_FALSE(canvas().wheelScrolling());
    EXPECT_NEAR(view.position().y(), 30 + 18 * 3, 1e-9);

    const QPointF under = view.toContent(QPoint(100, 100));
    sendWheel(canvas(), QPoint(100, 100), 120, Qt::ControlModifier);
    EXPECT_NEAR(view.zoomX(), 4.0 / 3.0, 1e-9);
    EXPECT_NEAR(view.toContent(QPoint(100, 100)).x(), under.x(), 1e-9);
    EXPECT_NEAR(view.toContent(QPoint(100, 100)).y(), under.y(), 1e-9);

    const QPointF kept = view.position();
    document->newItem(GroupMaps, "other");
    panel.refresh();
    panel.selectRow(1);
    panel.selectRow(0);
    EXPECT_NEAR(view.zoomX(), 4.0 / 3.0, 1e-9);
    EXPECT_EQ(view.position(), kept);

    // The bars' fit shows the whole map.
    view.horizontalBar()->run(CZoomScrollAxis::Fit);
    EXPECT_LE(view.zoomX() * 40 * 32, canvas().width() + 1e-9);
    EXPECT_LE(view.zoomY() * 30 * 32, canvas().height() + 1e-9);
    EXPECT_EQ(view.position(), QPointF(0, 0));
}

// Without a map the canvas shows its background crossed by two diagonals;
// painting there does nothing.
TEST_F(MapEditorTest, NoMapShowsDiagonals)
{
    document->remove(GroupMaps, 0);
    panel.refresh();
    panel.reloadEditorView();
    EXPECT_EQ(editor().map(), nullptr);
    canvas().repaint();
    const QImage& picture = canvas().picture().image();
    ASSERT_EQ(picture.size(), canvas().size());
    const QRgb background = picture.pixel(picture.width() / 2, 5);
    const int x = picture.width() / 4;
    const int y = (picture.height() - 1) * x / (picture.width() - 1);
    bool crossed = false;
    for (int dy = -2; dy <= 2; ++dy)
        crossed = crossed || picture.pixel(x, y + dy) != background;
    EXPECT_TRUE(crossed);
    QTest::mouseClick(&canvas(), Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(editor().statusLabel()->text(), "");
}

// The map editor at 200 % with a current cell, and the bitmap preview with
// two selected bitmaps whose offsets were dragged apart, on the demo
// document: written only when QUILLOP_SCREENSHOTS names a folder.
TEST(MapEditorPictures, ZoomedMapAndDraggedOffsets)
{
    if (DemoPictures::folder().isEmpty())
        GTEST_SKIP() << "QUILLOP_SCREENSHOTS not set";
    DemoPictures pictures;
    ASSERT_TRUE(pictures.loaded());
    RecordingPanelHost host;
    CMapsPanel maps;
    maps.resize(1280, 700);
    maps.attach(&pictures.document(), &host);
    maps.show();
    maps.selectRow(0);
    maps.editor()->zoomView()->zoomAbout(2.0, QPointF(0, 0));
    maps.editor()->setCurrentCell({2, 1});
    QApplication::processEvents();
    pictures.save(maps, QStringLiteral("map_editor_200"));

    CBitmapsPanel bitmaps;
    bitmaps.resize(1280, 700);
    bitmaps.attach(&pictures.document(), &host);
    bitmaps.show();
    bitmaps.selectRow(1);
    bitmaps.setMarked(0, true);
    QApplication::processEvents();
    dragThrough(*bitmaps.offsetPane(), {QPoint(100, 100), QPoint(130, 120)}, Qt::AltModifier);
    QApplication::processEvents();
    pictures.save(bitmaps, QStringLiteral("bitmap_editor"));
}
