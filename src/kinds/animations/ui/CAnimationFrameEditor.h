#pragma once

#include "grid/ui/CGestureStep.h"
#include "kinds/animations/CAnimationFrameEdits.h"
#include "kinds/animations/CAnimationPreview.h"

#include <QSplitter>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CAnimationItem;
class QString;
class CAnimationPreviewPane;
class CIndexList;
class CItemsDropTarget;
class CResourceHolder;
class CStepLock;
class QAction;
class QMenu;

// The frame editor beside the Animations grid: the bitmap picker, the
// current animation's frame list and the live preview, side by side behind
// two splitter bars. The picker adds frames (Space, or its menu; bitmaps
// marked with Ctrl+click go in the order they were marked), the frame list
// orders and times them (its menu and keys, or a drag of a row), the
// preview moves their offsets with the mouse. Every edit holds the panel's
// step lock and is announced with framesChanged.
class CAnimationFrameEditor : public QSplitter {
    Q_OBJECT
public:
    static constexpr int kBarWidth = 7;
    // The picker's share of the width, and the frame list's share of what
    // lies right of the first bar.
    static constexpr double kPickerFraction = 0.2;
    static constexpr double kListFraction = 0.3;
    static constexpr const char* kOnionSkinText = "Onion Skin";
    static constexpr const char* kOnionSkinHelp = "Show the frame before the current one faintly behind it";

    explicit CAnimationFrameEditor(CStepLock& lock, QWidget* parent = nullptr);

    // Lists the document's bitmaps and the frames of animation `index`
    // (-1: none); the preview plays it again from its start.
    void showAnimation(CResourceHolder* document, int index);
    int animationIndex() const { return m_animation; }
    // The frame list's current row, -1 without a frame.
    int currentFrame() const;

    CIndexList* picker() const { return m_picker; }
    CIndexList* frameList() const { return m_frames; }
    CAnimationPreviewPane* previewPane() const { return m_pane; }
    CAnimationPreview& preview() { return m_preview; }
    QAction* onionSkinAction() const { return m_onionSkin; }
    double pickerFraction() const { return m_pickerFraction; }
    double listFraction() const { return m_listFraction; }

    // The two context menus as they stand.
    void fillFrameMenu(QMenu& menu);
    void fillPickerMenu(QMenu& menu);

    // The edits; each refreshes the frame list and tells the panel.
    void addToList();
    void runCommand(CAnimationFrameEdits::Command command);
    void moveFrame(int from, int to);
    // Bitmaps dropped on the frame list become frames before the row under
    // `y` (after the last row: at the end).
    bool dropBitmaps(const std::vector<int>& bitmaps, int y);
    static constexpr const char* kDropText = "Drop Bitmaps as Frames";
    CItemsDropTarget* dropTarget() const { return m_drops; }
    // Row -1: every frame.
    void moveOffsets(int row, int dx, int dy);
    void resetOffsets(int row);
    // The current frame's delay typed in milliseconds or steps (F2, Enter or
    // a double-click on a frame): asks, then stores it as one step.
    void editDelay();
    // Stores a typed delay ("80", "80 ms", "10 steps") in the current frame:
    // 1 when it changed.
    int setDelayText(const QString& text);
    // The current frame's bitmap picked by name and picture (F4): one step.
    void pickFrameBitmap();
    // How editDelay asks: the prompt's window by default; a test answers
    // itself. False when dismissed.
    using DelayAsker = std::function<bool(const QString& current, QString& typed)>;
    void setDelayAsker(DelayAsker ask) { m_askDelay = std::move(ask); }
    static constexpr const char* kDelayTitle = "Frame Delay";
    static constexpr const char* kDelayPrompt = "Delay in milliseconds (or \"10 steps\")";
    // Shows the frame list's current frame in the preview and keeps it there
    // for a while.
    void holdCurrentFrame();

    // Every edit is one undo step, opened as the panel tells (`text` names
    // it): a gesture that edits as the pointer moves (a drag in the preview
    // or the frame list) is one step from press to release.
    CGestureStep& gestureStep() { return m_step; }
    void beginGesture(const QString& text);
    void endGesture() { m_step.end(); }

    // The preview steps only while it is on screen; the panel is told so
    // that the step clock sleeps while nothing plays.
    void setPreviewShown(bool shown);
    bool previewPlays() const { return m_preview.isShown() && m_animation >= 0; }

    // The panel's game step and show step.
    bool gameStep() { return m_preview.step(); }
    void showStep();

signals:
    // Frames of the animation were edited; countChanged when some were
    // added or removed.
    void framesChanged(int animation, bool countChanged);
    // Whether the preview plays may have changed.
    void previewPlaysChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CAnimationItem* animation() const;
    int frameCount() const;
    std::optional<CAnimationFrameEdits::Command> frameKey(int key, Qt::KeyboardModifiers modifiers) const;
    bool pickerKey(int key, Qt::KeyboardModifiers modifiers) const;
    // F2 and Enter (the delay) and F4 (the bitmap) on the frame list.
    static bool isFrameValueKey(int key, Qt::KeyboardModifiers modifiers);
    int stepMs() const;
    bool frameListEvent(QEvent* event);
    void applied(const CAnimationFrameEdits::Outcome& outcome);
    std::unique_ptr<CDocumentHistory::Edit> openStep(const QString& text) const;
    void applyFractions();
    void storeFractions();

    CResourceHolder* m_document = nullptr;
    int m_animation = -1;
    CAnimationFrameEdits m_edits;
    CAnimationPreview m_preview;
    CIndexList* m_picker;
    CIndexList* m_frames;
    CAnimationPreviewPane* m_pane;
    QAction* m_onionSkin;
    CItemsDropTarget* m_drops;
    double m_pickerFraction = kPickerFraction;
    double m_listFraction = kListFraction;
    bool m_dragging = false;
    CGestureStep m_step;
    DelayAsker m_askDelay;
};
