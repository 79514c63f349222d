#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QAction;
class QWidget;

// The panel buttons of the command bar open their panel when something is
// dragged onto them and held there a moment, so that a bitmap dragged from
// the Bitmaps grid can be carried to the frame list, a map or a world. The
// button takes no drop itself.
class CDragPanelSwitch : public QObject {
    Q_OBJECT
public:
    static constexpr int kHoldMs = 450;

    explicit CDragPanelSwitch(QObject* parent = nullptr);
    // `button` shows `action`, which opens a panel.
    void watch(QWidget* button, QAction* action);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTimer m_hold;
    QPointer<QAction> m_pending;
};
