#include "params/ui/CGuiColorsDialog.h"

#include "params/ui/CGuiColors.h"
#include "params/ui/CMVT_ParamColor.h"
#include "params/ui/CMVT_ParameterList.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

#include <string>

static_assert(CGuiColors::Count == 13);

CGuiColorsDialog::CGuiColorsDialog(QWidget* parent) : QDialog(parent), m_sheet(new CMVT_ParameterList(this))
{
    setWindowTitle(QString::fromLatin1(kTitle));
    setPalette(CGuiColors::instance().dialogPalette(palette()));
    const CGuiColors& colors = CGuiColors::instance();
    std::string group;
    for (int i = 0; i < CGuiColors::Count; ++i) {
        if (group != CGuiColors::groupName(i)) {
            group = CGuiColors::groupName(i);
            m_sheet->addTitle(0, group, group);
        }
        m_items[static_cast<std::size_t>(i)] =
            m_sheet->addColor(1, CGuiColors::name(i), CGuiColors::name(i), colors.color(i).rgb);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_sheet, 1);
    layout->addWidget(buttons);
    resize(420, 640);
}

CMVT_ParamColor* CGuiColorsDialog::colorItem(int index) const
{
    return (index >= 0 && index < CGuiColors::Count) ? m_items[static_cast<std::size_t>(index)] : nullptr;
}

std::uint32_t CGuiColorsDialog::chosenRgb(int index) const
{
    const CMVT_ParamColor* item = colorItem(index);
    return item ? item->value() : 0;
}
