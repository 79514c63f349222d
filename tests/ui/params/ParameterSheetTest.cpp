#include "params/ui/CMVT_EditTyped.h"
#include "params/ui/CMVT_FileSelection.h"
#include "params/ui/CMVT_ParamButton.h"
#include "params/ui/CMVT_ParamColor.h"
#include "params/ui/CMVT_ParamFilename.h"
#include "params/ui/CMVT_ParamFilenames.h"
#include "params/ui/CMVT_ParamFloat.h"
#include "params/ui/CMVT_ParamInteger.h"
#include "params/ui/CMVT_ParamText.h"
#include "params/ui/CMVT_ParamTitle.h"
#include "params/ui/CMVT_ParameterList.h"
#include "params/ui/CMVT_ParameterListWindow.h"
#include "params/ui/CMVT_ParametersDocument.h"
#include "params/ui/CMVT_ParametersToolBar.h"
#include "ui/UiFakes.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QToolButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <cfloat>

namespace {
// A small tool as the real ones are written: items as members, a sheet
// builder and a factory reset.
class SampleTool : public CMVT_ParametersDocument {
public:
    CMVT_ParamTitle title;
    CMVT_ParamFloat gain;
    CMVT_ParamInteger count;
    CMVT_ParamButton run;
    int runs = 0;

    std::string toolTitle() const override { return "Sample Tool"; }
    void buildSheet() override
    {
        title.setLevel(0);
        title.setLabel("Sample Tool");
        sheet()->addItem(&title);
        gain.setLevel(1);
        gain.setLabel("&Gain");
        gain.setMinimum(0.0);
        gain.setMaximum(10.0);
        sheet()->addItem(&gain);
        count.setLevel(1);
        count.setLabel("&Count");
        sheet()->addItem(&count);
        run.setLevel(1);
        run.setLabel("&Run");
        sheet()->addItem(&run);
    }
    void factoryReset() override
    {
        gain.setValue(1.5);
        count.setValue(1000);
    }
    void itemNotification(CMVT_Parameter* item) override
    {
        if (item == &run)
            ++runs;
    }
};
} // namespace

TEST(EditTyped, TypeCodesOutsideTheRangeBecomeNone)
{
    CMVT_EditTyped edit;
    EXPECT_EQ(edit.setType(4), 1);
    EXPECT_EQ(edit.type(), 4);
    EXPECT_EQ(edit.setType(6), 0);
    EXPECT_EQ(edit.type(), CMVT_EditTyped::TypeNone);
    EXPECT_EQ(edit.setType(-1), 0);
    EXPECT_EQ(edit.type(), CMVT_EditTyped::TypeNone);
}

TEST(EditTyped, OutOfBoundsValuesAreKeptButInvalid)
{
    CMVT_EditTyped edit(nullptr, CMVT_EditTyped::TypeInteger);
    edit.setIntegerBounds(0, 10);
    edit.setIntegerValue(11);
    EXPECT_EQ(edit.integerValue(), 11);
    EXPECT_FALSE(edit.isValid());
    EXPECT_EQ(edit.shownText(), "+11");
    edit.setIntegerValue(10);
    EXPECT_TRUE(edit.isValid());

    edit.setType(CMVT_EditTyped::TypeFloat);
    edit.setFloatBounds(-1.0, 1.0);
    edit.setFloatValue(std::nan(""));
    EXPECT_FALSE(edit.isValid());
    edit.setFloatValue(-1.0);
    EXPECT_TRUE(edit.isValid());

    edit.setType(CMVT_EditTyped::TypeText);
    edit.setTextBounds(2, 3);
    edit.setTextValue("abcd");
    EXPECT_FALSE(edit.isValid());
    EXPECT_EQ(edit.textValue(), "abcd");

    edit.setType(CMVT_EditTyped::TypeDate);
    edit.setDateValue(QDateTime(QDate(50, 1, 1), QTime(0, 0)));
    EXPECT_FALSE(edit.isValid());
    edit.setDateValue(QDateTime(QDate(2020, 5, 6), QTime(7, 8, 9)));
    EXPECT_TRUE(edit.isValid());
}

