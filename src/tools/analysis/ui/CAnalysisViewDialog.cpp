#include "tools/analysis/ui/CAnalysisViewDialog.h"

#include "tools/analysis/CAnalysisView.h"
#include "tools/analysis/ui/CAnalysisPicture.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

CAnalysisViewDialog::CAnalysisViewDialog(CAnalysisView& view, QWidget* parent)
    : QDialog(parent), m_view(view), m_picture(new CAnalysisPicture(view)), m_scroll(new QScrollArea(this))
{
    setWindowTitle(QString::fromLatin1(kTitle));
    m_lowerBefore.copyFrom(view.lower());
    m_upperBefore.copyFrom(view.upper());

    auto* hint = new QLabel(tr("Drag with the left button to draw the lower bound (green), with the right button "
                               "the upper bound (red)."),
                            this);
    hint->setWordWrap(true);
    m_scroll->setWidget(m_picture);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(m_scroll, 1);
    layout->addWidget(buttons);
    const QSize picture = m_picture->sizeHint();
    resize(std::min(picture.width() + 40, 1200), std::min(picture.height() + 110, 900));
}

void CAnalysisViewDialog::reject()
{
    m_view.lower().copyFrom(m_lowerBefore);
    m_view.upper().copyFrom(m_upperBefore);
    QDialog::reject();
}
