#include "grid/ui/CImageChooserDialog.h"

#include "params/ui/CGuiColors.h"
#include "grid/ui/CIndexList.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QVBoxLayout>

CImageChooserDialog::CImageChooserDialog(const CResourceHolder* document, int current, QWidget* parent)
    : QDialog(parent), m_list(new CIndexList(this))
{
    setWindowTitle(QString::fromLatin1(kTitle));
    setPalette(CGuiColors::instance().dialogPalette(palette()));
    m_list->setEmptyRow(true);
    m_list->setDisplayMode(CIndexList::ModeBitmaps);
    m_list->attach(document);
    m_list->select(current);
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    auto* inner = new QVBoxLayout(frame);
    inner->setContentsMargins(1, 1, 1, 1);
    inner->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &CIndexList::indexActivated, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame, 1);
    layout->addWidget(buttons);
    resize(360, 420);
    m_list->setFocus();
}

int CImageChooserDialog::chosenIndex() const { return m_list->selectedIndex(); }
