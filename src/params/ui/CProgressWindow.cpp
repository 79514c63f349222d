#include "params/ui/CProgressWindow.h"

#include "params/ui/CGuiColors.h"
#include "params/CTaskProgressText.h"
#include "params/ui/CProgressWindowBar.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace {
CProgressWindow::PictureSource& defaultPictures()
{
    static CProgressWindow::PictureSource source;
    return source;
}

// Job logs are 8-bit text with "\r\n" line ends; the box wants plain lines.
QString toBoxText(const std::string& text)
{
    std::string lines;
    lines.reserve(text.size());
    std::copy_if(text.begin(), text.end(), std::back_inserter(lines), [](char c) { return c != '\r'; });
    return QString::fromLocal8Bit(lines.data(), static_cast<qsizetype>(lines.size()));
}

QString fromText(const std::string& text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

QPushButton* makeButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    // Enter must not press whichever button has the focus (Abort, say): it
    // only ends the window, and only once the task is over.
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setIconSize(QSize(24, 24));
    return button;
}
} // namespace

CProgressWindow::CProgressWindow(QWidget* parent, QWidget* mainWindow, PictureSource pictures)
    : QDialog(parent), m_pictures(pictures ? std::move(pictures) : defaultPictures()), m_mainWindow(mainWindow)
{
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_title = new QLabel(this);
    m_title->setAlignment(Qt::AlignCenter);
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    m_title->setFont(titleFont);

    m_animation = new QLabel(this);
    m_animation->setFixedSize(36, 36);
    m_animation->setAlignment(Qt::AlignCenter);
    m_status = new QLabel(this);
    m_bar = new CProgressWindowBar(this);

    // The "%3dh" of the time labels lines the figures up in a fixed font.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_elapsed = new QLabel(this);
    m_total = new QLabel(this);
    m_remaining = new QLabel(this);
    for (QLabel* label : {m_elapsed, m_total, m_remaining}) {
        label->setFont(fixed);
        label->setTextFormat(Qt::PlainText);
    }
    m_title->setTextFormat(Qt::PlainText);
    m_status->setTextFormat(Qt::PlainText);

    m_log = new QPlainTextEdit(this);
    m_log->setReadOnly(true);
    m_log->setFont(fixed);
    m_log->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_log->setMinimumHeight(140);

    m_minimize = makeButton(tr("&Minimize"), this);
    m_pause = makeButton(tr("&Pause"), this);
    m_continue = makeButton(tr("Co&ntinue"), this);
    m_abort = makeButton(tr("&Abort"), this);
    m_close = makeButton(tr("&Close"), this);
    m_minimize->setIcon(picture("TaskProgressMinimize"));
    m_pause->setIcon(picture("TaskProgressPause"));
    m_continue->setIcon(picture("TaskProgressContinue"));
    m_abort->setIcon(picture("TaskProgressClose"));
    m_close->setIcon(picture("TaskProgressClose"));
    connect(m_minimize, &QPushButton::clicked, this, &CProgressWindow::minimizeMainWindow);
    connect(m_pause, &QPushButton::clicked, this, &CProgressWindow::pauseTask);
    connect(m_continue, &QPushButton::clicked, this, &CProgressWindow::continueTask);
    connect(m_abort, &QPushButton::clicked, this, &CProgressWindow::abortTask);
    connect(m_close, &QPushButton::clicked, this, &CProgressWindow::closeWindow);

    auto* progressColumn = new QVBoxLayout;
    progressColumn->addWidget(m_status);
    progressColumn->addWidget(m_bar);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(m_animation, 0, Qt::AlignTop);
    progressRow->addLayout(progressColumn, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_minimize);
    buttons->addWidget(m_pause);
    buttons->addWidget(m_continue);
    buttons->addStretch(1);
    buttons->addWidget(m_abort);
    buttons->addWidget(m_close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addLayout(progressRow);
    layout->addWidget(m_elapsed);
    layout->addWidget(m_total);
    layout->addWidget(m_remaining);
    layout->addWidget(m_log, 1);
    layout->addLayout(buttons);
    setMinimumWidth(460);

    buildAnimation();
    takeColors();
    connect(&CGuiColors::instance(), &CGuiColors::changed, this, &CProgressWindow::takeColors);

    m_timeLabelTimer.setInterval(kTimeLabelInterval);
    m_animationTimer.setInterval(kAnimationInterval);
    connect(&m_timeLabelTimer, &QTimer::timeout, this, &CProgressWindow::onTimeLabelTimer);
    connect(&m_animationTimer, &QTimer::timeout, this, &CProgressWindow::onAnimationTimer);

    // Both callbacks run on the worker thread: they only post to this window.
    // Log changes are folded into one pending update, as a task may append
    // far faster than the box can be redrawn.
    m_runner.log().setChangeCallback([this] {
        if (!m_logPosted.exchange(true))
            QMetaObject::invokeMethod(this, [this] { showLog(); }, Qt::QueuedConnection);
    });
    m_runner.setEndedCallback([this](bool autoClose) {
        const int run = m_run.load();
        QMetaObject::invokeMethod(this, [this, run, autoClose] { onEnded(run, autoClose); }, Qt::QueuedConnection);
    });

    m_close->hide();
    m_close->setEnabled(false);
    m_continue->setEnabled(false);
    refreshTexts();
    refresh();
}

CProgressWindow::~CProgressWindow()
{
    m_timeLabelTimer.stop();
    m_animationTimer.stop();
    // Normally the task has ended by now (the window closes only then); a
    // window torn down with its owner must still not leave a worker behind.
    if (m_runner.hasWorker())
        m_runner.abort();
    m_runner.wait();
    m_runner.setEndedCallback({});
    m_runner.log().setChangeCallback({});
    // The runner, destroyed next, writes the log file.
}

void CProgressWindow::setDefaultPictures(PictureSource source)
{
    defaultPictures() = std::move(source);
}

QPixmap CProgressWindow::picture(const char* id) const
{
    return m_pictures ? m_pictures(id) : QPixmap();
}

QWidget* CProgressWindow::mainWindow() const
{
    if (m_mainWindow)
        return m_mainWindow;
    return parentWidget() ? parentWidget()->window() : nullptr;
}

void CProgressWindow::buildAnimation()
{
    m_frames.clear();
    const QPixmap base = picture("TaskProgress");
    if (base.isNull())
        return;
    // The working picture turns by one twelfth per frame.
    for (int k = 0; k < kAnimationFrames; ++k) {
        QPixmap frame(base.size());
        frame.fill(Qt::transparent);
        QPainter p(&frame);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.translate(base.width() / 2.0, base.height() / 2.0);
        p.rotate(360.0 * k / kAnimationFrames);
        p.drawPixmap(QPointF(-base.width() / 2.0, -base.height() / 2.0), base);
        p.end();
        m_frames.push_back(frame);
    }
    m_animation->setPixmap(m_frames.front());
}

void CProgressWindow::takeColors()
{
    setPalette(CGuiColors::instance().dialogPalette(palette()));
    update();
}

bool CProgressWindow::canClose() const
{
    return !m_active || m_startFailed || m_runner.state() == CTaskRunner::Ended;
}

QString CProgressWindow::elapsedText() const { return m_elapsed->text(); }
QString CProgressWindow::totalText() const { return m_total->text(); }
QString CProgressWindow::remainingText() const { return m_remaining->text(); }
QString CProgressWindow::statusText() const { return m_status->text(); }
QString CProgressWindow::titleText() const { return m_title->text(); }
QString CProgressWindow::logBoxText() const { return m_log->toPlainText(); }

void CProgressWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_active)
        startTask();
}

