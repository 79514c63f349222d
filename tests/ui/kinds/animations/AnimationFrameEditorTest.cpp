#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/ui/CIndexList.h"
#include "grid/ui/CZoomView.h"
#include "grid/ui/CItemPickerDialog.h"
#include "kinds/CItemKinds.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/animations/ui/CAnimationFrameEditor.h"
#include "kinds/animations/ui/CAnimationPreviewPane.h"
#include "kinds/animations/ui/CAnimationsPanel.h"
#include "support/TestSupport.h"
#include "ui/ShellFakes.h"
#include "ui/UiFakes.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
using Frames = std::vector<CAnimationFrame>;

// A document with four bitmaps and the animation "walk" of three frames
// (bitmaps 0, 1, 2 with delays 1, 2, 3 and offsets of their own), shown in
// an Animations panel.
class FrameEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* id : {"b0", "b1", "b2", "b3"})
            document->newItem(GroupBitmaps, id);
        document->newItem(GroupAnimations, "walk");
        for (int b = 0; b < 3; ++b)
            walk()->addFrame(b, b + 1, 10 * b, -b);
        panel.resize(1200, 500);
        panel.attach(document.get(), &host);
        panel.show();
        panel.selectRow(0);
        QApplication::processEvents();
    }

    CAnimationItem* walk() { return dynamic_cast<CAnimationItem*>(document->get(GroupAnimations, 0)); }
    CAnimationFrameEditor& editor() { return *panel.frameEditor(); }
    CIndexList& frames() { return *editor().frameList(); }
    CIndexList& picker() { return *editor().picker(); }
    QString specs() { return panel.editorCellText(CAnimationsPanel::ColSpecs, 0); }

    // The frame list's context menu: its entries' texts, tips and states.
    std::vector<std::tuple<QString, QString, bool>> frameMenu()
    {
        QMenu menu;
        editor().fillFrameMenu(menu);
        std::vector<std::tuple<QString, QString, bool>> entries;
        for (QAction* action : menu.actions())
            entries.emplace_back(action->isSeparator() ? QStringLiteral("-") : action->text(), action->statusTip(),
                                 !action->isSeparator() && action->isEnabled());
        return entries;
    }

    void triggerFrameMenu(const QString& startOfLabel)
    {
        QMenu menu;
        editor().fillFrameMenu(menu);
        for (QAction* action : menu.actions())
            if (action->text().startsWith(startOfLabel)) {
                ASSERT_TRUE(action->isEnabled()) << startOfLabel.toStdString();
                action->trigger();
                return;
            }
        FAIL() << "no entry " << startOfLabel.toStdString();
    }

    static void mouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::KeyboardModifiers modifiers,
                      Qt::MouseButtons held = Qt::LeftButton)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), button, held, modifiers);
        QApplication::sendEvent(&widget, &event);
    }

    ScriptedUi ui;
    std::unique_ptr<CResourceHolder> document = createDocumentHolder();
    RecordingPanelHost host;
    CAnimationsPanel panel;
};
} // namespace

