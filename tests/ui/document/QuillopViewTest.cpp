#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "core/GroupIndex.h"
#include "document/CQuillopDoc.h"
#include "document/CQuillopView.h"
#include "grid/ui/CItemsGrid.h"
#include "kinds/texts/CDocumentSettings.h"
#include "ui/UiFakes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>
#include <atomic>
#include <vector>

namespace {
// A panel whose game step records when it ran and on which thread, and
// whose integrity check answers as told.
class ProbePanel : public CItemsGrid {
public:
    using CItemsGrid::CItemsGrid;
    bool check() override
    {
        ++checks;
        return passes;
    }
    bool previewPlays() const override { return plays; }
    void showStep() override
    {
        ++shown;
        shownOnInterfaceThread = shownOnInterfaceThread && std::this_thread::get_id() == interfaceThread;
    }
    void reload() override
    {
        ++reloads;
        CItemsGrid::reload();
    }
    // Stands for an edit that resizes what a step reads.
    void edit()
    {
        CLock lock(*this);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }

    std::vector<std::chrono::steady_clock::time_point> steps;
    std::mutex stepsMutex;
    int checks = 0;
    int reloads = 0;
    bool passes = true;
    std::atomic<bool> plays{true};
    // Every step changes the preview unless the test scripts it: then only
    // the step that finds `nextStepChanges` set does.
    std::atomic<bool> scripted{false};
    std::atomic<bool> nextStepChanges{false};
    int shown = 0;
    bool shownOnInterfaceThread = true;
    std::thread::id interfaceThread = std::this_thread::get_id();

protected:
    bool gameStep() override
    {
        std::lock_guard<std::mutex> lock(stepsMutex);
        steps.push_back(std::chrono::steady_clock::now());
        return !scripted || nextStepChanges.exchange(false);
    }
};

struct ViewFixture : ::testing::Test {
    ViewFixture()
    {
        CQuillopView::setPanelFactory([](int group) { return new ProbePanel(group); });
        doc.initNew();
    }
    ~ViewFixture() override { CQuillopView::setPanelFactory(nullptr); }
    ProbePanel* probe(CQuillopView& view, int panel) { return static_cast<ProbePanel*>(view.panel(panel)); }

    CQuillopDoc doc;
};

// Runs the view's timer for a while and reports the period it achieved.
double measurePeriod(CQuillopView& view, ProbePanel& panel, int expectedMs)
{
    view.activateView();
    QTest::qWait(std::max(250, expectedMs * 15));
    view.deactivateView();
    std::lock_guard<std::mutex> lock(panel.stepsMutex);
    std::vector<double> gaps;
    for (std::size_t i = 1; i < panel.steps.size(); ++i)
        gaps.push_back(std::chrono::duration<double, std::milli>(panel.steps[i] - panel.steps[i - 1]).count());
    if (gaps.empty())
        return 0;
    double mean = 0;
    for (double g : gaps)
        mean += g;
    mean /= static_cast<double>(gaps.size());
    double var = 0;
    for (double g : gaps)
        var += (g - mean) * (g - mean);
    const double jitter = std::sqrt(var / static_cast<double>(gaps.size()));
    std::printf("[ timer    ] delay %d ms: %zu steps, mean period %.3f ms, jitter (sd) %.3f ms, max %.3f ms\n",
                expectedMs, panel.steps.size(), mean, jitter, *std::max_element(gaps.begin(), gaps.end()));
    panel.steps.clear();
    return mean;
}
} // namespace