int CProgressWindow::startTask()
{
    m_active = true;
    m_startFailed = false;
    ++m_run;
    if (QWidget* main = mainWindow())
        m_applicationCaption = main->windowTitle().toLocal8Bit().toStdString();
    // The thread of an earlier run may still be taking its last step.
    if (!m_runner.hasWorker())
        m_runner.wait();
    const int started = m_runner.start();

    m_minimize->setEnabled(true);
    m_pause->setEnabled(true);
    m_pause->show();
    m_continue->setEnabled(false);
    m_continue->show();
    m_abort->setEnabled(true);
    m_abort->show();
    m_close->setEnabled(false);
    m_close->setDefault(false);
    m_close->hide();
    m_frame = 0;
    if (!m_frames.empty())
        m_animation->setPixmap(m_frames.front());
    refreshTexts();
    showLog();
    refresh();
    if (!started) {
        // Without a worker nothing would ever end the task: offer Close at
        // once, marked as a failure, rather than a window that cannot go.
        m_startFailed = true;
        showEndedButtons(true);
        return 0;
    }
    m_animationTimer.start();
    m_timeLabelTimer.start();
    return 1;
}

void CProgressWindow::refresh()
{
    refreshTimeLabels(true);
}

void CProgressWindow::refreshTimeLabels(bool withBar)
{
    const CTaskRunner::TimeLabels labels = m_runner.refreshTimeLabels();
    m_elapsed->setText(fromText(labels.elapsed));
    const bool estimates = m_runner.showEstimates();
    m_total->setVisible(estimates);
    m_remaining->setVisible(estimates);
    m_total->setText(fromText(labels.total));
    m_remaining->setText(fromText(labels.remaining));
    if (withBar || labels.progressChanged)
        refreshBar();
}

