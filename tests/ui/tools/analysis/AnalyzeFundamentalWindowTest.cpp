#include "media/audio/CSoundSet.h"
#include "params/ui/CMVT_EditTyped.h"
#include "params/ui/CMVT_MDIChildWndParameters.h"
#include "params/ui/CMVT_ParametersToolBar.h"
#include "params/ui/CPictureButton.h"
#include "params/ui/CProgressWindow.h"
#include "tools/analysis/CAwaFile.h"
#include "tools/analysis/ui/CAnalysisPicture.h"
#include "tools/analysis/ui/CAnalysisViewDialog.h"
#include "tools/analysis/ui/CDocAnalyzeFundamental.h"
#include "tools/analysis/ui/CGradientColorEditor.h"
#include "ui/ToolWindowTesting.h"
#include "ui/UiFakes.h"

#include <QAction>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <numbers>

namespace {
// A tone with two harmonics, as a mono 16-bit WAV file.
std::string writeTone(const TempFolder& folder, double hz, double seconds, int rate)
{
    CSoundSet sound;
    sound.setSampleRate(rate);
    CSampleBuffer& channel = sound.addChannel();
    const auto n = static_cast<std::uint32_t>(seconds * rate);
    channel.resize(n);
    for (std::uint32_t i = 0; i < n; ++i) {
        const double t = 2.0 * std::numbers::pi * hz * i / rate;
        channel.set(i, 0.5 * std::sin(t) + 0.25 * std::sin(2 * t) + 0.12 * std::sin(3 * t));
    }
    const std::string path = folder.path("tone.wav");
    EXPECT_EQ(sound.writeWav(path, 0, n, 16, static_cast<std::uint32_t>(rate), 0, 1, {}), 1);
    return path;
}


struct AnalysisWindow : ::testing::Test {
    ScriptedUi ui;
    TempFolder folder;
    CDocAnalyzeFundamental tool;
    AnalysisWindow()
    {
        CMVT_ParametersDocument::setMemoryFile(QString::fromStdString(folder.path("memory.ini")));
        tool.create();
    }
};
} // namespace

TEST_F(AnalysisWindow, LoadPreviewDrawBoundsAndAnalyseIntoAFile)
{
    EXPECT_EQ(tool.caption(), "Analyze Fundamental - No Name");
    EXPECT_EQ(tool.info.shownText(), "No Sample Loaded.");
    // Before anything is loaded or chosen, the buttons say what is missing.
    press(tool.analyse);
    press(tool.preview);
    ASSERT_EQ(ui.prompter.messages.size(), 2u);
    EXPECT_EQ(ui.prompter.messages[0], "No destination .AWA file specified !");
    EXPECT_EQ(ui.prompter.messages[1], "No source .WAV sound file loaded !");

    const std::string wav = writeTone(folder, 220.0, 1.0, 22050);
    const std::string awa = folder.path("tone.awa");
    ui.files.answers = {{wav}, {awa}};
    ASSERT_TRUE(tool.input.browse());
    ASSERT_TRUE(tool.output.browse());
    EXPECT_EQ(ui.files.requests[1].filter, CAwaFile::kFilter);
    EXPECT_TRUE(ui.files.requests[1].save);
    tool.rate.setValue(11025);
    press(tool.load);
    EXPECT_TRUE(tool.info.shownText().startsWith(QStringLiteral("tone, "))) << tool.info.shownText().toStdString();

    // The preview runs under its progress window, then the view opens: a
    // left drag draws the lower curve, a right drag the upper one, as ramps
    // with rows counted from the bottom.
    whileShown<CProgressWindow>(closeWhenEnded);
    std::vector<double> lowerSeen, upperSeen;
    whileShown<CAnalysisViewDialog>([&](CAnalysisViewDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("View/Edit Frequency Analysis Results"));
        const CAnalysisView& view = tool.engine().view();
        const int bottom = static_cast<int>(view.rows()) - 1;
        QWidget* picture = dialog.picture();
        QTest::mousePress(picture, Qt::LeftButton, {}, QPoint(10, bottom - 5));
        QTest::mouseMove(picture, QPoint(20, bottom - 15));
        QTest::mouseRelease(picture, Qt::LeftButton, {}, QPoint(20, bottom - 15));
        QTest::mousePress(picture, Qt::RightButton, {}, QPoint(10, bottom - 40));
        QTest::mouseMove(picture, QPoint(30, 0));
        QTest::mouseRelease(picture, Qt::RightButton, {}, QPoint(30, 0));
        for (int c : {10, 15, 20})
            lowerSeen.push_back(view.lower().get(c));
        for (int c : {10, 30})
            upperSeen.push_back(view.upper().get(c));
        dialog.reject();
        return true;
    });
    EXPECT_EQ(tool.previewAnalysis(), 1);
    EXPECT_EQ(tool.viewProgress().runner().log().currentText().find("View successfully built.") != std::string::npos,
              true);
    const CAnalysisView& view = tool.engine().view();
    EXPECT_EQ(lowerSeen, (std::vector<double>{5, 10, 15}));
    EXPECT_EQ(upperSeen, (std::vector<double>{40, static_cast<double>(view.rows() - 1)}));
    // Cancel put the curves back as they were.
    EXPECT_EQ(view.lower().get(15), 0.0);
    EXPECT_EQ(view.upper().get(15), static_cast<double>(view.rows() - 1));

    // Bounds around the tone, then the analysis proper into the file.
    tool.engine().setBoundsFromFrequencies(150.0, 300.0);
    whileShown<CProgressWindow>(closeWhenEnded);
    EXPECT_EQ(tool.runAnalysis(), 1);
    std::vector<double> periods;
    ASSERT_EQ(CAwaFile::read(awa, periods), 1);
    EXPECT_EQ(periods.size(), 11025u);
    std::vector<double> sorted = periods;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
    EXPECT_NEAR(sorted[sorted.size() / 2], 11025.0 / 220.0, 1.0);
}