TEST_F(ViewFixture, PanelsComeInPanelOrderAndTheSwitchBelongsToEachView)
{
    CQuillopView view(doc);
    CQuillopView other(doc);
    const int groups[10] = {GroupBitmaps, GroupAnimations, GroupMaps, GroupTexts, GroupSounds,
                            GroupTrajectories, GroupBinaryFiles, GroupColors, GroupUserInterfaces, GroupWorlds};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(view.panel(i)->group(), groups[i]) << i;
    EXPECT_EQ(view.currentPanel(), 0);
    EXPECT_TRUE(view.maintainRelationships());
    view.setMaintainRelationships(false);
    EXPECT_TRUE(other.maintainRelationships());

    doc.holder().newItem(GroupTexts, "one");
    doc.holder().newItem(GroupTexts, "two");
    view.broadcastReload();
    view.showPanel(3, true);
    EXPECT_EQ(view.currentPanel(), 3);
    EXPECT_EQ(view.panel(3)->currentItem(), 1) << "showing with selection picks the last row";
}

TEST_F(ViewFixture, APanelShownAfterAnotherMovedRowsReadsTheDocumentAgain)
{
    CQuillopView view(doc);
    for (const char* id : {"a", "b", "c"})
        doc.holder().newItem(GroupBitmaps, id);
    view.broadcastReload();
    const struct {
        int show;
        bool sortBitmapsFirst;
        int reloadsOfAnimations;
        int reloadsOfBitmaps;
    } steps[] = {
        {1, false, 0, 0},  // nothing moved since the broadcast
        {0, false, 0, 0},
        {1, true, 1, 0},   // Bitmaps sorted, then Animations shown: read again
        {0, false, 1, 0},  // Bitmaps made the change and saw it
        {1, false, 1, 0},
    };
    const int before[2] = {probe(view, 0)->reloads, probe(view, 1)->reloads};
    for (const auto& step : steps) {
        if (step.sortBitmapsFirst) {
            probe(view, 0)->selectAll();
            probe(view, 0)->setCurrentCell(CItemsGrid::kLeadingColumns, 0);
            probe(view, 0)->sortItems(false);
            ASSERT_EQ(doc.holder().get(GroupBitmaps, 0)->id(), "c");
        }
        view.showPanel(step.show, false);
        EXPECT_EQ(probe(view, 1)->reloads - before[1], step.reloadsOfAnimations) << step.show;
        EXPECT_EQ(probe(view, 0)->reloads - before[0], step.reloadsOfBitmaps) << step.show;
    }
}

TEST_F(ViewFixture, CheckIntegrityStopsAtTheFirstFailingPanel)
{
    ScriptedUi ui;
    CQuillopView view(doc);
    EXPECT_TRUE(view.checkIntegrity(ui.prompter));
    ASSERT_EQ(ui.prompter.messages.size(), 1u);
    EXPECT_EQ(ui.prompter.messages[0], "OK.");
    EXPECT_EQ(ui.prompter.icons[0], IPrompter::Icon::Information);

    probe(view, 2)->passes = false;  // Maps
    EXPECT_FALSE(view.checkIntegrity(ui.prompter));
    EXPECT_EQ(view.currentPanel(), 2);
    EXPECT_EQ(probe(view, 1)->checks, 2);
    EXPECT_EQ(probe(view, 3)->checks, 1) << "later panels are not asked";
    EXPECT_EQ(ui.prompter.messages.size(), 1u);
}

TEST_F(ViewFixture, TheTimerStepsAtTheDocumentsDelayAndRepaintsOnTheInterfaceThread)
{
    CQuillopView view(doc);
    ProbePanel& panel = *probe(view, 0);

    EXPECT_GT(measurePeriod(view, panel, 8), 0.0);
    EXPECT_EQ(view.timerDelay(), 8) << "no setting: 8 ms";
    EXPECT_FALSE(view.isTimerRunning()) << "deactivating stops the previews";
    EXPECT_GT(panel.shown, 0);
    EXPECT_TRUE(panel.shownOnInterfaceThread);
    EXPECT_LE(view.showStepCount(), view.stepCount()) << "repaints are coalesced, never more than steps";

    CDocumentSettings(doc.holder()).setStepDelay(20);
    const double twenty = measurePeriod(view, panel, 20);
    EXPECT_EQ(view.timerDelay(), 20);
    EXPECT_GT(twenty, 10.0);

    CDocumentSettings(doc.holder()).setStepDelay(0);
    measurePeriod(view, panel, 1);
    EXPECT_EQ(view.timerDelay(), 1) << "0 or less runs every millisecond";
    CDocumentSettings(doc.holder()).setStepDelay(-5);
    view.activateView();
    EXPECT_EQ(view.timerDelay(), 1);

    // New properties take effect at once on a running timer.
    doc.applyProperties("x", "y", 40, "");
    EXPECT_TRUE(view.isTimerRunning());
    EXPECT_EQ(view.timerDelay(), 40);
    view.deactivateView();
}