TEST_F(FrameEditorTest, ThreePanesMenuTextsAndEnablingRules)
{
    CAnimationFrameEditor& e = editor();
    const QList<int> sizes = e.sizes();
    ASSERT_EQ(sizes.size(), 3);
    EXPECT_EQ(e.handleWidth(), 7);
    const int width = e.width();
    EXPECT_NEAR(sizes[0], 0.2 * width, 2);
    EXPECT_NEAR(sizes[1], 0.3 * (width - sizes[0] - 7), 2);
    // A bar dragged keeps its place as a share of the width.
    QTest::mousePress(e.handle(1), Qt::LeftButton, {}, QPoint(3, 10));
    QTest::mouseMove(e.handle(1), QPoint(3 + width / 10, 10));
    QTest::mouseRelease(e.handle(1), Qt::LeftButton, {}, QPoint(3 + width / 10, 10));
    const double stored = e.pickerFraction();
    EXPECT_NEAR(stored, 0.3, 0.02);
    panel.resize(1600, 500);
    QApplication::processEvents();
    EXPECT_NEAR(e.sizes()[0], stored * e.width(), 2);

    EXPECT_EQ(frames().rowText(0), "0 · b0 · 8 ms · offset 0, 0");
    EXPECT_EQ(picker().rowText(3), "3 - b3");
    frames().select(0);
    const std::vector<std::tuple<QString, QString, bool>> atFirstRow{
        {"Move Index &Up\tCtrl Up", "Move the current bitmap one step up in the list", false},
        {"Move Index &Down\tCtrl Down", "Move the current bitmap one step down in the list", true},
        {"&Reverse All Indexs Order", "Reverse the items order of the list", true},
        {"-", "", false},
        {"Remove From List\tSpace Bar", "Remove the current bitmap from the list of bitmaps", true},
        {"Increment Delay\tNum +", "Increment the delay of the selected bitmap", true},
        {"Decrement Delay\tNum -", "Decrement the delay of the selected bitmap", true},
        {"Increment All Delays\tShift Num +", "Increment the delay of all the bitmaps", true},
        {"Decrement All Delays\tShift Num -", "Decrement the delay of all the bitmaps", true},
    };
    EXPECT_EQ(frameMenu(), atFirstRow);
    frames().select(2);
    EXPECT_TRUE(std::get<2>(frameMenu()[0]));
    EXPECT_FALSE(std::get<2>(frameMenu()[1])) << "Move Index Down at the last row";

    QMenu pickerMenu;
    editor().fillPickerMenu(pickerMenu);
    ASSERT_EQ(pickerMenu.actions().size(), 1);
    EXPECT_EQ(pickerMenu.actions()[0]->text(), "Add to List\tSpace Bar");
    EXPECT_EQ(pickerMenu.actions()[0]->statusTip(), "Add the current bitmap to the list of bitmaps");

    // Without a current animation every entry is greyed and keys do nothing.
    panel.selectRow(-1);
    editor().showAnimation(document.get(), -1);
    for (const auto& [text, tip, enabled] : frameMenu())
        EXPECT_FALSE(enabled) << text.toStdString();
    QTest::keyClick(&picker(), Qt::Key_Space);
    EXPECT_EQ(walk()->frameCount(), 3);
    EXPECT_EQ(host.modified, 0);
}

