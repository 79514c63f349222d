#include "kinds/animations/ui/CAnimationFrameEditor.h"

#include "core/CGameStepTimer.h"
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/ui/CCellEditor.h"
#include "grid/ui/CIndexList.h"
#include "grid/ui/CItemPickerDialog.h"
#include "grid/ui/CItemsDropTarget.h"
#include "kinds/animations/CFrameDelay.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/animations/ui/CAnimationPreviewPane.h"
#include "params/ui/CValuePromptDialog.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {
QAction* addEntry(QMenu& menu, const char* label, const char* shortcut, const char* help, bool enabled)
{
    QString text = QString::fromLatin1(label);
    if (*shortcut)
        text += QLatin1Char('\t') + QString::fromLatin1(shortcut);
    QAction* action = menu.addAction(text);
    action->setStatusTip(QString::fromLatin1(help));
    action->setToolTip(QString::fromLatin1(help));
    action->setEnabled(enabled);
    return action;
}
} // namespace

CAnimationFrameEditor::CAnimationFrameEditor(CStepLock& lock, QWidget* parent)
    : QSplitter(Qt::Horizontal, parent), m_edits(lock), m_picker(new CIndexList), m_frames(new CIndexList),
      m_pane(new CAnimationPreviewPane(*this)), m_onionSkin(new QAction(QString::fromLatin1(kOnionSkinText), this))
{
    setObjectName(QStringLiteral("animationFrameEditor"));
    setHandleWidth(kBarWidth);
    setChildrenCollapsible(false);

    m_picker->setObjectName(QStringLiteral("bitmapPicker"));
    m_picker->setDisplayMode(CIndexList::ModeBitmaps);
    m_picker->setMarking(true);
    m_picker->setItemDrags(true);
    m_frames->setObjectName(QStringLiteral("frameList"));
    m_frames->setDisplayMode(CIndexList::ModeFrames);
    m_frames->setPlainFrameRows(true);
    for (CIndexList* list : {m_picker, m_frames}) {
        list->setMinimumWidth(48);
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        list->installEventFilter(this);
        addWidget(list);
    }
    connect(m_picker, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        fillPickerMenu(menu);
        menu.exec(m_picker->mapToGlobal(at));
    });
    connect(m_frames, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        fillFrameMenu(menu);
        menu.exec(m_frames->mapToGlobal(at));
    });
    connect(m_picker, &CIndexList::indexActivated, this, &CAnimationFrameEditor::addToList);
    m_drops = new CItemsDropTarget(
        *m_frames, {GroupBitmaps}, [this] { return m_document; }, lock,
        [this](const QString& text) { return openStep(text); },
        [this](int, const std::vector<int>& bitmaps, QPoint at) { return dropBitmaps(bitmaps, at.y()); });
    // Where the frames would go, while bitmaps are held over the list.
    connect(m_drops, &CItemsDropTarget::dragHovers, this, [this](QPoint at, int count) {
        const int row = m_frames->rowAt(at.y());
        m_frames->setDropMarker(count == 0 ? -1 : row < 0 ? m_frames->rowCount() : row);
    });
    connect(m_frames, &CIndexList::indexActivated, this, [this] { editDelay(); });
    m_askDelay = [this](const QString& current, QString& typed) {
        CValuePromptDialog prompt(kDelayTitle, kDelayPrompt, current.toStdString(), false, this);
        const bool typedOne = prompt.exec() == QDialog::Accepted;
        CCellEditor::giveKeyboardBack(m_frames);
        if (typedOne)
            typed = QString::fromStdString(prompt.value());
        return typedOne;
    };

    auto* previewBox = new QWidget;
    auto* layout = new QVBoxLayout(previewBox);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QToolBar;
    m_onionSkin->setCheckable(true);
    m_onionSkin->setToolTip(QString::fromLatin1(kOnionSkinHelp));
    m_onionSkin->setStatusTip(QString::fromLatin1(kOnionSkinHelp));
    connect(m_onionSkin, &QAction::toggled, this, [this](bool on) {
        m_preview.setOnionSkin(on);
        m_pane->update();
    });
    bar->addAction(m_onionSkin);
    layout->addWidget(bar);
    layout->addWidget(m_pane->view(), 1);
    previewBox->setMinimumWidth(64);
    addWidget(previewBox);

    connect(this, &QSplitter::splitterMoved, this, &CAnimationFrameEditor::storeFractions);
}