TEST_F(ViewFixture, AStepThatChangedSomethingIsPaintedOnceAndOneThatChangedNothingNever)
{
    CQuillopView view(doc);
    ProbePanel& panel = *probe(view, 0);
    panel.scripted = true;
    view.activateView();
    const struct {
        bool changes;
        int paints;
    } steps[] = {{true, 1}, {false, 0}, {false, 0}, {true, 1}, {true, 1}, {false, 0}};
    for (const auto& step : steps) {
        const int before = panel.shown;
        const long ran = view.stepCount();
        panel.nextStepChanges = step.changes;
        // The step that took the flag has finished, wake-up included, once
        // the one after it has begun.
        ASSERT_TRUE(QTest::qWaitFor([&] { return view.stepCount() >= ran + 2; }));
        QCoreApplication::processEvents();
        EXPECT_EQ(panel.shown - before, step.paints) << step.changes;
    }
    view.deactivateView();
}

TEST_F(ViewFixture, TheTimerRunsOnlyWhileTheCurrentPanelsPreviewPlays)
{
    CQuillopView view(doc);
    ProbePanel& panel = *probe(view, 0);
    panel.plays = false;
    view.activateView();
    EXPECT_FALSE(view.isTimerRunning()) << "an idle editor sleeps";

    panel.plays = true;
    emit panel.previewChanged();
    EXPECT_TRUE(view.isTimerRunning());
    probe(view, 1)->plays = false;
    view.showPanel(1, false);
    EXPECT_FALSE(view.isTimerRunning()) << "a panel with nothing playing";
    view.showPanel(0, false);
    EXPECT_TRUE(view.isTimerRunning());

    panel.plays = false;  // the preview came to its end by itself
    QTest::qWait(30);
    EXPECT_FALSE(view.isTimerRunning());

    view.deactivateView();
    panel.plays = true;
    emit panel.previewChanged();
    EXPECT_FALSE(view.isTimerRunning()) << "an inactive view takes no steps";
}

TEST_F(ViewFixture, AnEditingPanelTakesNoSteps)
{
    CDocumentSettings(doc.holder()).setStepDelay(1);
    CQuillopView view(doc);
    ProbePanel& panel = *probe(view, 0);
    view.activateView();
    QTest::qWait(20);
    {
        std::lock_guard<std::mutex> lock(panel.stepsMutex);
        panel.steps.clear();
    }
    const auto start = std::chrono::steady_clock::now();
    panel.edit();
    const auto end = std::chrono::steady_clock::now();
    view.deactivateView();
    std::lock_guard<std::mutex> lock(panel.stepsMutex);
    for (const auto& t : panel.steps)
        EXPECT_FALSE(t > start + std::chrono::milliseconds(1) && t < end) << "a step ran inside the edit";
}

TEST(QuillopViewPrint, ThePlaceholderPageHasTheTextAndTheCurve)
{
    QImage page(400, 300, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    CQuillopView::drawPlaceholderPage(painter, page.rect());
    painter.end();
    int dark = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            dark += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
    EXPECT_GT(dark, 500);
    // The curve reaches the page's edges: x = cx + W/2 at t = 0.
    bool rightEdge = false;
    for (int y = 140; y < 160; ++y)
        rightEdge = rightEdge || qGray(page.pixel(399, y)) < 200;
    EXPECT_TRUE(rightEdge);
}