void CProgressWindow::refreshBar()
{
    const double current = m_runner.current();
    const double minimum = m_runner.minimum();
    const double maximum = m_runner.maximum();
    m_bar->setProgress(current, minimum, maximum);
    QWidget* main = mainWindow();
    if (!main)
        return;
    if (main->isMinimized()) {
        main->setWindowTitle(
            fromText(CTaskProgressText::minimisedCaption(current, minimum, maximum, m_applicationCaption)));
        m_captionShowsPercent = true;
    } else if (m_captionShowsPercent) {
        // Restored some other way than through this window: the percentage
        // must not stay in its caption.
        main->setWindowTitle(fromText(m_applicationCaption));
        m_captionShowsPercent = false;
    }
}

void CProgressWindow::refreshTexts()
{
    const QString title = fromText(m_runner.taskTitle());
    if (m_title->text() != title) {
        m_title->setText(title);
        setWindowTitle(title);
    }
    const QString status = fromText(m_runner.statusLine());
    if (m_status->text() != status)
        m_status->setText(status);
}

void CProgressWindow::showLog()
{
    m_logPosted = false; // changes from here on post again
    std::string text = m_runner.log().displayedText();
    if (text == m_shownLog)
        return;
    QScrollBar* scroll = m_log->verticalScrollBar();
    if (text.size() > m_shownLog.size() && text.compare(0, m_shownLog.size(), m_shownLog) == 0) {
        // Appending keeps a long log cheap to follow.
        QTextCursor cursor(m_log->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(toBoxText(text.substr(m_shownLog.size())));
    } else {
        m_log->setPlainText(toBoxText(text));
    }
    scroll->setValue(scroll->maximum());
    m_shownLog = std::move(text);
}

void CProgressWindow::onTimeLabelTimer()
{
    refreshTimeLabels(false);
    refreshTexts();
}

void CProgressWindow::onAnimationTimer()
{
    if (m_frames.empty())
        return;
    m_frame = (m_frame + 1) % kAnimationFrames;
    m_animation->setPixmap(m_frames[static_cast<std::size_t>(m_frame)]);
}

void CProgressWindow::onEnded(int run, bool autoClose)
{
    if (run != m_run.load() || !m_active)
        return;
    m_timeLabelTimer.stop();
    refresh(); // the runner has put the bar at its maximum: 100.00 %
    refreshTexts();
    showLog();
    if (QWidget* main = mainWindow(); main && (main->isMinimized() || m_captionShowsPercent)) {
        main->setWindowTitle(fromText(m_applicationCaption));
        m_captionShowsPercent = false;
    }
    if (autoClose) {
        m_animationTimer.stop();
        QMetaObject::invokeMethod(
            this,
            [this, run] {
                if (run == m_run.load())
                    closeWindow();
            },
            Qt::QueuedConnection);
        return;
    }
    showEndedButtons(m_runner.isAborted());
}

QPixmap CProgressWindow::animationPicture() const { return m_animation->pixmap(); }

void CProgressWindow::showEndedButtons(bool aborted)
{
    const QPixmap ended = picture(aborted ? "TaskProgressClose" : "TaskProgressEnded");
    m_close->setIcon(ended);
    // A spinner left standing reads as work still going on: the end shows
    // the same mark as the Close button.
    m_animation->setPixmap(ended.scaled(m_animation->size() - QSize(4, 4), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_close->setEnabled(true);
    m_close->show();
    m_close->setDefault(true);
    m_abort->hide();
    m_pause->setEnabled(false);
    m_continue->setEnabled(false);
    m_close->setFocus();
    m_animationTimer.stop();
    update();
}

void CProgressWindow::minimizeMainWindow()
{
    QWidget* main = mainWindow();
    if (!main)
        return;
    if (!main->isMinimized()) {
        m_applicationCaption = main->windowTitle().toLocal8Bit().toStdString();
        main->setWindowState(main->windowState() | Qt::WindowMinimized);
    }
    refreshBar();
}

void CProgressWindow::restoreMainWindow()
{
    QWidget* main = mainWindow();
    if (!main || !main->isMinimized())
        return;
    main->setWindowTitle(fromText(m_applicationCaption));
    m_captionShowsPercent = false;
    main->setWindowState(main->windowState() & ~Qt::WindowMinimized);
}

void CProgressWindow::pauseTask()
{
    if (!m_runner.pause())
        return;
    m_continue->setEnabled(true);
    m_pause->setEnabled(false);
    refresh();
    m_timeLabelTimer.stop();
    m_animationTimer.stop();
}

void CProgressWindow::continueTask()
{
    if (!m_runner.resume())
        return;
    m_pause->setEnabled(true);
    m_continue->setEnabled(false);
    resumeTimers();
}

void CProgressWindow::resumeTimers()
{
    if (m_runner.state() == CTaskRunner::Ended)
        return;
    m_timeLabelTimer.start();
    m_animationTimer.start();
}

void CProgressWindow::abortTask()
{
    // The flag goes up first, and a paused task is let go so that it sees it.
    const bool wasPaused = m_runner.isPaused();
    m_runner.abort();
    m_abort->setEnabled(false);
    if (wasPaused)
        resumeTimers();
    m_continue->setEnabled(false);
    m_pause->setEnabled(false);
}

void CProgressWindow::closeWindow()
{
    done(QDialog::Accepted);
}

void CProgressWindow::done(int result)
{
    if (!canClose())
        return;
    m_active = false;
    // The job is over: its log goes to the file now, and the texts are
    // emptied so that a later run starts a fresh job. Writing is then
    // switched off, or the runner's own final write would store an empty
    // log over this one.
    CTaskLog& log = m_runner.log();
    if (log.logToFile()) {
        log.writeLogFile();
        log.disableLogFile();
    }
    m_timeLabelTimer.stop();
    m_animationTimer.stop();
    m_runner.wait(); // the worker is past the task, taking its last step
    if (QWidget* main = mainWindow(); main && m_captionShowsPercent) {
        main->setWindowTitle(fromText(m_applicationCaption));
        m_captionShowsPercent = false;
    }
    QDialog::done(result);
}

bool CProgressWindow::event(QEvent* event)
{
    // Coming back to the progress window brings the minimised main window
    // back with its own caption.
    if (event->type() == QEvent::WindowActivate)
        restoreMainWindow();
    return QDialog::event(event);
}

void CProgressWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        reject();
        return;
    case Qt::Key_Enter:
    case Qt::Key_Return:
        accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
