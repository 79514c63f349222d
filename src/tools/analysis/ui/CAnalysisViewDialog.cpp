#include "tools/analysis/ui/CAnalysisViewDialog.h"

#include "grid/ui/CZoomView.h"
#include "tools/analysis/CAnalysisView.h"
#include "tools/analysis/ui/CAnalysisPicture.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

CAnalysisViewDialog::CAnalysisViewDialog(CAnalysisView& view, QWidget* parent)
    : QDialog(parent), m_view(view), m_picture(new CAnalysisPicture(view)), m_zoom(new CZoomView(m_picture, this))
{
    setWindowTitle(QString::fromLatin1(kTitle));
    m_lowerBefore.copyFrom(view.lower());
    m_upperBefore.copyFrom(view.upper());

    auto* hint = new QLabel(tr("Drag with the left button to draw the lower bound (green), with the right button "
                               "the upper bound (red)."),
                            this);
    hint->setWordWrap(true);
    m_zoom->setLinkedAxes(false);
    m_zoom->setContentRect(QRectF(QPointF(0, 0), QSizeF(m_picture->sizeHint())));
    m_picture->setZoomView(m_zoom);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(m_zoom, 1);
    layout->addWidget(buttons);
    const QSize picture = m_picture->sizeHint();
    resize(std::min(picture.width() + 60, 1200), std::min(picture.height() + 130, 900));
}

void CAnalysisViewDialog::reject()
{
    m_view.lower().copyFrom(m_lowerBefore);
    m_view.upper().copyFrom(m_upperBefore);
    QDialog::reject();
}