TEST(EditTyped, TypingIsParsedBackIntoTheValue)
{
    CMVT_EditTyped edit(nullptr, CMVT_EditTyped::TypeInteger);
    QSignalSpy edited(&edit, &CMVT_EditTyped::valueEdited);
    edit.setEditing(true);
    edit.selectAll();
    QTest::keyClicks(&edit, "-1 234x");
    EXPECT_EQ(edit.integerValue(), -1234);
    EXPECT_GE(edited.count(), 1);

    edit.setType(CMVT_EditTyped::TypeFloat);
    edit.selectAll();
    QTest::keyClicks(&edit, "+1 000.25");
    EXPECT_DOUBLE_EQ(edit.floatValue(), 1000.25);
    edit.selectAll();
    QTest::keyClicks(&edit, "abc");
    EXPECT_EQ(edit.floatValue(), 0.0);

    edit.setType(CMVT_EditTyped::TypeDate);
    edit.setDateValue(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)));
    EXPECT_EQ(edit.shownText(), "03/02/2001");
    edit.selectAll();
    QTest::keyClicks(&edit, "24/12/1999");
    EXPECT_EQ(edit.dateValue(), QDateTime(QDate(1999, 12, 24), QTime(4, 5, 6)));
}

TEST(EditTyped, SingleLineKeepsOneLineAndTheLimitHolds)
{
    CMVT_EditTyped edit(nullptr, CMVT_EditTyped::TypeText);
    edit.setEditLimit(5);
    QTest::keyClicks(&edit, "abcdefgh");
    EXPECT_EQ(edit.textValue(), "abcde");
    QTest::keyClick(&edit, Qt::Key_Return);
    EXPECT_EQ(edit.textValue(), "abcde");

    CMVT_EditTyped lines(nullptr, CMVT_EditTyped::TypeMultiLineText);
    QTest::keyClicks(&lines, "a");
    QTest::keyClick(&lines, Qt::Key_Return);
    QTest::keyClicks(&lines, "b");
    EXPECT_EQ(lines.textValue(), "a\nb");
}

TEST(ParameterItems, StatusLinesFollowTheFocus)
{
    CMVT_ParamFloat f;
    f.setLabel("&Gain");
    f.setValue(0.000012);
    EXPECT_EQ(f.labelLine(), "Gain:");
    f.edit()->setEditing(true);
    EXPECT_EQ(f.labelLine(), "Gain: (Float = +0.000012)");
    f.setValue(1e-20);
    EXPECT_EQ(f.labelLine(), "Gain: (Float = +1e-020)");
    f.setValue(1234.5);
    EXPECT_EQ(f.labelLine(), "Gain: (Float = +1 234.5)");
    f.setMinimum(0.0);
    f.setMaximum(20000.0);
    EXPECT_EQ(f.labelLine(), "Gain: (Float = +1 234.5, Min: +0, Max: +20 000)");

    CMVT_ParamFloat unlabelled;
    EXPECT_EQ(unlabelled.labelLine(), "");

    CMVT_ParamInteger i;
    i.setLabel("Count");
    i.setValue(1000);
    EXPECT_EQ(i.edit()->shownText(), "+1 000");
    i.edit()->setEditing(true);
    EXPECT_EQ(i.edit()->shownText(), "+1000");
    EXPECT_EQ(i.labelLine(), "Count: (Integer = +1 000)");
    i.setMaximum(-5);
    EXPECT_FALSE(i.isValid());
    EXPECT_EQ(i.labelLine(), "Count: (Integer = +1 000, Max: -5)");

    CMVT_ParamText t;
    t.setLabel("Name");
    t.setValue("abc");
    t.setMinimumLength(1);
    t.edit()->setEditing(true);
    EXPECT_EQ(t.labelLine(), "Name: (Nb Chars: 3, Min: 1, Text = abc)");
    t.setMultiLine(true);
    t.setValue("a\nb\n");
    EXPECT_EQ(t.statusText(), ": (Nb Chars: 4, Min: 1, 3 Lines)");
    t.setValue("");
    EXPECT_EQ(t.statusText(), ": (Nb Chars: 0, Min: 1, 0 Lines)");
}