CAnimationItem* CAnimationFrameEditor::animation() const
{
    return m_document ? dynamic_cast<CAnimationItem*>(m_document->get(GroupAnimations, m_animation)) : nullptr;
}

int CAnimationFrameEditor::frameCount() const
{
    const CAnimationItem* a = animation();
    return a ? a->frameCount() : 0;
}

int CAnimationFrameEditor::currentFrame() const
{
    const int row = m_frames->selectedIndex();
    return row >= 0 && row < frameCount() ? row : -1;
}

void CAnimationFrameEditor::showAnimation(CResourceHolder* document, int index)
{
    const bool another = document != m_document || index != m_animation;
    m_document = document;
    m_animation = index;
    if (!animation())
        m_animation = -1;
    if (m_picker->holder() != document)
        m_picker->attach(document);
    else
        m_picker->refresh();
    if (m_frames->holder() != document)
        m_frames->attach(document);
    m_frames->setAnimationIndex(m_animation);
    if (another)
        m_frames->select(0);
    m_preview.setDocument(document);
    m_preview.restart(m_animation);
    // Another animation opens with all its frames in view.
    if (another)
        m_pane->view()->fitWhenSized();
    m_pane->update();
    emit previewPlaysChanged();
}

void CAnimationFrameEditor::setPreviewShown(bool shown)
{
    m_preview.setShown(shown);
    emit previewPlaysChanged();
}

// --- splitter --------------------------------------------------------------

void CAnimationFrameEditor::resizeEvent(QResizeEvent* event)
{
    QSplitter::resizeEvent(event);
    applyFractions();
}

void CAnimationFrameEditor::applyFractions()
{
    const int width = this->width();
    const int picker = static_cast<int>(std::lround(m_pickerFraction * width));
    const int rest = std::max(0, width - picker - kBarWidth);
    const int list = static_cast<int>(std::lround(m_listFraction * rest));
    setSizes({picker, list, std::max(0, rest - list - kBarWidth)});
}

void CAnimationFrameEditor::storeFractions()
{
    const QList<int> now = sizes();
    const int width = this->width();
    if (now.size() != 3 || width <= 0)
        return;
    m_pickerFraction = double(now[0]) / width;
    const int rest = width - now[0] - kBarWidth;
    m_listFraction = rest > 0 ? double(now[1]) / rest : kListFraction;
}

// --- menus and keys ---------------------------------------------------------

void CAnimationFrameEditor::fillFrameMenu(QMenu& menu)
{
    menu.setToolTipsVisible(true);
    const int n = frameCount();
    const int row = currentFrame();
    for (const CAnimationFrameEdits::Entry& entry : CAnimationFrameEdits::entries()) {
        if (entry.separatorBefore)
            menu.addSeparator();
        const bool enabled = animation() && CAnimationFrameEdits::enabled(entry.command, n, row);
        QAction* action = addEntry(menu, entry.label, entry.shortcut, entry.help, enabled);
        action->setData(int(entry.command));
        connect(action, &QAction::triggered, this, [this, command = entry.command] { runCommand(command); });
    }
}

void CAnimationFrameEditor::fillPickerMenu(QMenu& menu)
{
    menu.setToolTipsVisible(true);
    const bool enabled = animation() && m_picker->rowCount() > 0;
    QAction* action = addEntry(menu, CAnimationFrameEdits::kAddLabel, CAnimationFrameEdits::kAddShortcut,
                               CAnimationFrameEdits::kAddHelp, enabled);
    connect(action, &QAction::triggered, this, &CAnimationFrameEditor::addToList);
}

