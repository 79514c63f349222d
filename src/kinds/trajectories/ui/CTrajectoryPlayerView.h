#pragma once

#include <QWidget>

class CResourceHolder;
class QAction;
class QToolBar;
class QToolButton;
class TrajectoryPlayer;

// The trajectory player with its tool bar: view origin, centring, the two
// toggles, the play speed (dragged or typed) and the two bitmaps the player
// draws.
class CTrajectoryPlayerView : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kSpeedPromptTitle = "Set Play Speed";
    static constexpr const char* kSpeedPromptText = "Play Speed in Percentage (-10000 to 10000)";
    static constexpr const char* kBackgroundTitle = "Chose Background Bitmap";
    static constexpr const char* kObjectTitle = "Chose Moving Object Bitmap";

    explicit CTrajectoryPlayerView(QWidget* parent = nullptr);

    TrajectoryPlayer* player() const { return m_player; }
    QToolBar* toolBar() const { return m_bar; }
    // The tool bar entry of a command name ("MoveViewOrigin"...), or nullptr.
    QAction* action(const char* command) const;

    // Asks for the player speed as a percentage; false on Cancel.
    bool promptPlaySpeed();
    // A drag of d units on the speed control.
    void dragSpeed(int d);
    // The speed control's text.
    QString speedText() const;

private:
    void chooseBitmap(bool background);
    void showSpeed();

    TrajectoryPlayer* m_player;
    QToolBar* m_bar;
    QToolButton* m_speedControl;
};
