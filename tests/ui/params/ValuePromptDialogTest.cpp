#include "params/ui/CMVT_EditTyped.h"
#include "params/ui/CMVT_ParamInfo.h"
#include "params/ui/CMVT_ParamText.h"
#include "params/ui/CMVT_ParamTitle.h"
#include "params/ui/CMVT_ParameterList.h"
#include "params/ui/CValuePromptDialog.h"

#include <gtest/gtest.h>

TEST(ValuePromptDialog, ShowsTitlePromptValueAndPreviousValue)
{
    for (const bool multiLine : {false, true}) {
        CValuePromptDialog dialog("Quantify", "Quantify Grid Size (0.001 to 10000)", "5.000", multiLine);
        EXPECT_EQ(dialog.windowTitle(), "Quantify");
        EXPECT_TRUE(dialog.isSizeGripEnabled()) << "the window can be resized";
        auto* title = dialog.sheet()->findAs<CMVT_ParamTitle>("title");
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->label(), "Quantify Grid Size (0.001 to 10000)");
        EXPECT_EQ(dialog.valueItem()->label(), "&Value");
        EXPECT_EQ(dialog.valueItem()->isMultiLine(), multiLine);
        auto* previous = dialog.sheet()->findAs<CMVT_ParamInfo>("previous");
        ASSERT_NE(previous, nullptr);
        EXPECT_EQ(previous->label(), "Previous Value:\n5.000");

        // What is typed is the answer; the previous value stays as it was.
        dialog.valueItem()->setValue("0.25");
        EXPECT_EQ(dialog.value(), "0.25");
        EXPECT_EQ(previous->label(), "Previous Value:\n5.000");
    }
}