// Keys and menu entries on the three frames, each step checked against the
// frames (all four values) and the row selected afterwards; every change
// marks the document modified, and the grid's frame count follows.
TEST_F(FrameEditorTest, KeysAndMenuEditTheFramesAndSurviveSaveAndReopen)
{
    const CAnimationFrame f0{0, 1, 0, 0}, f1{1, 2, 10, -1}, f2{2, 3, 20, -2};
    auto delayed = [](CAnimationFrame f, int delay) {
        f.delay = delay;
        return f;
    };
    struct Step {
        const char* what;
        std::function<void()> act;
        Frames after;
        int row;
        bool modifies;
    };
    const Qt::KeyboardModifiers keypad = Qt::KeypadModifier;
    auto key = [this](Qt::Key k, Qt::KeyboardModifiers m) { return [this, k, m] { QTest::keyClick(&frames(), k, m); }; };
    // A key that asks for the delay, answered with `text` (8 ms a step).
    auto typed = [this](Qt::Key k, const char* text) {
        return [this, k, text] {
            editor().setDelayAsker([text](const QString& current, QString& answer) {
                EXPECT_TRUE(current.endsWith(QStringLiteral(" steps)")) || current.endsWith(QStringLiteral(" step)")));
                answer = QString::fromLatin1(text);
                return true;
            });
            QTest::keyClick(&frames(), k);
        };
    };
    const std::vector<Step> steps{
        {"Ctrl+Up at row 0", key(Qt::Key_Up, Qt::ControlModifier), {f0, f1, f2}, 0, false},
        {"Num - at delay 1", key(Qt::Key_Minus, keypad), {f0, f1, f2}, 0, false},
        {"Num +", key(Qt::Key_Plus, keypad), {delayed(f0, 2), f1, f2}, 0, true},
        {"Ctrl+Down", key(Qt::Key_Down, Qt::ControlModifier), {f1, delayed(f0, 2), f2}, 1, true},
        {"Reverse", [this] { triggerFrameMenu("&Reverse"); }, {f2, delayed(f0, 2), f1}, 1, true},
        {"Shift Num -", key(Qt::Key_Minus, keypad | Qt::ShiftModifier),
         {delayed(f2, 2), delayed(f0, 1), delayed(f1, 1)}, 1, true},
        {"Shift Num +", key(Qt::Key_Plus, keypad | Qt::ShiftModifier), {f2, delayed(f0, 2), f1}, 1, true},
        {"Move Index Up menu", [this] { triggerFrameMenu("Move Index &Up"); }, {delayed(f0, 2), f2, f1}, 0, true},
        {"Decrement Delay menu", [this] { triggerFrameMenu("Decrement Delay"); }, {f0, f2, f1}, 0, true},
        {"+ of the main keyboard", key(Qt::Key_Plus, Qt::ShiftModifier), {delayed(f0, 2), f2, f1}, 0, true},
        {"= (+ unshifted)", key(Qt::Key_Equal, {}), {delayed(f0, 3), f2, f1}, 0, true},
        {"- of the main keyboard", key(Qt::Key_Minus, {}), {delayed(f0, 2), f2, f1}, 0, true},
        {"80 ms typed after F2", typed(Qt::Key_F2, "80"), {delayed(f0, 10), f2, f1}, 0, true},
        {"3 steps typed after Enter", typed(Qt::Key_Return, "3 steps"), {delayed(f0, 3), f2, f1}, 0, true},
        {"a delay without a number", typed(Qt::Key_F2, "fast"), {delayed(f0, 3), f2, f1}, 0, false},
        {"F4 picks bitmap b3 by name", [this] {
             QTimer::singleShot(0, [] {
                 auto* picker = qobject_cast<CItemPickerDialog*>(QApplication::activeModalWidget());
                 ASSERT_TRUE(picker);
                 QTest::keyClicks(picker->filterLine(), QStringLiteral("B3"));
                 QTest::keyClick(picker->filterLine(), Qt::Key_Return);
             });
             QTest::keyClick(&frames(), Qt::Key_F4);
         }, {{3, 3, 0, 0}, f2, f1}, 0, true},
        {"Space removes", key(Qt::Key_Space, {}), {f2, f1}, 0, true},
    };
    for (const Step& step : steps) {
        const int modifiedBefore = host.modified;
        step.act();
        EXPECT_EQ(walk()->frames(), step.after) << step.what;
        EXPECT_EQ(frames().selectedIndex(), step.row) << step.what;
        EXPECT_EQ(host.modified > modifiedBefore, step.modifies) << step.what;
    }
    EXPECT_EQ(specs(), "2 Frames") << "the grid row follows a removal";

    // The picker adds the current bitmap with Space, or the marked ones in
    // the order they were marked; the new frame is selected.
    picker().select(3);
    QTest::keyClick(&picker(), Qt::Key_Space);
    ASSERT_EQ(walk()->frameCount(), 3);
    EXPECT_EQ(*walk()->frame(2), (CAnimationFrame{3, 1, 0, 0}));
    EXPECT_EQ(frames().selectedIndex(), 2);
    for (int row : {1, 0}) {
        const QPoint at(20, picker().rowTop(row) + picker().rowHeight(row) / 2);
        QTest::mouseClick(&picker(), Qt::LeftButton, Qt::ControlModifier, at);
    }
    EXPECT_EQ(picker().marks(), (std::vector<int>{1, 0}));
    QMenu menu;
    editor().fillPickerMenu(menu);
    menu.actions()[0]->trigger();
    EXPECT_EQ(walk()->frames(), (Frames{f2, f1, {3, 1, 0, 0}, {1, 1, 0, 0}, {0, 1, 0, 0}}));
    EXPECT_EQ(frames().selectedIndex(), 4);
    EXPECT_TRUE(picker().marks().empty());
    EXPECT_EQ(specs(), "5 Frames");

    // A drag in the frame list carries frame 0 down to row 2.
    frames().select(0);
    const auto rowCentre = [this](int row) { return QPoint(30, frames().rowTop(row) + frames().rowHeight(row) / 2); };
    mouse(frames(), QEvent::MouseButtonPress, rowCentre(0), {});
    mouse(frames(), QEvent::MouseMove, rowCentre(1), {});
    mouse(frames(), QEvent::MouseMove, rowCentre(2), {});
    mouse(frames(), QEvent::MouseButtonRelease, rowCentre(2), {}, Qt::NoButton);
    const Frames edited{f1, {3, 1, 0, 0}, f2, {1, 1, 0, 0}, {0, 1, 0, 0}};
    EXPECT_EQ(walk()->frames(), edited);
    EXPECT_EQ(frames().selectedIndex(), 2);

    TempFolder folder;
    const std::string path = folder.path("frames.mrc");
    ASSERT_EQ(document->save(path), 1);
    auto reopened = createDocumentHolder();
    ASSERT_EQ(reopened->load(path), 1);
    EXPECT_EQ(dynamic_cast<CAnimationItem*>(reopened->get(GroupAnimations, 0))->frames(), edited);
}

