#include "grid/ui/CEditValueDialog.h"

#include "app/CGuiColors.h"
#include "params/ui/CMVT_EditTyped.h"
#include "params/ui/CMVT_ParamText.h"
#include "params/ui/CMVT_ParameterList.h"

#include <QDialogButtonBox>
#include <QSizeGrip>
#include <QVBoxLayout>

CEditValueDialog::CEditValueDialog(bool multiLine, const std::string& initial, const std::string& previous,
                                   QWidget* parent)
    : QDialog(parent), m_sheet(new CMVT_ParameterList(this))
{
    setWindowTitle(QString::fromLatin1(kTitle));
    setSizeGripEnabled(true);
    setPalette(CGuiColors::instance().dialogPalette(palette()));
    m_sheet->addTitle(0, "title", "Edit Cell(s) Value");
    m_value = m_sheet->addText(1, "value", "&Value", initial, multiLine);
    m_sheet->addInfo(1, "previous", "Previous Value:\n" + previous);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_sheet, 1);
    layout->addWidget(buttons);
    resize(420, multiLine ? 360 : 240);
    m_value->edit()->setFocus();
    // The typed character continues, it does not get replaced.
    m_value->edit()->moveCursor(QTextCursor::End);
}

std::string CEditValueDialog::value() const { return m_value->value(); }