std::optional<CAnimationFrameEdits::Command> CAnimationFrameEditor::frameKey(int key,
                                                                             Qt::KeyboardModifiers modifiers) const
{
    const Qt::KeyboardModifiers mods = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool keypad = modifiers & Qt::KeypadModifier;
    using E = CAnimationFrameEdits;
    if (mods == Qt::ControlModifier && key == Qt::Key_Up)
        return E::MoveUp;
    if (mods == Qt::ControlModifier && key == Qt::Key_Down)
        return E::MoveDown;
    if (mods == Qt::NoModifier && key == Qt::Key_Space)
        return E::Remove;
    if (keypad && (key == Qt::Key_Plus || key == Qt::Key_Minus)) {
        const bool plus = key == Qt::Key_Plus;
        if (mods == Qt::NoModifier)
            return plus ? E::IncrementDelay : E::DecrementDelay;
        if (mods == Qt::ShiftModifier)
            return plus ? E::IncrementAllDelays : E::DecrementAllDelays;
    }
    // The main keyboard's + (typed with Shift on most layouts, or its = key
    // unshifted) and − step the current frame.
    if (!keypad && (mods == Qt::NoModifier || mods == Qt::ShiftModifier)) {
        if (key == Qt::Key_Plus || (key == Qt::Key_Equal && mods == Qt::NoModifier))
            return E::IncrementDelay;
        if (key == Qt::Key_Minus && mods == Qt::NoModifier)
            return E::DecrementDelay;
    }
    return std::nullopt;
}

bool CAnimationFrameEditor::pickerKey(int key, Qt::KeyboardModifiers modifiers) const
{
    return key == Qt::Key_Space
           && !(modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

bool CAnimationFrameEditor::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::ShortcutOverride || type == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (watched == m_frames && isFrameValueKey(key->key(), key->modifiers())) {
            event->accept();
            if (type == QEvent::KeyPress) {
                if (key->key() == Qt::Key_F4)
                    pickFrameBitmap();
                else
                    editDelay();
            }
            return true;
        }
        const bool ours = watched == m_frames   ? frameKey(key->key(), key->modifiers()).has_value()
                          : watched == m_picker ? pickerKey(key->key(), key->modifiers())
                                                : false;
        if (!ours)
            return QSplitter::eventFilter(watched, event);
        // The editor's keys win over the main window's while a list has the
        // focus.
        event->accept();
        if (type == QEvent::KeyPress) {
            if (watched == m_picker)
                addToList();
            else if (frameCount() > 0)
                runCommand(*frameKey(key->key(), key->modifiers()));
        }
        return true;
    }
    if (watched == m_frames)
        frameListEvent(event);
    return QSplitter::eventFilter(watched, event);
}

bool CAnimationFrameEditor::frameListEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        m_dragging = mouse->button() == Qt::LeftButton && mouse->modifiers() == Qt::NoModifier;
        if (m_dragging)
            beginGesture(QStringLiteral("Move Frame"));
        return false;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!m_dragging || !(mouse->buttons() & Qt::LeftButton))
            return false;
        // The row under the pointer takes the dragged frame, one row at a
        // time, so the list shows the order as it will be.
        const int row = m_frames->rowAt(static_cast<int>(mouse->position().y()));
        const int from = currentFrame();
        if (row >= 0 && from >= 0 && m_frames->indexOfRow(row) != from)
            moveFrame(from, m_frames->indexOfRow(row));
        return false;
    }
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        endGesture();
        return false;
    default: return false;
    }
}

// --- edits -------------------------------------------------------------------

void CAnimationFrameEditor::applied(const CAnimationFrameEdits::Outcome& outcome)
{
    if (!outcome.changed)
        return;
    m_frames->refresh();
    if (outcome.row >= 0)
        m_frames->select(outcome.row);
    if (outcome.countChanged)
        m_preview.restart(m_animation);
    m_pane->update();
    emit framesChanged(m_animation, outcome.countChanged);
}

std::unique_ptr<CDocumentHistory::Edit> CAnimationFrameEditor::openStep(const QString& text) const
{
    return animation() ? m_step.open(text) : nullptr;
}

void CAnimationFrameEditor::beginGesture(const QString& text)
{
    if (animation())
        m_step.begin(text);
}

void CAnimationFrameEditor::addToList()
{
    CAnimationItem* a = animation();
    if (!a || m_picker->rowCount() == 0)
        return;
    std::vector<int> bitmaps = m_picker->marks();
    if (bitmaps.empty())
        bitmaps.push_back(m_picker->selectedIndex());
    m_picker->clearMarks();
    const auto step = openStep(QString::fromLatin1(CAnimationFrameEdits::kAddLabel));
    applied(m_edits.addFrames(*a, bitmaps));
}

