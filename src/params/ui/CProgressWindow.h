#pragma once

#include "params/CTaskRunner.h"

#include <QDialog>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

class CProgressWindowBar;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The window that watches a long task: the bar with its percentage, the
// elapsed, total and remaining times, a working animation, the job log and
// the Minimize / Pause / Continue / Abort / Close buttons.
//
// A tool hands it a task (setTask), clears auto-close and runs it with
// exec(); the task starts when the window is shown and exec() returns once
// the user closes the window after the task has ended. show() starts it as
// well, for callers that keep their own event loop.
//
// The task runs on the runner's worker thread. Nothing of the window is
// touched from there: the runner's end and the log's changes are posted to
// the window's own thread, and the timers read the progress values.
class CProgressWindow : public QDialog {
    Q_OBJECT
public:
    // The window's pictures by bitmap ID ("TaskProgressPause" ...); a null
    // picture leaves the button with its text alone.
    using PictureSource = std::function<QPixmap(const std::string& id)>;

    static constexpr int kTimeLabelInterval = 80; // ms
    static constexpr int kAnimationInterval = 50; // ms
    static constexpr int kAnimationFrames = 12;   // one turn of the working picture
    static constexpr const char* kDefaultCaption = "Application";

    // The main window is the one whose caption shows the percentage while it
    // is minimised; without one, the parent's window is used.
    explicit CProgressWindow(QWidget* parent = nullptr, QWidget* mainWindow = nullptr, PictureSource pictures = {});
    // Waits for a task that still runs (asking it to stop first, as nothing
    // could watch it any more); the runner then writes the log file.
    ~CProgressWindow() override;

    // The pictures of every window made without its own source; the program
    // installs its interface resources here once they are read.
    static void setDefaultPictures(PictureSource source);

    CTaskRunner& runner() { return m_runner; }
    const CTaskRunner& runner() const { return m_runner; }
    void setTask(CTaskRunner::Task task) { m_runner.setTask(std::move(task)); }
    void setAutoClose(bool on) { m_runner.setAutoClose(on); }
    void setShowEstimates(bool on) { m_runner.setShowEstimates(on); }

    // True from the start of a task until the user closes the window.
    bool isActive() const { return m_active; }
    // Close, Enter and Escape act only once the task has ended.
    bool canClose() const;
    // The main window's caption as it was when the task started.
    const std::string& applicationCaption() const { return m_applicationCaption; }

    QPushButton* minimizeButton() const { return m_minimize; }
    QPushButton* pauseButton() const { return m_pause; }
    QPushButton* continueButton() const { return m_continue; }
    QPushButton* abortButton() const { return m_abort; }
    QPushButton* closeButton() const { return m_close; }
    const CProgressWindowBar* bar() const { return m_bar; }
    QString elapsedText() const;
    QString totalText() const;
    QString remainingText() const;
    QString statusText() const;
    QString titleText() const;
    QString logBoxText() const;
    // The animation's current frame, 0 .. kAnimationFrames - 1.
    int animationFrame() const { return m_frame; }
    bool isAnimating() const { return m_animationTimer.isActive(); }
    // What the animation's place shows: a frame while the task runs, the
    // Close button's mark once it has ended.
    QPixmap animationPicture() const;

    void done(int result) override;

public slots:
    void minimizeMainWindow();
    void pauseTask();
    void continueTask();
    void abortTask();
    void closeWindow();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int startTask();
    void refresh();
    void refreshTimeLabels(bool withBar);
    void refreshBar();
    void refreshTexts();
    void showLog();
    void onTimeLabelTimer();
    void onAnimationTimer();
    void onEnded(int run, bool autoClose);
    void showEndedButtons(bool aborted);
    void resumeTimers();
    void restoreMainWindow();
    void buildAnimation();
    void takeColors();
    QPixmap picture(const char* id) const;
    QWidget* mainWindow() const;

    CTaskRunner m_runner;
    PictureSource m_pictures;
    QPointer<QWidget> m_mainWindow;
    std::string m_applicationCaption = kDefaultCaption;
    bool m_captionShowsPercent = false;
    bool m_active = false;
    bool m_startFailed = false;
    std::atomic<bool> m_logPosted{false};
    // Which run an end notice belongs to: one still queued when the window
    // is shown again must not end the next run.
    std::atomic<int> m_run{0};
    std::string m_shownLog;

    QTimer m_timeLabelTimer;
    QTimer m_animationTimer;
    std::vector<QPixmap> m_frames;
    int m_frame = 0;

    QLabel* m_title = nullptr;
    QLabel* m_status = nullptr;
    CProgressWindowBar* m_bar = nullptr;
    QLabel* m_elapsed = nullptr;
    QLabel* m_total = nullptr;
    QLabel* m_remaining = nullptr;
    QLabel* m_animation = nullptr;
    QPlainTextEdit* m_log = nullptr;
    QPushButton* m_minimize = nullptr;
    QPushButton* m_pause = nullptr;
    QPushButton* m_continue = nullptr;
    QPushButton* m_abort = nullptr;
    QPushButton* m_close = nullptr;
};
