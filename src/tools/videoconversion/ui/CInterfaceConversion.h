#pragma once

#include "tools/videoconversion/CConversionProgress.h"

#include <QObject>
#include <QPointer>

class QStatusBar;

// A conversion running on the interface thread: the wait cursor is shown,
// the status bar carries its progress texts, and Escape asks it to stop
// after the current frame. Other keys and mouse clicks are held back
// meanwhile, so that no command starts halfway through.
class CInterfaceConversion : public QObject {
    Q_OBJECT
public:
    explicit CInterfaceConversion(QStatusBar* statusBar);
    ~CInterfaceConversion() override;

    CConversionProgress progress();
    bool stopRequested();
    // The last word in the status bar: "Done." or why it ended early.
    void showEnd(const CConversionResult& result);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QStatusBar> m_statusBar;
    bool m_stop = false;
};
