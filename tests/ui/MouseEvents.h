#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

// Sends one mouse event as the window system would: a press, move, release
// or double click of `button` with `held` the buttons down after it.
inline void sendMouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
                      Qt::KeyboardModifiers modifiers = {})
{
    QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), button, held, modifiers);
    QApplication::sendEvent(&widget, &event);
}

// A left-button drag through the points, pressed at the first and released
// at the last.
inline void dragThrough(QWidget& widget, std::initializer_list<QPoint> points, Qt::KeyboardModifiers modifiers = {},
                        Qt::MouseButton button = Qt::LeftButton)
{
    const QPoint* p = points.begin();
    sendMouse(widget, QEvent::MouseButtonPress, *p, button, button, modifiers);
    for (++p; p != points.end(); ++p)
        sendMouse(widget, QEvent::MouseMove, *p, Qt::NoButton, button, modifiers);
    sendMouse(widget, QEvent::MouseButtonRelease, *(points.end() - 1), button, Qt::NoButton, modifiers);
}

inline void sendWheel(QWidget& widget, QPoint at, int delta, Qt::KeyboardModifiers modifiers = {})
{
    QWheelEvent event(QPointF(at), QPointF(widget.mapToGlobal(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &event);
}
