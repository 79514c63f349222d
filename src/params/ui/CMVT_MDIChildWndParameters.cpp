#include "params/ui/CMVT_MDIChildWndParameters.h"

#include "params/ui/CMVT_DocumentParameters.h"
#include "params/ui/CMVT_ParametersDocument.h"
#include "params/ui/CMVT_ViewParameters.h"

#include <QCloseEvent>
#include <QMdiArea>

CMVT_MDIChildWndParameters::CMVT_MDIChildWndParameters(CMVT_ParametersDocument* tool, QWidget* parent)
    : QMdiSubWindow(parent), m_view(new CMVT_ViewParameters(tool)), m_document(new CMVT_DocumentParameters(tool, this))
{
    setWidget(m_view);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tool->windowTitle());
    setWindowIcon(tool->windowIcon());
    setMinimumSize(CMVT_ParametersDocument::kMinimumWidth, CMVT_ParametersDocument::kMinimumHeight);
    connect(tool, &QWidget::windowTitleChanged, this, &QWidget::setWindowTitle);
    connect(this, &QMdiSubWindow::windowStateChanged, this, [this](Qt::WindowStates before, Qt::WindowStates now) {
        if ((now & Qt::WindowActive) && !(before & Qt::WindowActive))
            this->tool()->onActivated();
    });
    connect(tool, &CMVT_ParametersDocument::closeRequested, this, &QWidget::close);
}

void CMVT_MDIChildWndParameters::closeEvent(QCloseEvent* event)
{
    if (!tool()->prepareClose()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

CMVT_MDIChildWndParameters* CMVT_MDIChildWndParameters::open(QMdiArea* area, CMVT_ParametersDocument* tool)
{
    auto* frame = new CMVT_MDIChildWndParameters(tool);
    area->addSubWindow(frame);
    frame->show();
    return frame;
}

CMVT_ParametersDocument* CMVT_MDIChildWndParameters::tool() const { return m_view->tool(); }
