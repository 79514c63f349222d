#include "params/ui/CValuePromptDialog.h"

#include "params/ui/CGuiColors.h"
#include "params/ui/CMVT_EditTyped.h"
#include "params/ui/CMVT_ParamText.h"
#include "params/ui/CMVT_ParameterList.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

#include <algorithm>

CValuePromptDialog::CValuePromptDialog(const std::string& title, const std::string& prompt, const std::string& value,
                                       bool multiLine, QWidget* parent)
    : CValuePromptDialog(title, prompt, value, value, multiLine, parent)
{
}

CValuePromptDialog::CValuePromptDialog(const std::string& title, const std::string& prompt, const std::string& value,
                                       const std::string& previous, bool multiLine, QWidget* parent)
    : QDialog(parent), m_sheet(new CMVT_ParameterList(this))
{
    setWindowTitle(QString::fromStdString(title));
    setSizeGripEnabled(true);
    setPalette(CGuiColors::instance().dialogPalette(palette()));
    m_sheet->addTitle(0, "title", prompt);
    m_value = m_sheet->addText(1, "value", kValueLabel, value, multiLine);
    m_sheet->addInfo(1, "previous", kPreviousLabel + previous);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_sheet, 1);
    layout->addWidget(buttons);
    // Wide enough for the prompt text in its title font.
    resize(std::max(420, sizeHint().width()), multiLine ? 360 : 240);
    m_value->edit()->setFocus();
    m_value->edit()->selectAll();
}

std::string CValuePromptDialog::value() const
{
    return m_value->value();
}
