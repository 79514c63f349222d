#include "params/ui/CParametersDialog.h"

#include "params/ui/CGuiColors.h"
#include "params/ui/CMVT_ParameterList.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

CParametersDialog::CParametersDialog(const std::string& title, bool closeOnly, QWidget* parent)
    : QDialog(parent),
      m_sheet(new CMVT_ParameterList(this)),
      m_buttons(new QDialogButtonBox(closeOnly ? QDialogButtonBox::Close
                                               : QDialogButtonBox::Ok | QDialogButtonBox::Cancel,
                                     this))
{
    setWindowTitle(QString::fromStdString(title));
    setSizeGripEnabled(true);
    setPalette(CGuiColors::instance().dialogPalette(palette()));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_sheet, &CMVT_ParameterList::itemChanged, this, &CParametersDialog::itemNotification);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_sheet, 1);
    layout->addWidget(m_buttons);
    resize(560, 420);
}

void CParametersDialog::addBelow(QWidget* widget, int stretch)
{
    auto* box = static_cast<QVBoxLayout*>(layout());
    box->insertWidget(box->count() - 1, widget, stretch);
}