TEST_F(AnalysisWindow, OptimisedMarginsNarrowTheBoundsAroundTheBestRow)
{
    const std::string wav = writeTone(folder, 300.0, 0.5, 22050);
    tool.input.setPath(wav);
    press(tool.load);
    whileShown<CProgressWindow>(closeWhenEnded);
    whileShown<CAnalysisViewDialog>([](CAnalysisViewDialog& dialog) {
        dialog.accept();
        return true;
    });
    ASSERT_EQ(tool.previewAnalysis(), 1);
    tool.margins.setValue(2);
    press(tool.optimise);
    const CAnalysisView& view = tool.engine().view();
    // Columns whose window runs past the end of the sound are left out: there
    // the best match can sit against the picture's edge.
    for (std::int64_t c = 0; c < view.columns() / 2; ++c)
        ASSERT_EQ(view.upper().get(c) - view.lower().get(c), 4.0) << "column " << c;
}

TEST(GradientColorEditor, EndsStayPutEditsAreClampedAndStopsComeAndGo)
{
    CGradientColorEditor editor(CGradientColorMap::defaultMap());
    QTableWidget* grid = editor.grid();
    ASSERT_EQ(grid->rowCount(), 4);
    EXPECT_EQ(grid->item(0, 0)->text(), QStringLiteral("Unmovable [ 0 ]"));
    EXPECT_EQ(grid->item(3, 0)->text(), QStringLiteral("Unmovable [ 1 ]"));
    EXPECT_FALSE(grid->item(0, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_EQ(grid->item(1, 0)->text(), QStringLiteral("0.5"));

    struct Edit {
        int row, column;
        const char* typed;
        int row2, column2; // where the value lands once the stops are sorted again
        const char* shown;
    };
    const Edit edits[] = {
        {2, 1, "300", 2, 1, "255"},
        {2, 2, "-4", 2, 2, "0"},
        {2, 3, "12.5", 2, 3, "13"},
        {1, 0, "0.9", 2, 0, "0.9"}, // moves past the blue stop
        {2, 0, "7", 2, 0, "1"},     // clamped to the end, still before it
        {1, 1, "abc", 1, 1, "255"}, // not a number: nothing changes
    };
    for (const Edit& e : edits) {
        grid->item(e.row, e.column)->setText(QString::fromLatin1(e.typed));
        QApplication::processEvents();
        EXPECT_EQ(grid->item(e.row2, e.column2)->text(), QString::fromLatin1(e.shown)) << e.typed;
    }
    EXPECT_EQ(editor.map().stops()[3].position, 1.0);

    grid->selectRow(0);
    editor.addStop();
    ASSERT_EQ(editor.map().count(), 5u);
    EXPECT_EQ(editor.map().stops()[1].position, 0.375);
    grid->selectRow(0);
    EXPECT_FALSE(editor.removeButton()->isEnabled());
    editor.removeStop();
    EXPECT_EQ(editor.map().count(), 5u);
    grid->selectRow(1);
    EXPECT_TRUE(editor.removeButton()->isEnabled());
    editor.removeStop();
    EXPECT_EQ(editor.map().count(), 4u);

    // The strip shows the map from its left to its right edge.
    editor.resize(400, 300);
    editor.show();
    QApplication::processEvents();
    const QImage strip = editor.strip()->grab().toImage();
    EXPECT_EQ(strip.pixel(0, strip.height() / 2), editor.map().colorAt(0.0));
    EXPECT_EQ(strip.pixel(strip.width() - 1, strip.height() / 2), editor.map().colorAt(1.0));
}

TEST(ToolWindowHost, ClosingWhileATaskRunsStopsItFirstAndReopeningRecallsTheValues)
{
    ScriptedUi ui;
    TempFolder folder;
    CMVT_ParametersDocument::setMemoryFile(QString::fromStdString(folder.path("memory.ini")));
    QMdiArea area;
    area.resize(900, 700);
    area.show();

    auto* tool = new CDocAnalyzeFundamental;
    tool->create();
    QPointer<CMVT_MDIChildWndParameters> frame = CMVT_MDIChildWndParameters::open(&area, tool);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Analyze Fundamental - No Name"));
    tool->smooth.edit()->selectAll();
    QTest::keyClicks(tool->smooth.edit(), "9");
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Analyze Fundamental - No Name *"));

    // The frame is closed while a task runs: the close waits for the task,
    // which sees the stop, and then goes through on its own.
    std::atomic<bool> sawStop{false};
    whileShown<CProgressWindow>([&](CProgressWindow&) {
        frame->close();
        return true;
    });
    const int done = tool->runTask(tool->analysisProgress(), [&](CTaskRunner& runner) {
        while (!runner.isAborted())
            runner.setCurrent(1.0);
        sawStop = true;
    });
    EXPECT_EQ(done, 0);
    EXPECT_TRUE(sawStop);
    for (int i = 0; i < 50 && frame; ++i)
        QTest::qWait(10);
    EXPECT_TRUE(frame.isNull());

    // Opened again, the tool has the value it was left with; the factory
    // defaults are still one question away.
    CDocAnalyzeFundamental again;
    again.create();
    EXPECT_EQ(again.smooth.value(), 9);
    EXPECT_FALSE(again.isModified());
    ui.prompter.answers = {IPrompter::Answer::Yes};
    again.runCommand("DOC Factory");
    EXPECT_EQ(again.smooth.value(), 5);
    CDocAnalyzeFundamental third;
    third.create();
    EXPECT_EQ(third.smooth.value(), 5);
}

TEST(ToolWindowHost, SaveAndLoadParametersThroughFiles)
{
    ScriptedUi ui;
    TempFolder folder;
    CMVT_ParametersDocument::setMemoryFile(QString::fromStdString(folder.path("memory.ini")));
    const std::string file = folder.path("mine.params");
    CDocAnalyzeFundamental tool;
    tool.create();
    tool.rate.setValue(8000);
    tool.output.setPath("/tmp/out.awa");
    ui.files.answers = {{file}};
    tool.toolBar()->actionFor("DOC Save")->trigger();
    EXPECT_EQ(tool.caption(), "Analyze Fundamental - mine");
    EXPECT_TRUE(ui.files.requests.back().save);

    CDocAnalyzeFundamental other;
    other.create();
    ui.files.answers = {{file}};
    other.toolBar()->actionFor("DOC Load")->trigger();
    EXPECT_EQ(other.rate.value(), 8000);
    EXPECT_EQ(other.output.path(), "/tmp/out.awa");
    EXPECT_EQ(other.caption(), "Analyze Fundamental - mine");

    // A file of another tool, or no file at all, changes nothing.
    CParameterValues foreign;
    foreign.set("rate", "4");
    ASSERT_EQ(foreign.save(folder.path("other.params"), "Convert To Midi"), 1);
    ui.files.answers = {{folder.path("other.params")}, {folder.path("missing.params")}};
    other.runCommand("DOC Load");
    other.runCommand("DOC Load");
    EXPECT_EQ(other.rate.value(), 8000);
    ASSERT_EQ(ui.prompter.messages.size(), 2u);
    EXPECT_EQ(ui.prompter.messages[1], CMVT_ParametersDocument::kCannotReadParameters);
}
