#include "grid/ui/CEditValueDialog.h"

#include "params/ui/CMVT_EditTyped.h"
#include "params/ui/CMVT_ParamText.h"

CEditValueDialog::CEditValueDialog(bool multiLine, const std::string& initial, const std::string& previous,
                                   QWidget* parent)
    : CValuePromptDialog(kTitle, kPrompt, initial, previous, multiLine, parent)
{
    // The typed character continues, it does not get replaced.
    valueItem()->edit()->moveCursor(QTextCursor::End);
}