TEST(ParameterItems, FileNameStatusNamesWhatThePathIs)
{
    TempFolder tmp;
    const std::string file = tmp.path("a.wav");
    writeAll(file, QByteArray(1500, 'x'));
    CMVT_ParamFilename f;
    f.setLabel("Source");
    f.setPath(file);
    const std::string remaining = std::to_string(CMVT_FileSelection::kMaxPathLength - static_cast<int>(file.size()));
    EXPECT_EQ(f.statusText().rfind(": (Remaining Chars = " + remaining + ", MB Free = ", 0), 0u) << f.statusText();
    EXPECT_NE(f.statusText().find(", File Exists, Nb Bytes = 1 500)"), std::string::npos) << f.statusText();
    f.setPath(QFileInfo(QString::fromStdString(file)).absolutePath().toStdString());
    EXPECT_NE(f.statusText().find(", Folder Exists)"), std::string::npos);
    f.setMode(4);
    EXPECT_EQ(f.statusText().find("Folder"), std::string::npos);
    f.setPath("");
    f.setMode(0);
    EXPECT_EQ(f.statusText(), ": (Remaining Chars = " + std::to_string(CMVT_FileSelection::kMaxPathLength) + ")");
}

TEST(ParameterItems, TitleFontsByLevel)
{
    EXPECT_EQ(CMVT_ParamTitle::fontForLevel(0).pixelSize(), 24);
    EXPECT_EQ(CMVT_ParamTitle::fontForLevel(3).pixelSize(), 19);
    EXPECT_EQ(CMVT_ParamTitle::fontForLevel(9).weight(), 400);
    EXPECT_EQ(CMVT_ParamTitle::fontForLevel(10).weight(), 300);
    EXPECT_EQ(CMVT_ParamTitle::fontForLevel(11).weight(), 200);
    EXPECT_EQ(CMVT_ParamTitle::fontForLevel(12).weight(), 100);
    EXPECT_EQ(CMVT_ParamTitle::fontForLevel(-1).pixelSize(), 12);
    EXPECT_EQ(CMVT_ParamTitle::fontForLevel(0).family(), QStringLiteral("Verdana"));
}

TEST(ParameterSheet, BuiltByNameFoundWithoutCaseAndReset)
{
    CMVT_ParameterList sheet;
    sheet.addTitle(0, "head", "Heading");
    auto* n = sheet.addInteger(1, "Count", "&Count", 0, 100, 7);
    sheet.addText(1, "Text", "&Text", "hello", true);
    EXPECT_EQ(sheet.find("COUNT"), n);
    EXPECT_EQ(sheet.findAs<CMVT_ParamText>("text")->value(), "hello");
    EXPECT_EQ(sheet.findAs<CMVT_ParamText>("count"), nullptr);
    EXPECT_EQ(sheet.find("none"), nullptr);
    n->setValue(55);
    sheet.resetToDefaults();
    EXPECT_EQ(n->value(), 7);
}

TEST(ToolWindow, CaptionModifiedMarkAndNotifications)
{
    SampleTool tool;
    tool.create();
    EXPECT_EQ(tool.caption(), "Sample Tool - Unnamed");
    tool.setName("No Name");
    EXPECT_EQ(tool.windowTitle().toStdString(), "Sample Tool - No Name");
    EXPECT_EQ(tool.minimumSize(), QSize(320, 240));

    tool.run.button()->click();
    EXPECT_EQ(tool.runs, 1);
    EXPECT_FALSE(tool.isModified());

    tool.count.edit()->selectAll();
    QTest::keyClicks(tool.count.edit(), "12");
    EXPECT_EQ(tool.count.value(), 12);
    EXPECT_TRUE(tool.isModified());
    EXPECT_EQ(tool.caption(), "Sample Tool - No Name *");
}

