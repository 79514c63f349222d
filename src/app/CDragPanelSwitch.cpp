#include "app/CDragPanelSwitch.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QVariant>
#include <QWidget>

namespace {
constexpr const char* kActionProperty = "dragSwitchAction";
}

CDragPanelSwitch::CDragPanelSwitch(QObject* parent) : QObject(parent)
{
    m_hold.setSingleShot(true);
    m_hold.setInterval(kHoldMs);
    connect(&m_hold, &QTimer::timeout, this, [this] {
        if (m_pending)
            m_pending->trigger();
    });
}

void CDragPanelSwitch::watch(QWidget* button, QAction* action)
{
    if (!button || !action)
        return;
    button->setProperty(kActionProperty, QVariant::fromValue(static_cast<QObject*>(action)));
    button->setAcceptDrops(true);
    button->installEventFilter(this);
}

bool CDragPanelSwitch::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter: {
        // Accepted, so that leaving is told; the drop itself is refused.
        static_cast<QDragEnterEvent*>(event)->acceptProposedAction();
        m_pending = qobject_cast<QAction*>(watched->property(kActionProperty).value<QObject*>());
        m_hold.start();
        return true;
    }
    case QEvent::DragLeave:
        m_hold.stop();
        return true;
    case QEvent::Drop:
        m_hold.stop();
        static_cast<QDropEvent*>(event)->ignore();
        return true;
    default: return QObject::eventFilter(watched, event);
    }
}
