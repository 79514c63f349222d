#include "params/ui/CGuiColors.h"
#include "params/ui/CGuiColorsDialog.h"
#include "params/ui/CMVT_ParamColor.h"
#include "params/ui/CMVT_ParamTitle.h"
#include "params/ui/CMVT_ParameterList.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
struct Restore {
    ~Restore() { CGuiColors::instance().resetToDefaults(); }
};
std::uint32_t rgb(int r, int g, int b) { return CGuiColors::rgb(r, g, b); }
} // namespace

TEST(GuiColors, DefaultsAndTheirNames)
{
    Restore restore;
    CGuiColors& c = CGuiColors::instance();
    c.resetToDefaults();
    EXPECT_EQ(c.focusedArea().rgb, rgb(128, 255, 0));
    EXPECT_EQ(c.dialogFace().rgb, rgb(58, 110, 165));
    EXPECT_EQ(c.windowSpottedText().rgb, rgb(183, 137, 0));
    EXPECT_EQ(c.scrollBarBackground().rgb, rgb(157, 183, 210));
    EXPECT_EQ(c.scrollBar().rgb, rgb(58, 110, 165));
    EXPECT_EQ(c.color("Window Face").rgb, rgb(213, 233, 242));
    EXPECT_EQ(c.qcolor("Dialog Spotted Face"), QColor(255, 200, 98));
    for (int i = 0; i < CGuiColors::Count; ++i) {
        EXPECT_EQ(c.color(i).alpha, 255);
        EXPECT_EQ(CGuiColors::indexOf(CGuiColors::name(i)), i);
    }
    EXPECT_EQ(CGuiColors::indexOf("window face"), -1);
}

TEST(GuiColors, BlendRoundsAndClamps)
{
    EXPECT_EQ(CGuiColors::blend(rgb(58, 110, 165), rgb(255, 255, 255), 0.5), rgb(157, 183, 210));
    EXPECT_EQ(CGuiColors::blend(rgb(10, 20, 30), rgb(200, 100, 0), -3.0), rgb(10, 20, 30));
    EXPECT_EQ(CGuiColors::blend(rgb(10, 20, 30), rgb(200, 100, 0), 7.0), rgb(200, 100, 0));
    EXPECT_EQ(CGuiColors::blend(rgb(0, 0, 0), rgb(255, 1, 3), 0.5), rgb(128, 1, 2));
}

TEST(GuiColors, DialogListsEveryColourAndOkTakesThemWithoutTouchingTheScrollBars)
{
    Restore restore;
    CGuiColors& c = CGuiColors::instance();
    c.resetToDefaults();
    QSignalSpy repainted(&c, &CGuiColors::changed);

    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CGuiColorsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Graphical User Interface Colors"));
        // Four titles and thirteen colours, in the dialog's order.
        CMVT_ParameterList* sheet = dialog->sheet();
        ASSERT_EQ(sheet->count(), 17);
        EXPECT_STREQ(sheet->item(0)->kindName(), "Title");
        EXPECT_EQ(sheet->item(0)->label(), "Focus Colors");
        EXPECT_EQ(sheet->item(3)->label(), "Dialogs Colors");
        EXPECT_EQ(sheet->item(8)->label(), "Windows Colors");
        EXPECT_EQ(sheet->item(13)->label(), "Scroll Bars Colors");
        EXPECT_EQ(sheet->item(16)->label(), "Scroll Bar Moving");
        EXPECT_EQ(sheet->item(16)->level(), 1);
        dialog->colorItem(CGuiColors::DialogFace)->setValue(CGuiColors::rgb(1, 2, 3));
        dialog->accept();
    });
    EXPECT_TRUE(c.edit());
    EXPECT_EQ(c.dialogFace().rgb, rgb(1, 2, 3));
    EXPECT_EQ(c.dialogFace().alpha, 255);
    EXPECT_EQ(c.scrollBar().rgb, rgb(58, 110, 165));
    EXPECT_EQ(c.scrollBarBackground().rgb, rgb(157, 183, 210));
    EXPECT_GE(repainted.count(), 1);
}

TEST(GuiColors, CancelChangesAndRepaintsNothing)
{
    Restore restore;
    CGuiColors& c = CGuiColors::instance();
    c.resetToDefaults();
    QSignalSpy repainted(&c, &CGuiColors::changed);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CGuiColorsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->colorItem(CGuiColors::WindowFace)->setValue(CGuiColors::rgb(9, 9, 9));
        dialog->reject();
    });
    EXPECT_FALSE(c.edit());
    EXPECT_EQ(c.windowFace().rgb, rgb(213, 233, 242));
    EXPECT_EQ(repainted.count(), 0);
}

TEST(GuiColors, ResetBringsTheDefaultsBack)
{
    Restore restore;
    CGuiColors& c = CGuiColors::instance();
    c.setRgb(CGuiColors::ScrollBarMoving, rgb(4, 5, 6));
    EXPECT_EQ(c.setRgb(CGuiColors::Count, 0), 0);
    c.resetToDefaults();
    EXPECT_EQ(c.scrollBarMoving().rgb, 0u);
}
