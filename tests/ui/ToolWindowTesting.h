#pragma once

#include "params/ui/CMVT_ParamButton.h"
#include "params/ui/CPictureButton.h"
#include "params/ui/CProgressWindow.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

// Drives the modal windows a tool opens (progress windows, dialogs) the way a
// user would: every few milliseconds, while a visible top-level window of
// type T exists, `step` runs on it until it answers true. The watch ends
// after `timeoutMs` whether or not the window came.
template <class T> void whileShown(std::function<bool(T&)> step, int timeoutMs = 60000)
{
    auto* timer = new QTimer;
    auto elapsed = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, step, elapsed, timeoutMs] {
        *elapsed += 10;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<T*>(w); window && window->isVisible()) {
                if (step(*window)) {
                    timer->stop();
                    timer->deleteLater();
                }
                return;
            }
        if (*elapsed > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}

// The user closes a progress window once its task has ended.
// The task's state says it ended a moment before the window hears of it and
// offers Close; a click on the button before then would do nothing.
inline bool closeWhenEnded(CProgressWindow& window)
{
    QPushButton* close = window.closeButton();
    if (!window.canClose() || !close->isEnabled() || close->isHidden())
        return false;
    close->click();
    return true;
}

inline void press(CMVT_ParamButton& button) { button.button()->click(); }