// The preview's gestures: a plain drag moves the origin, Shift moves the
// current frame and shows it held for 125 steps, Ctrl moves every frame;
// double clicks put each back to (0, 0). It steps only while shown and
// plays again from the start when the row or its play mode changes.
TEST_F(FrameEditorTest, PreviewGesturesHoldAndGameSteps)
{
    CAnimationPreviewPane& pane = *editor().previewPane();
    CAnimationPreview& preview = editor().preview();
    ASSERT_TRUE(pane.isVisible());
    EXPECT_EQ(preview.origin(), QPoint(94, 94));
    EXPECT_EQ(pane.cursor().shape(), Qt::SizeAllCursor);
    // The pane opened fitted; the moves below are counted at 100 %.
    pane.view()->oneToOne();

    frames().select(1);
    mouse(pane, QEvent::MouseButtonPress, {50, 50}, Qt::ShiftModifier);
    EXPECT_EQ(preview.cursor().frameIndex(), 1);
    EXPECT_EQ(preview.cursor().remaining(), 125.0);
    for (int s = 0; s < 60; ++s)
        panel.runGameStep();
    mouse(pane, QEvent::MouseMove, {55, 47}, Qt::ShiftModifier);
    EXPECT_EQ(*walk()->frame(1), (CAnimationFrame{1, 2, 15, -4}));
    EXPECT_EQ(preview.cursor().remaining(), 125.0) << "each move holds the frame again";
    for (int s = 0; s < 125; ++s)
        panel.runGameStep();
    EXPECT_EQ(preview.cursor().frameIndex(), 1);
    panel.runGameStep();
    EXPECT_EQ(preview.cursor().frameIndex(), 2) << "play resumes after the hold";
    EXPECT_EQ(frames().rowText(1), "1 · b1 · 16 ms · offset 15, −4");

    mouse(pane, QEvent::MouseMove, {57, 48}, Qt::ControlModifier);
    EXPECT_EQ(walk()->frames(), (Frames{{0, 1, 2, 1}, {1, 2, 17, -3}, {2, 3, 22, -1}}));
    mouse(pane, QEvent::MouseMove, {60, 40}, {});
    EXPECT_EQ(preview.origin(), QPoint(97, 86));
    const int modified = host.modified;
    mouse(pane, QEvent::MouseButtonDblClick, {60, 40}, Qt::ShiftModifier);
    EXPECT_EQ(*walk()->frame(1), (CAnimationFrame{1, 2, 0, 0}));
    EXPECT_EQ(preview.cursor().remaining(), 125.0);
    mouse(pane, QEvent::MouseButtonDblClick, {60, 40}, Qt::ControlModifier);
    EXPECT_EQ(walk()->frames(), (Frames{{0, 1, 0, 0}, {1, 2, 0, 0}, {2, 3, 0, 0}}));
    mouse(pane, QEvent::MouseButtonDblClick, {60, 40}, {});
    EXPECT_EQ(preview.origin(), QPoint(0, 0));
    EXPECT_GT(host.modified, modified);

    // The play mode changes: the preview starts again (backward: last frame).
    panel.editCell(CItemsGrid::kLeadingColumns + CAnimationsPanel::ColPlayMode, 0, "Backward Loop");
    EXPECT_EQ(preview.cursor().frameIndex(), 2);
    EXPECT_EQ(preview.cursor().remaining(), 3.0);
    EXPECT_TRUE(panel.runGameStep());
    EXPECT_EQ(preview.cursor().remaining(), 2.0);
    EXPECT_TRUE(panel.previewPlays()) << "the step clock must run for a shown animation";
    panel.hide();
    EXPECT_FALSE(panel.previewPlays()) << "a hidden preview lets the step clock sleep";
    EXPECT_FALSE(panel.runGameStep()) << "nothing steps while the editor is hidden";
    EXPECT_EQ(preview.cursor().remaining(), 2.0);
}