TEST(ToolWindow, ToolBarCommandsAndFactoryQuestion)
{
    ScriptedUi ui;
    SampleTool tool;
    tool.create();
    const auto* entries = CMVT_ParametersToolBar::entries(CMVT_ParametersToolBar::Style::ToolWindow);
    EXPECT_STREQ(entries[0].command, "DOC Factory");
    EXPECT_STREQ(entries[6].caption, "Information");
    ASSERT_NE(tool.toolBar()->actionFor("DOC Print"), nullptr);
    EXPECT_EQ(tool.toolBar()->actionFor("DOC Print")->toolTip(), QStringLiteral("Print parameters values"));

    tool.gain.setValue(3.0);
    ui.prompter.answers = {IPrompter::Answer::No};
    tool.toolBar()->actionFor("DOC Factory")->trigger();
    EXPECT_EQ(tool.gain.value(), 3.0);
    ASSERT_EQ(ui.prompter.messages.size(), 1u);
    EXPECT_EQ(ui.prompter.messages[0], CMVT_ParametersToolBar::kFactoryQuestion);
    ui.prompter.answers = {IPrompter::Answer::Yes};
    EXPECT_EQ(tool.runCommand("DOC Factory"), 1);
    EXPECT_EQ(tool.gain.value(), 1.5);

    // Load and Save ask for a parameters file (cancelled here: nothing said).
    tool.runCommand("DOC Load");
    tool.runCommand("DOC Save");
    ASSERT_EQ(ui.files.requests.size(), 2u);
    EXPECT_EQ(ui.files.requests[0].filter, CMVT_ParametersDocument::kParametersFilter);
    tool.runCommand("DOC Print");
    tool.runCommand("DOC Information");
    EXPECT_EQ(tool.runCommand("ParamsCopy"), 1);
    EXPECT_EQ(tool.runCommand("DOC Unknown"), 0);
    ASSERT_EQ(ui.prompter.messages.size(), 4u);
    EXPECT_EQ(ui.prompter.messages[2], "To Do : File Print ds params");
    EXPECT_EQ(ui.prompter.messages[3], "Sorry, there isn't any about...");
}

TEST(ToolWindow, FreeStandingListUsesItsOwnCommandNames)
{
    ScriptedUi ui;
    CMVT_ParameterListWindow window;
    auto* f = window.sheet()->addFloat(0, "x", "X", -DBL_MAX, DBL_MAX, 2.0);
    f->setValue(9.0);
    EXPECT_NE(window.toolBar()->actionFor("ParamsFactory"), nullptr);
    EXPECT_EQ(window.toolBar()->actionFor("DOC Factory"), nullptr);
    EXPECT_EQ(window.toolBar()->actionFor("ParamsInformation")->toolTip(),
              QStringLiteral("Display parameters information"));
    ui.prompter.answers = {IPrompter::Answer::Yes};
    window.toolBar()->actionFor("ParamsFactory")->trigger();
    EXPECT_EQ(f->value(), 2.0);
}

TEST(ToolWindow, FocusIsRememberedAndGivenBack)
{
    QMdiArea area;
    auto* tool = new SampleTool;
    tool->create();
    area.resize(800, 600);
    area.show();
    auto* frame = new QMdiSubWindow;
    frame->setWidget(tool);
    area.addSubWindow(frame);
    frame->show();
    QApplication::setActiveWindow(&area);
    tool->count.edit()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(tool->lastFocusedItem(), &tool->count);
    tool->gain.edit()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(tool->lastFocusedItem(), &tool->gain);
    tool->sheet()->setFocus();
    QSignalSpy activated(tool, &CMVT_ParametersDocument::activated);
    tool->onActivated();
    EXPECT_EQ(QApplication::focusWidget(), tool->gain.edit());
    EXPECT_EQ(activated.count(), 1);
}

