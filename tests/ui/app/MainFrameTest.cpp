#include "app/CCommandStates.h"
#include "app/CEditHistoryWindow.h"
#include "core/CDocumentHistory.h"
#include "app/CMainFrame.h"
#include "app/CPanelLayoutMemory.h"
#include "app/CQuillopApp.h"
#include "app/CRecentFileList.h"
#include "app/CToolWindows.h"
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "document/CChildFrame.h"
#include "document/CQuillopDoc.h"
#include "document/CQuillopView.h"
#include "grid/ui/CItemsGrid.h"
#include "kinds/CItemKinds.h"
#include "grid/ui/CItemsGrid.h"
#include "kinds/userinterfaces/UserInterface.h"
#include "params/CDialogFolders.h"
#include "ui/ShellFakes.h"
#include "ui/UiFakes.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QFileInfo>
#include <QMouseEvent>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QTest>
#include <QUndoStack>
#include <QUndoView>
#include <gtest/gtest.h>

#include <tuple>

namespace {
void addItems(UserInterface& ui, std::initializer_list<std::pair<const char*, int>> items)
{
    for (const auto& [id, type] : items) {
        UserInterfaceItem* item = ui.item(ui.appendItem(id));
        item->type = type;
        item->title = id;
    }
}

// A small interface resource file: a tool bar with the commands whose
// states matter and a main menu with the entries the filling rules touch.
std::string writeInterface(const TempFolder& folder)
{
    auto holder = createDocumentHolder();
    auto* bar = static_cast<UserInterface*>(holder->get(GroupUserInterfaces, holder->newItem(GroupUserInterfaces, "Main Tool Bar")));
    bar->setType(UserInterface::TypeToolBar);
    addItems(*bar, {{"main menu", 6}, {"", 2}, {"save", 6}, {"maintain relationships", 6}, {"check integrity", 6},
                    {"wnd list popup", 6}, {"wnd cascade", 6}, {"edit undo", 6}, {"edit redo", 6}});
    for (const char* panel : CCommandStates::kPanelCommands)
        addItems(*bar, {{panel, 6}});
    auto* menu = static_cast<UserInterface*>(holder->get(GroupUserInterfaces, holder->newItem(GroupUserInterfaces, "Main Menu")));
    menu->setType(UserInterface::TypeMenu);
    addItems(*menu, {{"new mrc", 6}, {"open", 6}, {"close", 6}, {"save", 6}, {"save as", 6}, {"project properties", 6},
                     {"print", 6}, {"print preview", 6}, {"mru files list", 6}, {"wnd list", 6}, {"exit", 6}});
    const std::string path = folder.path("quillop.mrc");
    EXPECT_EQ(holder->save(path), 1);
    return path;
}

std::string writeDocument(const TempFolder& folder, const std::string& name)
{
    auto holder = createDocumentHolder();
    holder->newItem(GroupTexts, name);
    const std::string path = folder.path(name);
    EXPECT_EQ(holder->save(path), 1);
    return path;
}

QStringList texts(QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions())
        if (!a->isSeparator())
            out << a->text();
    return out;
}

struct FrameFixture : ::testing::Test {
    FrameFixture()
    {
        QStandardPaths::setTestModeEnabled(true);
        EXPECT_EQ(app.loadInterface(writeInterface(folder), ui.prompter), 1);
    }
    ~FrameFixture() override
    {
        QSettings(QString::fromLatin1(CQuillopApp::kOrganisation), QStringLiteral("Quillop")).clear();
    }

    QAction* action(CMainFrame& frame, const char* name)
    {
        const auto list = frame.commandActions(QString::fromLatin1(name));
        EXPECT_FALSE(list.isEmpty()) << name;
        return list.isEmpty() ? nullptr : list.front();
    }

    ScriptedUi ui;
    ScriptedDocumentDialogs dialogs;
    TempFolder folder;
    CQuillopApp app;
};
} // namespace

TEST(QuillopStartUp, AMissingInterfaceFileEndsWithTheStartUpMessage)
{
    ScriptedUi ui;
    CQuillopApp app;
    EXPECT_EQ(app.loadInterface("/nonexistent/quillop.mrc", ui.prompter), 0);
    ASSERT_FALSE(ui.prompter.messages.empty());
    EXPECT_EQ(ui.prompter.messages.back(), "Cannot start the software due to a missing file.");
    EXPECT_EQ(app.interfaceResources().bitmapIndex(CInterfaceResources::PopUpDown), -1);
}

