#include "document/CChildFrame.h"

#include "document/CQuillopDoc.h"
#include "document/CQuillopView.h"

#include <QCloseEvent>

CChildFrame::CChildFrame(CQuillopDoc* document, QWidget* parent)
    : QMdiSubWindow(parent), m_document(document), m_view(new CQuillopView(*document))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(m_view);
    // Parented after the view so that the view, whose panels read the
    // document, is destroyed first.
    m_document->setParent(this);
    setWindowTitle(m_document->title());
    connect(m_document, &CQuillopDoc::titleChanged, this, &QWidget::setWindowTitle);
}

CChildFrame::~CChildFrame()
{
    // The view's timer steps panels that read the document: stop it first.
    m_view->deactivateView();
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    if (!m_document->canClose()) {
        event->ignore();
        return;
    }
    m_view->deactivateView();
    QMdiSubWindow::closeEvent(event);
}
