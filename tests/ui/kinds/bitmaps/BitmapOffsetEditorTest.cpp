#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/ui/CZoomView.h"
#include "kinds/CItemKinds.h"
#include "kinds/bitmaps/CBitmapItem.h"
#include "kinds/bitmaps/ui/CBitmapOffsetPane.h"
#include "kinds/bitmaps/ui/CBitmapsPanel.h"
#include "support/TestSupport.h"
#include "ui/MouseEvents.h"
#include "ui/ShellFakes.h"
#include "ui/UiFakes.h"

#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// Four bitmaps of 20 × 10 pixels with offsets (i, -i); rows 0 and 2
// marked and row 3 current, so the selection is rows 0, 2 and 3.
class BitmapOffsetEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QImage picture(20, 10, QImage::Format_ARGB32_Premultiplied);
        picture.fill(qRgba(200, 40, 40, 255));
        for (int i = 0; i < 4; ++i) {
            document->newItem(GroupBitmaps, "b" + std::to_string(i));
            bitmap(i)->attachImage(picture);
            bitmap(i)->setOffsetX(i);
            bitmap(i)->setOffsetY(-i);
        }
        panel.resize(1200, 600);
        panel.attach(document.get(), &host);
        panel.show();
        panel.selectRow(3);
        panel.setMarked(0, true);
        panel.setMarked(2, true);
        QApplication::processEvents();
    }
    CBitmapItem* bitmap(int row) { return dynamic_cast<CBitmapItem*>(document->get(GroupBitmaps, row)); }
    CBitmapOffsetPane& pane() { return *panel.offsetPane(); }
    QPointF offsets(int row) { return {bitmap(row)->offsetX(), bitmap(row)->offsetY()}; }
    QString offsetCell(int row) { return panel.editorCellText(CBitmapsPanel::ColOffsetX, row); }

    ScriptedUi ui;
    std::unique_ptr<CResourceHolder> document = createDocumentHolder();
    RecordingPanelHost host;
    CBitmapsPanel panel;
};
} // namespace

// Shift drags the offsets of every selected bitmap, Alt those of the current
// one, a plain drag the origin; each drag is one edit and the Offset cells
// follow it; double clicks put each back; the offsets are saved.
TEST_F(BitmapOffsetEditorTest, DragGesturesMoveOffsetsAndOrigin)
{
    EXPECT_EQ(pane().preview().origin(), QPoint(94, 94));
    // The pane opened fitted; the drags below are counted at 100 %.
    pane().view()->oneToOne();
    const int edits = host.modified;
    dragThrough(pane(), {QPoint(100, 100), QPoint(104, 98), QPoint(107, 96)}, Qt::ShiftModifier);
    for (int row : {0, 2, 3})
        EXPECT_EQ(offsets(row), QPointF(row + 7, -row - 4)) << row;
    EXPECT_EQ(offsets(1), QPointF(1, -1));
    EXPECT_EQ(host.modified, edits + 1);
    EXPECT_EQ(offsetCell(2).toStdString(), "+9");

    dragThrough(pane(), {QPoint(100, 100), QPoint(90, 105)}, Qt::AltModifier);
    EXPECT_EQ(offsets(3), QPointF(0, -2));
    EXPECT_EQ(offsets(0), QPointF(7, -4));
    EXPECT_EQ(host.modified, edits + 2);

    dragThrough(pane(), {QPoint(100, 100), QPoint(130, 80)});
    EXPECT_EQ(pane().preview().origin(), QPoint(124, 74));
    EXPECT_EQ(host.modified, edits + 2) << "the origin is no part of the document";

    // At zoom 2 a pixel of the pane is half a pixel of the bitmaps.
    pane().view()->zoomAbout(2.0, QPointF(0, 0));
    dragThrough(pane(), {QPoint(100, 100), QPoint(120, 90)}, Qt::AltModifier);
    EXPECT_EQ(offsets(3), QPointF(10, -7));

    QTest::mouseDClick(&pane(), Qt::LeftButton, Qt::ShiftModifier, QPoint(50, 50));
    for (int row : {0, 2, 3})
        EXPECT_EQ(offsets(row), QPointF(0, 0)) << row;
    EXPECT_EQ(offsets(1), QPointF(1, -1));
    QTest::mouseDClick(&pane(), Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(pane().preview().origin(), QPoint(0, 0));

    dragThrough(pane(), {QPoint(10, 10), QPoint(13, 15)}, Qt::AltModifier);
    TempFolder folder;
    const std::string path = folder.path("offsets.mrc");
    ASSERT_EQ(document->save(path), 1);
    auto reopened = createDocumentHolder();
    ASSERT_EQ(reopened->load(path), 1);
    const auto* saved = dynamic_cast<CBitmapItem*>(reopened->get(GroupBitmaps, 3));
    EXPECT_EQ(QPointF(saved->offsetX(), saved->offsetY()), QPointF(2, 3));
}

// The current bitmap is drawn at the origin with its offsets, the other
// selected ones framed around their bounds.
TEST_F(BitmapOffsetEditorTest, PreviewDrawsTheSelectionAtTheOrigin)
{
    // The pane opened fitted; the pixels below are those of 100 % from (0, 0).
    pane().view()->oneToOne();
    pane().view()->scrollTo({0, 0});
    pane().repaint();
    const QImage shown = pane().grab().toImage();
    const QColor red(200, 40, 40);
    // Row 3 lands at (94 + 3, 94 - 3); row 2, framed, at (96, 92).
    EXPECT_EQ(shown.pixelColor(97 + 10, 91 + 5), red);
    EXPECT_NE(shown.pixelColor(95, 91), red) << "row 2's frame, just outside it";
    EXPECT_NE(shown.pixelColor(95, 91), shown.pixelColor(5, 5));
    EXPECT_EQ(pane().cursor().shape(), Qt::SizeAllCursor);
}