TEST_F(FrameFixture, WithoutADocumentTheDocumentCommandsAreOff)
{
    CMainFrame frame(app);
    EXPECT_EQ(frame.windowTitle(), "Marvoline Quillop");
    EXPECT_FALSE(action(frame, "save")->isEnabled());
    EXPECT_FALSE(action(frame, "check integrity")->isEnabled());
    EXPECT_FALSE(action(frame, "maintain relationships")->isEnabled());
    EXPECT_FALSE(action(frame, "wnd cascade")->isEnabled());
    for (const char* panel : CCommandStates::kPanelCommands) {
        EXPECT_FALSE(action(frame, panel)->isEnabled()) << panel;
        EXPECT_FALSE(action(frame, panel)->isChecked()) << panel;
    }
    QMenu* menu = frame.buildMainMenu(nullptr);
    EXPECT_EQ(texts(menu), (QStringList{"new mrc", "open", "mru files list", "wnd list", "exit"}));
    delete menu;
}

TEST_F(FrameFixture, PanelKeysAndActivationCheckExactlyOnePanelCommand)
{
    CMainFrame frame(app);
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    CChildFrame* first = frame.newDocument();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(action(frame, "save")->isEnabled());
    EXPECT_TRUE(action(frame, "maintain relationships")->isChecked());
    EXPECT_TRUE(frame.windowTitle().startsWith("Marvoline Quillop - MRC"));

    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &frame, Qt::Key_4,
                    Qt::ControlModifier);
    EXPECT_EQ(first->view().currentPanel(), 3);
    for (const char* panel : CCommandStates::kPanelCommands)
        EXPECT_EQ(action(frame, panel)->isChecked(), std::string(panel) == "mrc view texts") << panel;

    CChildFrame* second = frame.newDocument();
    EXPECT_TRUE(action(frame, "mrc view bitmaps")->isChecked()) << "the new document shows its own first panel";
    EXPECT_FALSE(action(frame, "mrc view texts")->isChecked());
    EXPECT_FALSE(second->view().isTimerRunning()) << "nothing plays: the editor sleeps";
    second->view().document().holder().newItem(GroupWorlds, "shown world");
    second->view().broadcastReload();
    second->view().showPanel(CQuillopView::panelOfGroup(GroupWorlds), true);
    EXPECT_TRUE(second->view().isTimerRunning()) << "a shown world plays";
    EXPECT_FALSE(first->view().isTimerRunning()) << "only the active view steps";
    second->view().showPanel(0, false);

    frame.runCommand("maintain relationships");
    EXPECT_FALSE(second->view().maintainRelationships());
    EXPECT_TRUE(first->view().maintainRelationships());
    EXPECT_FALSE(action(frame, "maintain relationships")->isChecked());

    frame.runCommand("doc wnd", QVariant::fromValue(static_cast<QObject*>(first)));
    EXPECT_EQ(frame.activeChildFrame(), first);
    EXPECT_TRUE(action(frame, "mrc view texts")->isChecked());
    EXPECT_TRUE(action(frame, "maintain relationships")->isChecked());

    QMenu* windows = frame.buildPopup({CMenuEntry{CMenuEntry::Kind::Command, 0, "wnd list", "Windows", "", {}, {}}}, nullptr);
    ASSERT_EQ(windows->actions().size(), 2);
    EXPECT_TRUE(windows->actions()[0]->isChecked());
    EXPECT_FALSE(windows->actions()[1]->isChecked());
    delete windows;
}

