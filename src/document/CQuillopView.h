#pragma once

#include "core/CGameStepTimer.h"
#include "grid/ui/IPanelHost.h"

#include <QWidget>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>

class CItemsGrid;
class CQuillopDoc;
class IPrompter;
class QPainter;
class QPrinter;
class QStackedLayout;

// Shows one resource document: ten panels, one per group, one of them at a
// time, and the game step timer that drives the shown panel's previews.
class CQuillopView : public QWidget, public IPanelHost {
    Q_OBJECT
public:
    static constexpr int kPanelCount = 10;
    // The groups in panel order (Bitmaps first, Texts and Parameters fourth).
    static constexpr std::array<int, kPanelCount> kPanelGroups = {1, 3, 5, 0, 2, 4, 7, 6, 8, 9};
    static constexpr const char* kIntegrityOk = "OK.";
    static constexpr const char* kPrintPlaceholder = "Will be done...";

    // Makes the panel of a group; kinds with their own editor register one.
    using PanelFactory = std::function<CItemsGrid*(int group)>;
    static void setPanelFactory(PanelFactory factory);

    explicit CQuillopView(CQuillopDoc& document, QWidget* parent = nullptr);
    ~CQuillopView() override;

    CQuillopDoc& document() const { return m_document; }
    static int panelOfGroup(int group);
    CItemsGrid* panel(int index) const;
    int currentPanel() const { return m_current.load(); }
    void showPanel(int index, bool selectLast) override;

    bool maintainRelationships() const override { return m_maintain; }
    void setMaintainRelationships(bool on);
    void markModified() override;
    CDocumentHistory* history() const override;
    void broadcastReload() override;

    // Asks the panels in order; the first that fails is shown. "OK." when all pass.
    bool checkIntegrity(IPrompter& prompter);

    // The game step timer, running only while the view is active and its
    // current panel's preview plays.
    void activateView();
    void deactivateView();
    void restartTimer(bool stop, bool start);
    bool isTimerRunning() const { return m_timer.isRunning(); }
    int timerDelay() const { return m_timer.delay(); }
    // Game steps run so far (counted on the timer thread) and repaints done.
    long stepCount() const { return m_steps.load(); }
    long showStepCount() const { return m_shownSteps; }

    // The one page printing gives: the text centred and a Lissajous curve.
    void print(QPrinter* printer);
    static void drawPlaceholderPage(QPainter& painter, const QRect& page);

signals:
    // Every panel reloads from the document.
    void dataChanged();
    void currentPanelChanged(int index);
    void maintainRelationshipsChanged(bool on);

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    // Runs `apply` holding the locks of the panels from `panel` on.
    void runLocked(int panel, const std::function<void()>& apply);
    bool timerStep();
    void collectSteps();
    // Starts or stops the timer as the current panel's preview now needs.
    void followPreview();

    CQuillopDoc& m_document;
    std::array<CItemsGrid*, kPanelCount> m_panels{};
    // The rows revision of the document each panel last read: a panel shown
    // after another one moved rows it refers to reads them again.
    std::array<std::uint64_t, kPanelCount> m_readRevision{};
    QStackedLayout* m_stack;
    std::atomic<int> m_current{0};
    bool m_maintain = true;
    bool m_active = false;
    CGameStepTimer m_timer;
    std::atomic<long> m_steps{0};
    long m_shownSteps = 0;
};
