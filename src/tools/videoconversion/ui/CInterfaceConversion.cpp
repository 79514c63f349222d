#include "tools/videoconversion/ui/CInterfaceConversion.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStatusBar>

CInterfaceConversion::CInterfaceConversion(QStatusBar* statusBar) : m_statusBar(statusBar)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    qApp->installEventFilter(this);
}

CInterfaceConversion::~CInterfaceConversion()
{
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
}

CConversionProgress CInterfaceConversion::progress()
{
    CConversionProgress progress;
    progress.status = [this](const std::string& text, int, int) {
        if (!m_statusBar)
            return;
        m_statusBar->showMessage(QString::fromStdString(text).trimmed());
        m_statusBar->repaint();
    };
    progress.stopRequested = [this] { return stopRequested(); };
    return progress;
}

bool CInterfaceConversion::stopRequested()
{
    QCoreApplication::processEvents();
    return m_stop;
}

void CInterfaceConversion::showEnd(const CConversionResult& result)
{
    if (m_statusBar)
        m_statusBar->showMessage(result.done() ? QStringLiteral("Done.")
                                               : QStringLiteral("Stopped after %1 frames: %2")
                                                     .arg(result.frames)
                                                     .arg(QString::fromStdString(result.reason())));
}

bool CInterfaceConversion::eventFilter(QObject* watched, QEvent* event)
{
    // A dialog the conversion opened (the compression choice) works as usual.
    if (QApplication::activeModalWidget())
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            m_stop = true;
        return true;
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}