TEST_F(FrameFixture, RecentFilesDoubleTheAmpersandAndOpenTheRightFile)
{
    const std::string path = writeDocument(folder, "Salt & Pepper.mrc");
    const std::string other = writeDocument(folder, "other.mrc");
    CMainFrame frame(app);
    ASSERT_NE(frame.openDocument(QString::fromStdString(path)), nullptr);
    ASSERT_NE(frame.openDocument(QString::fromStdString(other)), nullptr);
    ASSERT_EQ(app.recentFiles().count(), 2);
    EXPECT_TRUE(app.recentFiles().menuText(1).contains("Salt && Pepper.mrc"));

    QMenu* menu = frame.buildMainMenu(nullptr);
    const QStringList entries = texts(menu);
    EXPECT_TRUE(entries.contains(app.recentFiles().menuText(1)));
    delete menu;

    for (QMdiSubWindow* w : frame.mdiArea()->subWindowList())
        w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    frame.runCommand("mru file", 1);
    ASSERT_NE(frame.activeDocument(), nullptr);
    EXPECT_TRUE(frame.activeDocument()->path().endsWith("Salt & Pepper.mrc"));

    // A file already open comes to the front, however it is named, and is
    // never opened a second time.
    CChildFrame* open = frame.activeChildFrame();
    ASSERT_TRUE(QFile::link(QString::fromStdString(path), QString::fromStdString(folder.path("link.mrc"))));
    const QString names[] = {QString::fromStdString(path), QString::fromStdString(folder.path("link.mrc")),
                             QString::fromStdString(folder.path(".")) + "/./Salt & Pepper.mrc"};
    for (const QString& name : names) {
        ASSERT_NE(frame.openDocument(QString::fromStdString(other)), open);
        EXPECT_EQ(frame.openDocument(name), open) << name.toStdString();
        EXPECT_EQ(frame.activeChildFrame(), open) << name.toStdString();
    }
    ASSERT_NE(frame.openDocument(QString::fromStdString(other)), open);
    ASSERT_TRUE(app.recentFiles().path(0).endsWith("other.mrc"));
    frame.runCommand("mru file", 1);
    EXPECT_EQ(frame.activeChildFrame(), open);
    EXPECT_EQ(frame.mdiArea()->subWindowList().size(), 2);

    CRecentFileList list;
    for (int i = 0; i < 20; ++i)
        list.add(QStringLiteral("/tmp/f%1.mrc").arg(i));
    list.add(QStringLiteral("/tmp/f10.mrc"));
    EXPECT_EQ(list.count(), CRecentFileList::kSize);
    EXPECT_EQ(list.path(0), "/tmp/f10.mrc") << "a reopened file moves first, not twice";
    QSettings settings(QString::fromLatin1(CQuillopApp::kOrganisation), QStringLiteral("Quillop"));
    list.save(settings);
    EXPECT_EQ(settings.value("Recent File List/File1").toString(), "/tmp/f10.mrc");
    CRecentFileList again;
    again.load(settings);
    EXPECT_EQ(again.count(), CRecentFileList::kSize);
}

TEST_F(FrameFixture, DroppedFilesOpenTiledOneAboveTheOther)
{
    CMainFrame frame(app);
    frame.resize(900, 700);
    frame.show();
    frame.openFiles({QString::fromStdString(writeDocument(folder, "a.mrc")),
                     QString::fromStdString(writeDocument(folder, "b.mrc")),
                     QString::fromStdString(writeDocument(folder, "c.mrc"))});
    const auto windows = frame.mdiArea()->subWindowList(QMdiArea::CreationOrder);
    ASSERT_EQ(windows.size(), 3);
    for (int i = 1; i < 3; ++i) {
        EXPECT_EQ(windows[i]->x(), windows[0]->x());
        EXPECT_GT(windows[i]->y(), windows[i - 1]->y());
        EXPECT_EQ(windows[i]->width(), windows[0]->width());
    }

    frame.openFiles({QString::fromStdString(folder.path("nothing.mrc"))});
    EXPECT_EQ(ui.prompter.messages, std::vector<std::string>{folder.path("nothing.mrc") + "\n\nFile not found !"})
        << "one message, naming the file";
    EXPECT_EQ(frame.mdiArea()->subWindowList().size(), 3);
}