bool CAnimationFrameEditor::dropBitmaps(const std::vector<int>& bitmaps, int y)
{
    CAnimationItem* a = animation();
    if (!a)
        return false;
    const auto step = openStep(QString::fromLatin1(kDropText));
    const int row = m_frames->rowAt(y);
    const CAnimationFrameEdits::Outcome outcome = m_edits.insertFrames(*a, row < 0 ? -1 : m_frames->indexOfRow(row), bitmaps);
    applied(outcome);
    return outcome.changed;
}

void CAnimationFrameEditor::runCommand(CAnimationFrameEdits::Command command)
{
    CAnimationItem* a = animation();
    if (!a)
        return;
    const auto step = openStep(QString::fromLatin1(CAnimationFrameEdits::entries()[command].label).remove(QLatin1Char('&')));
    applied(m_edits.run(*a, command, currentFrame()));
}

void CAnimationFrameEditor::moveFrame(int from, int to)
{
    CAnimationItem* a = animation();
    if (!a)
        return;
    const auto step = openStep(QStringLiteral("Move Frame"));
    applied(m_edits.moveFrame(*a, from, to));
}

void CAnimationFrameEditor::moveOffsets(int row, int dx, int dy)
{
    CAnimationItem* a = animation();
    if (!a)
        return;
    const auto step = openStep(QStringLiteral("Move Frame Offsets"));
    applied(m_edits.moveOffsets(*a, row, dx, dy));
}

void CAnimationFrameEditor::resetOffsets(int row)
{
    CAnimationItem* a = animation();
    if (!a)
        return;
    const auto step = openStep(QStringLiteral("Reset Frame Offsets"));
    applied(m_edits.resetOffsets(*a, row));
}

int CAnimationFrameEditor::stepMs() const
{
    return m_document ? CGameStepTimer::delayFor(*m_document) : CGameStepTimer::kDefaultDelay;
}

bool CAnimationFrameEditor::isFrameValueKey(int key, Qt::KeyboardModifiers modifiers)
{
    return !(modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
           && (key == Qt::Key_F2 || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F4);
}

void CAnimationFrameEditor::editDelay()
{
    const CAnimationItem* a = animation();
    const CAnimationFrame* frame = a ? a->frame(currentFrame()) : nullptr;
    if (!frame || !m_askDelay)
        return;
    QString typed;
    const QString current = QString::fromStdString(CFrameDelay::text(frame->delay, stepMs()));
    if (m_askDelay(current, typed))
        setDelayText(typed);
}

int CAnimationFrameEditor::setDelayText(const QString& text)
{
    CAnimationItem* a = animation();
    const std::optional<int> steps = CFrameDelay::parse(text.toStdString(), stepMs());
    if (!a || !steps || currentFrame() < 0)
        return 0;
    const auto step = openStep(QStringLiteral("Set Frame Delay"));
    const CAnimationFrameEdits::Outcome outcome = m_edits.setDelay(*a, currentFrame(), *steps);
    applied(outcome);
    return outcome.changed ? 1 : 0;
}

void CAnimationFrameEditor::pickFrameBitmap()
{
    CAnimationItem* a = animation();
    const CAnimationFrame* frame = a ? a->frame(currentFrame()) : nullptr;
    if (!frame)
        return;
    CItemPickerDialog picker(m_document, GroupBitmaps, frame->bitmap, this);
    const bool chosen = picker.exec() == QDialog::Accepted;
    CCellEditor::giveKeyboardBack(m_frames);
    if (!chosen)
        return;
    const auto step = openStep(QStringLiteral("Set Frame Bitmap"));
    applied(m_edits.setBitmap(*a, currentFrame(), picker.chosenIndex()));
}

void CAnimationFrameEditor::holdCurrentFrame()
{
    const int row = currentFrame();
    if (row < 0)
        return;
    m_preview.hold(row);
    m_pane->update();
}

void CAnimationFrameEditor::showStep()
{
    if (m_preview.isShown())
        m_pane->update();
}