TEST(FileSelection, OneFileStartsAtThePlaceholderAndManyMustFit)
{
    ScriptedUi ui;
    ui.files.answers = {{"/tmp/x.wav"}};
    EXPECT_EQ(CMVT_FileSelection::selectOne(nullptr, "", "T", "", false), "/tmp/x.wav");
    ASSERT_EQ(ui.files.requests.size(), 1u);
    EXPECT_EQ(ui.files.requests[0].startName, QDir::currentPath().toStdString() + "/Please Select a Filename");

    std::vector<std::string> many;
    for (int i = 0; i < 2000; ++i)
        many.push_back("/data/" + std::string(60, 'a') + std::to_string(i));
    ui.files.answers = {many};
    EXPECT_TRUE(CMVT_FileSelection::selectMany(nullptr, "", "T").empty());
    ASSERT_EQ(ui.prompter.messages.size(), 1u);
    EXPECT_EQ(ui.prompter.messages[0], CMVT_FileSelection::kTooManyFiles);
    EXPECT_EQ(ui.prompter.icons[0], IPrompter::Icon::Stop);
    many.resize(100);
    ui.files.answers = {many};
    EXPECT_EQ(CMVT_FileSelection::selectMany(nullptr, "", "T").size(), 100u);
}

TEST(FileSelection, DroppedFoldersAreExpandedOnlyOnYes)
{
    ScriptedUi ui;
    TempFolder tmp;
    QDir().mkpath(QString::fromStdString(tmp.path("f/sub")));
    writeAll(tmp.path("f/b.txt"), "1");
    writeAll(tmp.path("f/sub/a.txt"), "2");
    writeAll(tmp.path("single.txt"), "3");
    CMVT_ParamFilenames names;
    QSignalSpy changed(&names, &CMVT_Parameter::itemChanged);

    ui.prompter.answers = {IPrompter::Answer::No};
    names.addDroppedPaths({tmp.path("f")});
    EXPECT_EQ(names.fileNames(), std::vector<std::string>{tmp.path("f")});
    ui.prompter.answers = {IPrompter::Answer::Yes};
    names.addDroppedPaths({tmp.path("single.txt"), tmp.path("f")});
    EXPECT_EQ(names.fileNames(), (std::vector<std::string>{tmp.path("f"), tmp.path("single.txt"), tmp.path("f/b.txt"),
                                                           tmp.path("f/sub/a.txt")}));
    EXPECT_EQ(ui.prompter.messages.back(), CMVT_ParamFilenames::kAddFolderContents);
    EXPECT_EQ(changed.count(), 2);
    // No folder among the drops: no question.
    names.addDroppedPaths({tmp.path("single.txt")});
    EXPECT_EQ(ui.prompter.messages.size(), 2u);

    names.sortNames(false);
    EXPECT_EQ(names.fileNames().front(), tmp.path("single.txt"));
    names.edit()->setEditing(true);
    EXPECT_EQ(names.statusText(), ": (Remaining Chars = "
                                      + std::to_string(CMVT_ParamFilenames::kEditLimit - names.edit()->currentLength())
                                      + ", 5 Filenames)");
}

TEST(FileSelection, QtFilterFromTheStoredForm)
{
    const std::pair<std::string, QString> cases[] = {
        {CMVT_ParamFilename::kDefaultFilter, "Windows WAV Audio File (*.wav *.raw);;All Files (*.*)"},
        // A description alone carries its patterns.
        {"Marvoline Game Resources Files (*.mrc)", "Marvoline Game Resources Files (*.mrc)"},
        {"Pictures (*.png;*.bmp)", "Pictures (*.png *.bmp)"},
        {"", ""},
    };
    for (const auto& [stored, expected] : cases)
        EXPECT_EQ(CUiServices::toQtFilter(stored), expected) << stored;
}

TEST(ParameterItems, ColourPickerKeepsTheValueOnCancel)
{
    ScriptedUi ui;
    CMVT_ParamColor c;
    QSignalSpy changed(&c, &CMVT_Parameter::itemChanged);
    c.setValue(0x123456);
    EXPECT_FALSE(c.pick());
    EXPECT_EQ(c.value(), 0x123456u);
    ui.colors.answers = {0xABCDEF};
    c.swatch()->click();
    EXPECT_EQ(c.value(), 0xABCDEFu);
    EXPECT_EQ(ui.colors.started.back(), 0x123456u);
    EXPECT_EQ(changed.count(), 1);
}