TEST_F(FrameFixture, ThePanelShownItsSplitAndTheDialogFoldersAreRememberedAcrossRuns)
{
    auto gridShare = [](QSplitter& split) { return split.sizes().value(0) * 1000 / (split.sizes().value(0) + split.sizes().value(1)); };
    int share = 0;
    {
        CMainFrame frame(app);
        frame.resize(1200, 800);
        frame.show();
        CQuillopView& view = frame.newDocument()->view();
        view.showPanel(2, false);
        QSplitter& split = *view.panel(2)->splitter();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        QTest::qWait(20);
        // The user drags the split 200 pixels to the left.
        QSplitterHandle* handle = split.handle(1);
        const int before = gridShare(split);
        const QPoint at = handle->rect().center();
        for (const auto& [type, where, buttons] :
             {std::tuple{QEvent::MouseButtonPress, at, Qt::MouseButtons(Qt::LeftButton)},
              std::tuple{QEvent::MouseMove, at - QPoint(200, 0), Qt::MouseButtons(Qt::LeftButton)},
              std::tuple{QEvent::MouseButtonRelease, at - QPoint(200, 0), Qt::MouseButtons()}}) {
            QMouseEvent event(type, where, handle->mapToGlobal(where), Qt::LeftButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(handle, &event);
        }
        share = gridShare(split);
        EXPECT_LT(share, before - 100);
        view.showPanel(7, false);
        CUiServices::dialogFolders().remember("Insert Sound(s) Filename(s)", QString::fromStdString(folder.path("x.wav")));
        app.saveSettings();
        // Closed windows wait for their deletion while the frame goes.
        frame.close();
    }
    CUiServices::dialogFolders().clear();

    CQuillopApp next;
    next.loadSettings();
    CMainFrame frame(next);
    frame.resize(1200, 800);
    frame.show();
    CQuillopView& view = frame.newDocument()->view();
    EXPECT_EQ(view.currentPanel(), 7);
    view.showPanel(2, false);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    QTest::qWait(20);
    EXPECT_NEAR(gridShare(*view.panel(2)->splitter()), share, 10);
    // A split never moved starts where its panel wants it.
    for (int group : {GroupAnimations, GroupTrajectories}) {
        const int panel = CQuillopView::panelOfGroup(group);
        view.showPanel(panel, false);
        QTest::qWait(20);
        EXPECT_NEAR(gridShare(*view.panel(panel)->splitter()), CPanelLayoutMemory::defaultGridShare(panel), 10) << group;
    }
    // Until the user moves it, the split keeps its proportion as the window
    // changes size.
    frame.resize(900, 700);
    QTest::qWait(20);
    const int trajectories = CQuillopView::panelOfGroup(GroupTrajectories);
    EXPECT_NEAR(gridShare(*view.panel(trajectories)->splitter()), CPanelLayoutMemory::defaultGridShare(trajectories), 10);
    EXPECT_EQ(CUiServices::dialogFolders().startFolder("Insert Sound(s) Filename(s)"),
              QFileInfo(QString::fromStdString(folder.path("x.wav"))).absolutePath());
    CUiServices::dialogFolders().clear();
}

TEST_F(FrameFixture, EveryCommandNameIsKnownAndToolsSayTheyAreMissing)
{
    CMainFrame frame(app);
    for (const char* name :
         {"exit", "about", "contributors", "go to web site", "new mrc", "open", "close", "save", "save as", "print",
          "print preview", "print setup", "project properties", "mru file", "wnd list popup", "doc wnd",
          "wnd cascade", "wnd tile horz", "wnd tile vert", "wnd arrange icons", "wnd minimize", "wnd restore",
          "wnd maximize", "wnd close", "maintain relationships", "check integrity", "mrc view bitmaps",
          "mrc view animations", "mrc view maps", "mrc view texts", "mrc view sounds", "mrc view trajectories",
          "mrc view files", "mrc view colors", "mrc view ui", "mrc view worlds", "resources files manager",
          "analyze fund", "convert fund to midi", "extract sounds", "convert avi to img", "convert img to avi",
          "rename files", "audio settings", "gui settings", "edit undo", "edit redo", "edit history",
          "generate bass drum", "extract bitmap colors", "manual", "keyboard shortcuts"})
        EXPECT_TRUE(frame.isCommand(name)) << name;
    EXPECT_FALSE(frame.runCommand("no such command"));
    // Without a document these do nothing, and nothing breaks.
    for (const char* name : {"save", "check integrity", "maintain relationships", "mrc view maps", "wnd close",
                             "edit undo", "edit redo"})
        EXPECT_TRUE(frame.runCommand(name));
    EXPECT_TRUE(ui.prompter.messages.empty());
}

TEST_F(FrameFixture, UndoAndRedoSayWhatTheyWillDoAndAreGreyedWithNothingToDo)
{
    CMainFrame frame(app);
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    EXPECT_FALSE(action(frame, "edit undo")->isEnabled());
    CChildFrame* child = frame.newDocument();
    ASSERT_NE(child, nullptr);
    EXPECT_FALSE(action(frame, "edit undo")->isEnabled());
    EXPECT_EQ(action(frame, "edit undo")->text().toStdString(), "Undo");
    CItemsGrid& colors = *child->view().panel(CQuillopView::panelOfGroup(GroupColors));
    for (int i = 0; i < 3; ++i)
        colors.insertItem();
    colors.selectAll();
    colors.deleteItems();
    EXPECT_TRUE(action(frame, "edit undo")->isEnabled());
    EXPECT_EQ(action(frame, "edit undo")->text().toStdString(), "Undo Delete 3 Colors");
    EXPECT_FALSE(action(frame, "edit redo")->isEnabled());
    EXPECT_TRUE(frame.runCommand("edit undo"));
    EXPECT_EQ(colors.rowCount(), 3);
    EXPECT_EQ(action(frame, "edit redo")->text().toStdString(), "Redo Delete 3 Colors");
    EXPECT_TRUE(frame.runCommand("edit redo"));
    EXPECT_EQ(colors.rowCount(), 0);
    EXPECT_TRUE(frame.runCommand("edit history"));
    ASSERT_NE(frame.editHistoryWindow(), nullptr);
    EXPECT_EQ(frame.editHistoryWindow()->view()->model()->rowCount(), 5);
}

TEST_F(FrameFixture, ToolCommandsOpenToolWindowsListedByTheirCaptions)
{
    CMainFrame frame(app);
    frame.show();
    QStringList captions;
    for (const char* command : CToolWindows::kCommands) {
        ASSERT_TRUE(frame.runCommand(QString::fromLatin1(command))) << command;
        QMdiSubWindow* window = frame.mdiArea()->activeSubWindow();
        ASSERT_NE(window, nullptr) << command;
        EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral(" - No Name"))) << window->windowTitle().toStdString();
        captions << window->windowTitle();
    }
    EXPECT_EQ(frame.mdiArea()->subWindowList().size(), static_cast<int>(CToolWindows::kCommands.size()));
    QMenu* windows = frame.buildPopup({CMenuEntry{CMenuEntry::Kind::Command, 0, "wnd list", "Windows", "", {}, {}}}, nullptr);
    QStringList listed;
    for (QAction* a : windows->actions())
        listed << a->text();
    delete windows;
    EXPECT_EQ(listed, captions);
    EXPECT_TRUE(frame.windowTitle().endsWith(captions.back()));
    EXPECT_TRUE(ui.prompter.messages.empty());
}

