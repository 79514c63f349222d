#include "kinds/trajectories/ui/CTrajectoryPlayerView.h"

#include "grid/CellValue.h"
#include "grid/ui/CImageChooserDialog.h"
#include "grid/ui/CZoomView.h"
#include "kinds/trajectories/ui/TrajectoryPlayer.h"
#include "params/ui/CUiServices.h"

#include <QAction>
#include <QMouseEvent>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {
// The tool bar picture of that ID in the program's interface file; none
// without a running program (the button then shows its text).
QIcon toolBarIcon(const char* id)
{
    return CUiServices::toolBarIcon(id);
}

// A tool bar button that reports how far the pointer moved while it is held
// down, for the controls that are dragged rather than clicked.
class CDragButton : public QToolButton {
public:
    explicit CDragButton(std::function<void(QPoint)> dragged) : m_dragged(std::move(dragged)) {}

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        QToolButton::mousePressEvent(event);
        m_last = event->globalPosition().toPoint();
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        const QPoint now = event->globalPosition().toPoint();
        if ((event->buttons() & Qt::LeftButton) && now != m_last) {
            m_dragged(now - m_last);
            m_last = now;
        }
    }

private:
    std::function<void(QPoint)> m_dragged;
    QPoint m_last;
};
} // namespace

CTrajectoryPlayerView::CTrajectoryPlayerView(QWidget* parent)
    : QWidget(parent), m_player(new TrajectoryPlayer), m_bar(new QToolBar)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_bar);
    layout->addWidget(m_player->view(), 1);
    // With the program's pictures the buttons show them; without (a test)
    // their texts.
    m_bar->setToolButtonStyle(toolBarIcon("ToolBarMoveToOrigin").isNull() ? Qt::ToolButtonTextOnly
                                                                          : Qt::ToolButtonIconOnly);

    auto add = [this](const char* command, const char* text, const char* tip, const char* picture) {
        QAction* action = m_bar->addAction(QString::fromLatin1(text));
        action->setIcon(toolBarIcon(picture));
        action->setObjectName(QString::fromLatin1(command));
        action->setToolTip(QString::fromLatin1(tip));
        action->setStatusTip(QString::fromLatin1(tip));
        return action;
    };
    auto addDrag = [this](const char* command, const char* tip, const char* picture,
                          std::function<void(QPoint)> dragged) {
        auto* button = new CDragButton(std::move(dragged));
        button->setObjectName(QString::fromLatin1(command));
        button->setToolTip(QString::fromLatin1(tip));
        button->setIcon(toolBarIcon(picture));
        button->setToolButtonStyle(button->icon().isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
        button->setCursor(Qt::SizeAllCursor);
        m_bar->addWidget(button);
        return button;
    };

    connect(add("MoveViewOrigin", "Origin", "Move view to origin 0x 0y", "ToolBarMoveToOrigin"), &QAction::triggered,
            this, [this] { m_player->setOrigin(QPoint(0, 0)); });
    addDrag("MoveView", "Move view", "ToolBarMoveView", [this](QPoint d) {
        m_player->view()->scrollByPixels(d);
    })->setText(tr("Move"));
    connect(add("MoveViewCenterTrajectory", "Center", "Center the trajectory path in the display",
                "ToolBarCenterContentsInView"),
            &QAction::triggered, m_player, &TrajectoryPlayer::centreTrajectory);
    QAction* follow =
        add("MoveViewCenterObject", "Follow", "Center the moving object in the display", "ToolBarCenterObjectInView");
    follow->setCheckable(true);
    connect(follow, &QAction::toggled, m_player, &TrajectoryPlayer::setCentreOnObject);
    QAction* hide = add("HideTrajectory", "Hide", "Hide the drawing of the trajectory path", "ToolBarHideTrajectory");
    hide->setCheckable(true);
    connect(hide, &QAction::toggled, m_player, &TrajectoryPlayer::setHideTrajectory);
    m_bar->addSeparator();
    m_speedControl =
        addDrag("PlaySpeed", "Change the play speed", "ToolBarPlayValue", [this](QPoint d) { dragSpeed(d.y()); });
    connect(add("SetPlaySpeed", "Speed...", "Set the play speed", "ToolBarPlay"), &QAction::triggered, this,
            &CTrajectoryPlayerView::promptPlaySpeed);
    m_speedControl->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_bar->addSeparator();
    connect(
        add("ChoseBmpBackground", "Background...", "Chose the background object's bitmap", "ToolBarBackgroundBitmap"),
        &QAction::triggered, this, [this] { chooseBitmap(true); });
    connect(add("ChoseBmpObject", "Object...", "Chose the moving object's bitmap", "ToolBarObjectBitmap"),
            &QAction::triggered, this, [this] { chooseBitmap(false); });
    showSpeed();
}

QAction* CTrajectoryPlayerView::action(const char* command) const
{
    for (QAction* a : m_bar->actions())
        if (a->objectName() == QLatin1String(command))
            return a;
    return nullptr;
}

QString CTrajectoryPlayerView::speedText() const
{
    return m_speedControl->text();
}

void CTrajectoryPlayerView::showSpeed()
{
    char text[64];
    std::snprintf(text, sizeof text, "%.2f %%  ", m_player->speed() * 100.0);
    m_speedControl->setText(QString::fromLatin1(text));
}

void CTrajectoryPlayerView::dragSpeed(int d)
{
    m_player->setSpeed(m_player->speed() - d * 0.01);
    showSpeed();
}

bool CTrajectoryPlayerView::promptPlaySpeed()
{
    char offered[64];
    std::snprintf(offered, sizeof offered, "%.2f", m_player->speed() * 100.0);
    std::string text = offered;
    if (!CUiServices::valuePrompter().promptValue(this, kSpeedPromptTitle, kSpeedPromptText, text, false))
        return false;
    const double percent = CellValue::readReal(text);
    // "nan" reads as a number but is no speed: the speed stays.
    if (!std::isnan(percent))
        m_player->setSpeed(percent * 0.01);
    showSpeed();
    return true;
}

void CTrajectoryPlayerView::chooseBitmap(bool background)
{
    const int current = (background ? m_player->backgroundBitmap() : m_player->objectBitmap()) - 1;
    CImageChooserDialog dialog(m_player->holder(), current, this);
    dialog.setWindowTitle(QString::fromLatin1(background ? kBackgroundTitle : kObjectTitle));
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (background)
        m_player->setBackgroundBitmap(dialog.chosenIndex() + 1);
    else
        m_player->setObjectBitmap(dialog.chosenIndex() + 1);
}
