#pragma once

#include "app/CCommandStates.h"
#include "kinds/userinterfaces/CUserInterfaceMenu.h"

#include <QHash>
#include <QMainWindow>
#include <QVariant>

#include <functional>
#include <vector>

class CChildFrame;
class CDragPanelSwitch;
class CEditHistoryWindow;
class CManualWindow;
class CQuillopApp;
class CQuillopDoc;
class CQuillopView;
class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

// The editor's main window: an MDI area holding one child frame per open
// document, and a command bar built from the interface resource file. Every
// tool-bar and menu entry names a command; runCommand() carries it out and
// refreshCommandStates() greys and checks the entries by those names.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* kMainToolBar = "Main Tool Bar";
    static constexpr const char* kMainMenu = "Main Menu";
    static constexpr const char* kAboutTitle = "About Marvoline Quillop";
    static constexpr const char* kContributorsTitle = "View Contributors";
    static constexpr const char* kWebSite = "https://example.org/quillop/";
    static constexpr const char* kGeometryKey = "Settings/Main Window";

    explicit CMainFrame(CQuillopApp& app, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Shows the window with the size, place and state it had when it last
    // closed.
    void showWhereItWas();

    QMdiArea* mdiArea() const { return m_mdi; }
    QToolBar* commandBar() const { return m_commandBar; }

    // Carries out a command name; the argument is a recent-file index or a
    // window for the commands that take one. False for unknown names.
    bool runCommand(const QString& name, const QVariant& argument = {});
    bool isCommand(const QString& name) const { return m_commands.contains(name); }
    QStringList commandNames() const { return m_commands.keys(); }

    void refreshCommandStates();
    CCommandContext commandContext() const;
    // The command-bar entries of a name (several buttons may share one).
    QList<QAction*> commandActions(const QString& name) const { return m_commandActions.values(name); }

    // The pop-up menu of a user interface with the filling rules applied.
    QMenu* buildPopup(const std::vector<CMenuEntry>& entries, QWidget* parent);
    QMenu* buildMainMenu(QWidget* parent);

    // Documents. Opening shows the document's messages and returns nullptr on failure.
    CChildFrame* newDocument();
    // A file already open is not read again: its window comes to the front.
    CChildFrame* openDocument(const QString& path);
    // The window of a file already open (by its canonical name), or nullptr.
    CChildFrame* frameOfFile(const QString& path) const;
    // A recovery copy opened as the document it was made from (see
    // CQuillopDoc::recover); nullptr when it cannot be read.
    CChildFrame* recoverDocument(const QString& copy, const QString& original, const QString& title);
    void openCommand();
    void openFiles(const QStringList& paths);
    CChildFrame* activeChildFrame() const;
    CQuillopView* activeView() const;
    CQuillopDoc* activeDocument() const;
    QList<CChildFrame*> childFrames() const;

    // The frame's own arrangements: strips one above the other, or side by side.
    void tileHorizontally();
    void tileVertically();

    // A new tool window for the command as a child of the main window.
    QMdiSubWindow* openToolWindow(const QString& command);

    void showAbout();
    void showContributors();
    // The manual at `page` ("bitmaps", "tools#generate-bass-drum"); empty
    // for the page of the active panel or tool window.
    void showManual(const QString& page = {});
    QString manualPageHere() const;
    CManualWindow* manualWindow() const { return m_manual; }
    void showDocumentProperties();
    // The steps of the active document's history, in a window of its own.
    void showEditHistory();
    CEditHistoryWindow* editHistoryWindow() const { return m_historyWindow; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildCommandBar();
    void registerCommands();
    void addShortcuts();
    void commandBarTriggered(QAction* action);
    void popupAt(QMenu* menu, QAction* at);
    CChildFrame* addFrame(CQuillopDoc* document);
    void subWindowActivated(QMdiSubWindow* window);
    void updateTitle();
    void print(bool preview);

    CQuillopApp& m_app;
    QMdiArea* m_mdi;
    QToolBar* m_commandBar = nullptr;
    CDragPanelSwitch* m_dragSwitch = nullptr;
    QHash<QString, std::function<void(const QVariant&)>> m_commands;
    QMultiHash<QString, QAction*> m_commandActions;
    CEditHistoryWindow* m_historyWindow = nullptr;
    CManualWindow* m_manual = nullptr;
    CQuillopView* m_activeView = nullptr;
};