TEST(CommandStates, TheRefreshTableByName)
{
    CCommandContext none;
    CCommandContext tool{.activeChild = true};
    CCommandContext doc{.activeChild = true, .activeDocumentView = true, .maintainRelationships = true, .currentPanel = 4};
    EXPECT_FALSE(CCommandStates::state("edit undo", doc).enabled);
    EXPECT_EQ(CCommandStates::state("edit undo", doc).text, "Undo");
    CCommandContext undoable = doc;
    undoable.canUndo = true;
    undoable.undoText = "Delete 3 Bitmaps";
    EXPECT_EQ(CCommandStates::state("edit undo", undoable).text, "Undo Delete 3 Bitmaps");
    EXPECT_FALSE(CCommandStates::state("edit redo", undoable).enabled);
    EXPECT_FALSE(CCommandStates::state("wnd tile horz", none).enabled);
    EXPECT_TRUE(CCommandStates::state("wnd tile horz", tool).enabled);
    EXPECT_TRUE(CCommandStates::state("wnd list popup", doc).popupStyle);
    EXPECT_FALSE(CCommandStates::state("check integrity", tool).enabled);
    EXPECT_TRUE(CCommandStates::state("mrc view sounds", doc).checked);
    EXPECT_FALSE(CCommandStates::state("mrc view texts", doc).checked);
    EXPECT_TRUE(CCommandStates::state("maintain relationships", doc).checked);
    EXPECT_TRUE(CCommandStates::state("open", none).enabled);
    using E = CCommandStates::PopupEntry;
    EXPECT_EQ(CCommandStates::popupEntry("close", none, true), E::Remove);
    EXPECT_EQ(CCommandStates::popupEntry("close", tool, true), E::Keep);
    EXPECT_EQ(CCommandStates::popupEntry("save as", tool, true), E::Remove);
    EXPECT_EQ(CCommandStates::popupEntry("mru files list", none, true), E::Keep);
    EXPECT_EQ(CCommandStates::popupEntry("mru files list", none, false), E::RecentFiles);
    EXPECT_EQ(CCommandStates::popupEntry("wnd list", none, true), E::Keep);
}
