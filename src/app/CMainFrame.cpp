#include "app/CMainFrame.h"

#include "params/ui/WidgetHelpers.h"

#include "app/CEditHistoryWindow.h"
#include "app/CQuillopApp.h"
#include "app/CToolWindows.h"
#include "core/CDocumentHistory.h"
#include "core/GroupIndex.h"
#include "core/IPrompter.h"
#include "document/CChildFrame.h"
#include "document/CDocumentDialogs.h"
#include "document/CDocumentPropertiesDialog.h"
#include "document/CQuillopDoc.h"
#include "document/CQuillopView.h"
#include "kinds/userinterfaces/CUserInterfaceToolBar.h"
#include "app/CDragPanelSwitch.h"
#include "kinds/userinterfaces/UserInterface.h"
#include "kinds/userinterfaces/ui/CInterfaceDialog.h"
#include "media/output/CAudioPlayer.h"
#include "media/output/CSdlAudioBackend.h"
#include "media/output/ui/CAudioSettingsDialog.h"
#include "params/CDialogFolders.h"
#include "params/ui/CGuiColors.h"
#include "app/CManualWindow.h"
#include "params/ui/CMVT_MDIChildWndParameters.h"
#include "params/ui/CMVT_ParametersDocument.h"
#include "params/ui/CUiServices.h"
#include "tools/renamer/ui/CRenameFilesDialog.h"
#include "tools/resourcemanager/ui/CResourceFilesManagerDialog.h"
#include "tools/soundsplitter/ui/CExtractSoundsDialog.h"
#include "tools/videoconversion/ui/CVideoConversionDialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QSettings>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>
#include <QUrl>

#include <QPointer>

namespace {
// The sounds go to the document active when the window opened, while it is open.
void extractSounds(CMainFrame& frame)
{
    QPointer<CQuillopView> view = frame.activeView();
    QPointer<CQuillopDoc> document = frame.activeDocument();
    CExtractSoundsDialog::AddToDocument add;
    if (view && document)
        add = [view, document](const CSoundSet& sound, const auto& segments, const std::string& base) {
            if (!view || !document)
                return 0;
            CDocumentHistory::Edit edit(&document->history(), QString());
            const int added = CSilenceSplitter::addToSounds(document->holder(), sound, segments, base);
            edit.setText(QStringLiteral("Extract %1").arg(CDocumentHistory::rowsText(GroupSounds, added)));
            if (added > 0) {
                document->markModified();
                view->broadcastReload();
            }
            return added;
        };
    CExtractSoundsDialog(add, &frame).exec();
}
} // namespace

namespace {
constexpr const char* kCommandProperty = "quillopCommand";
constexpr const char* kArgumentProperty = "quillopArgument";

QString qs(const std::string& text) { return QString::fromStdString(text); }
} // namespace

CMainFrame::CMainFrame(CQuillopApp& app, QWidget* parent) : QMainWindow(parent), m_app(app), m_mdi(new QMdiArea(this))
{
    setWindowTitle(QString::fromLatin1(CQuillopApp::kTitle));
    setCentralWidget(m_mdi);
    m_mdi->setBackground(QColor(96, 104, 118));
    m_mdi->setActivationOrder(QMdiArea::StackingOrder);
    setAcceptDrops(true);
    CUiServices::setStatusLine([this](const QString& text) { statusBar()->showMessage(text); });
    // No classic menu bar: the command bar and its "Main Menu" pop-up replace it.
    setMenuBar(nullptr);
    registerCommands();
    buildCommandBar();
    addShortcuts();
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &CMainFrame::subWindowActivated);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            m_app.stopAllSounds();
    });
    statusBar()->showMessage(tr("Ready"));
    refreshCommandStates();
    resize(1200, 800);
}

CMainFrame::~CMainFrame()
{
    // The base destructors still send activation and destruction signals;
    // by then this frame's own members are gone, so nothing may reach it.
    disconnect(m_mdi, nullptr, this, nullptr);
    disconnect(qApp, nullptr, this, nullptr);
    CUiServices::setStatusLine(nullptr);
    // Closed frames waiting for their deferred deletion are no longer in the
    // area's list, but are still its children.
    for (CChildFrame* frame : m_mdi->findChildren<CChildFrame*>()) {
        disconnect(frame, nullptr, this, nullptr);
        disconnect(&frame->document(), nullptr, this, nullptr);
        disconnect(&frame->view(), nullptr, this, nullptr);
        frame->view().deactivateView();
        delete frame;
    }
    m_activeView = nullptr;
}

// --- command bar -----------------------------------------------------------

void CMainFrame::buildCommandBar()
{
    m_commandBar = addToolBar(tr("Commands"));
    m_dragSwitch = new CDragPanelSwitch(this);
    m_commandBar->setObjectName(QStringLiteral("commandBar"));
    m_commandBar->setMovable(false);
    m_commandBar->setIconSize(QSize(24, 24));
    m_commandBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    const UserInterface* ui = m_app.interfaceResources().userInterface(kMainToolBar);
    if (!ui)
        return;
    const CInterfaceResources& look = m_app.interfaceResources();
    for (const CToolBarButton& button : CUserInterfaceToolBar::build(*ui)) {
        if (button.gap) {
            m_commandBar->addSeparator();
            continue;
        }
        QAction* action = m_commandBar->addAction(look.icon(button.image.id), qs(button.title));
        action->setProperty(kCommandProperty, qs(button.id));
        action->setStatusTip(qs(button.helpText));
        action->setToolTip(button.helpText.empty() ? qs(button.title)
                                                   : qs(button.title) + QStringLiteral("\n") + qs(button.helpText));
        if (action->icon().isNull()) {
            // Without a picture the button shows its title.
            if (auto* widget = qobject_cast<QToolButton*>(m_commandBar->widgetForAction(action)))
                widget->setToolButtonStyle(Qt::ToolButtonTextOnly);
        }
        m_commandActions.insert(qs(button.id), action);
        connect(action, &QAction::triggered, this, [this, action] { commandBarTriggered(action); });
        if (CCommandStates::panelOf(button.id) >= 0)
            m_dragSwitch->watch(m_commandBar->widgetForAction(action), action);
    }
}

void CMainFrame::commandBarTriggered(QAction* action)
{
    const QString name = action->property(kCommandProperty).toString();
    if (name == QLatin1String("main menu")) {
        popupAt(buildMainMenu(this), action);
        return;
    }
    if (name == QLatin1String("wnd list popup")) {
        CMenuEntry entry;
        entry.id = "wnd list";
        entry.title = "Windows";
        popupAt(buildPopup({entry}, this), action);
        return;
    }
    runCommand(name);
}

void CMainFrame::popupAt(QMenu* menu, QAction* at)
{
    QWidget* button = m_commandBar->widgetForAction(at);
    const QPoint where = button ? button->mapToGlobal(QPoint(0, button->height())) : QCursor::pos();
    QAction* chosen = menu->exec(where);
    if (chosen) {
        const QString name = chosen->property(kCommandProperty).toString();
        if (!name.isEmpty())
            runCommand(name, chosen->property(kArgumentProperty));
    }
    menu->deleteLater();
}

QMenu* CMainFrame::buildMainMenu(QWidget* parent)
{
    const UserInterface* ui = m_app.interfaceResources().userInterface(kMainMenu);
    return buildPopup(ui ? CUserInterfaceMenu::build(*ui) : std::vector<CMenuEntry>{}, parent);
}

QMenu* CMainFrame::buildPopup(const std::vector<CMenuEntry>& entries, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->setToolTipsVisible(true);
    const CCommandContext context = commandContext();
    const CInterfaceResources& look = m_app.interfaceResources();
    std::function<void(QMenu*, const std::vector<CMenuEntry>&)> fill = [&](QMenu* into,
                                                                             const std::vector<CMenuEntry>& list) {
        for (const CMenuEntry& entry : list) {
            switch (entry.kind) {
            case CMenuEntry::Kind::Separator: into->addSeparator(); break;
            case CMenuEntry::Kind::SubMenu: {
                if (CCommandStates::popupEntry(entry.id, context, m_app.recentFiles().isEmpty())
                    == CCommandStates::PopupEntry::Remove)
                    break;
                QMenu* sub = into->addMenu(qs(entry.title));
                fill(sub, entry.children);
                break;
            }
            case CMenuEntry::Kind::Command: {
                switch (CCommandStates::popupEntry(entry.id, context, m_app.recentFiles().isEmpty())) {
                case CCommandStates::PopupEntry::Remove: break;
                case CCommandStates::PopupEntry::WindowList: {
                    QMdiSubWindow* active = m_mdi->activeSubWindow();
                    for (QMdiSubWindow* window : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
                        QAction* a = into->addAction(window->windowTitle());
                        a->setProperty(kCommandProperty, QStringLiteral("doc wnd"));
                        a->setProperty(kArgumentProperty, QVariant::fromValue(static_cast<QObject*>(window)));
                        a->setCheckable(true);
                        a->setChecked(window == active);
                    }
                    break;
                }
                case CCommandStates::PopupEntry::RecentFiles: {
                    for (int i = 0; i < m_app.recentFiles().count(); ++i) {
                        QAction* a = into->addAction(m_app.recentFiles().menuText(i));
                        a->setProperty(kCommandProperty, QStringLiteral("mru file"));
                        a->setProperty(kArgumentProperty, i);
                        a->setStatusTip(m_app.recentFiles().path(i));
                    }
                    break;
                }
                case CCommandStates::PopupEntry::Keep: {
                    const CCommandState state = CCommandStates::state(entry.id, context);
                    QString title = qs(entry.title);
                    if (!state.text.empty()) {
                        // The entry says what it will do; its key stays.
                        const QString key = title.section(QLatin1Char('\t'), 1);
                        title = QStringLiteral("&") + qs(state.text) + (key.isEmpty() ? QString() : QStringLiteral("\t") + key);
                    }
                    QAction* a = into->addAction(look.icon(entry.picture.id), title);
                    a->setProperty(kCommandProperty, qs(entry.id));
                    a->setStatusTip(qs(entry.helpText));
                    a->setToolTip(qs(entry.helpText));
                    a->setEnabled(state.enabled);
                    if (state.checked) {
                        a->setCheckable(true);
                        a->setChecked(true);
                    }
                    break;
                }
                }
                break;
            }
            }
        }
    };
    fill(menu, entries);
    return menu;
}

// --- states ----------------------------------------------------------------

CCommandContext CMainFrame::commandContext() const
{
    CCommandContext context;
    context.activeChild = m_mdi->activeSubWindow() != nullptr;
    if (const CQuillopView* view = activeView()) {
        context.activeDocumentView = true;
        context.maintainRelationships = view->maintainRelationships();
        context.currentPanel = view->currentPanel();
    }
    if (const CQuillopDoc* document = activeDocument()) {
        const QUndoStack& stack = document->history().stack();
        context.canUndo = stack.canUndo();
        context.canRedo = stack.canRedo();
        context.undoText = stack.undoText().toStdString();
        context.redoText = stack.redoText().toStdString();
    }
    return context;
}

void CMainFrame::refreshCommandStates()
{
    const CCommandContext context = commandContext();
    for (auto it = m_commandActions.cbegin(); it != m_commandActions.cend(); ++it) {
        const CCommandState state = CCommandStates::state(it.key().toStdString(), context);
        QAction* action = it.value();
        action->setEnabled(state.enabled);
        const bool checkable = it.key() == QLatin1String("maintain relationships")
            || CCommandStates::panelOf(it.key().toStdString()) >= 0;
        action->setCheckable(checkable);
        action->setChecked(state.checked);
        if (!state.text.empty()) {
            action->setText(qs(state.text));
            action->setToolTip(qs(state.text));
        }
        if (state.popupStyle && action->icon().isNull())
            action->setIcon(QIcon(m_app.interfaceResources().picture(CInterfaceResources::PopUpDown)));
    }
    // A dialog not used yet opens beside the document being edited.
    const CQuillopDoc* document = activeDocument();
    CUiServices::dialogFolders().setDocumentFolder(
        document && !document->path().isEmpty() ? QFileInfo(document->path()).absolutePath() : QString());
    updateTitle();
}

void CMainFrame::updateTitle()
{
    const CQuillopDoc* doc = activeDocument();
    QString title = QString::fromLatin1(CQuillopApp::kTitle);
    if (doc)
        title += QStringLiteral(" - ") + doc->title();
    else if (QMdiSubWindow* window = m_mdi->activeSubWindow())
        title += QStringLiteral(" - ") + window->windowTitle();
    setWindowTitle(title);
}

// --- the dispatcher --------------------------------------------------------

bool CMainFrame::runCommand(const QString& name, const QVariant& argument)
{
    const auto it = m_commands.constFind(name);
    if (it == m_commands.cend())
        return false;
    it.value()(argument);
    return true;
}

QMdiSubWindow* CMainFrame::openToolWindow(const QString& command)
{
    CMVT_ParametersDocument* tool = CToolWindows::create(command, m_app);
    if (!tool)
        return nullptr;
    connect(tool, &CMVT_ParametersDocument::activated, this, &CMainFrame::refreshCommandStates);
    connect(tool, &QWidget::windowTitleChanged, this, &CMainFrame::updateTitle);
    auto* frame = CMVT_MDIChildWndParameters::open(m_mdi, tool);
    m_mdi->setActiveSubWindow(frame);
    return frame;
}

void CMainFrame::registerCommands()
{
    auto on = [this](const char* name, std::function<void(const QVariant&)> action) {
        m_commands.insert(QString::fromLatin1(name), std::move(action));
    };
    auto withView = [this](std::function<void(CQuillopView&)> action) {
        return [this, action](const QVariant&) {
            if (CQuillopView* view = activeView())
                action(*view);
        };
    };
    auto withChild = [this](std::function<void(QMdiSubWindow&)> action) {
        return [this, action](const QVariant&) {
            if (QMdiSubWindow* child = m_mdi->activeSubWindow())
                action(*child);
        };
    };
    on("exit", [this](const QVariant&) { close(); });
    on("about", [this](const QVariant&) { showAbout(); });
    on("contributors", [this](const QVariant&) { showContributors(); });
    on("manual", [this](const QVariant&) { showManual(); });
    on("keyboard shortcuts", [this](const QVariant&) { showManual(QStringLiteral("shortcuts")); });
    on("go to web site", [](const QVariant&) { QDesktopServices::openUrl(QUrl(QString::fromLatin1(kWebSite))); });
    on("new mrc", [this](const QVariant&) { newDocument(); });
    on("open", [this](const QVariant&) { openCommand(); });
    on("close", withChild([](QMdiSubWindow& child) { child.close(); }));
    on("save", [this](const QVariant&) {
        if (CChildFrame* frame = activeChildFrame())
            frame->document().save(this);
    });
    on("save as", [this](const QVariant&) {
        if (CChildFrame* frame = activeChildFrame())
            frame->document().saveAs(this);
    });
    on("print", [this](const QVariant&) { print(false); });
    on("print preview", [this](const QVariant&) { print(true); });
    on("print setup", [this](const QVariant&) {
        QPrinter printer;
        QPrintDialog dialog(&printer, this);
        dialog.exec();
    });
    on("project properties", [this](const QVariant&) { showDocumentProperties(); });
    on("mru file", [this](const QVariant& argument) {
        const int index = argument.toInt();
        const QString path = m_app.recentFiles().path(index);
        if (path.isEmpty())
            return;
        if (!openDocument(path)) {
            // A file that cannot be opened any more leaves the list.
            m_app.recentFiles().remove(index);
            m_app.saveSettings();
        }
    });
    on("wnd list popup", [this](const QVariant&) {
        CMenuEntry entry;
        entry.id = "wnd list";
        entry.title = "Windows";
        QMenu* menu = buildPopup({entry}, this);
        QAction* chosen = menu->exec(QCursor::pos());
        if (chosen && !chosen->property(kCommandProperty).toString().isEmpty())
            runCommand(chosen->property(kCommandProperty).toString(), chosen->property(kArgumentProperty));
        menu->deleteLater();
    });
    on("doc wnd", [this](const QVariant& argument) {
        auto* window = qobject_cast<QMdiSubWindow*>(argument.value<QObject*>());
        if (!window || !m_mdi->subWindowList().contains(window))
            return;
        if (window->isMinimized())
            window->showNormal();
        m_mdi->setActiveSubWindow(window);
    });
    on("wnd cascade", [this](const QVariant&) { m_mdi->cascadeSubWindows(); });
    on("wnd tile horz", [this](const QVariant&) { tileHorizontally(); });
    on("wnd tile vert", [this](const QVariant&) { tileVertically(); });
    on("wnd arrange icons", [this](const QVariant&) {
        // Minimized children line up along the bottom, the others stay.
        int x = 0;
        for (QMdiSubWindow* window : m_mdi->subWindowList())
            if (window->isMinimized()) {
                window->move(x, m_mdi->viewport()->height() - window->height());
                x += window->width();
            }
    });
    on("wnd minimize", withChild([](QMdiSubWindow& child) { child.showMinimized(); }));
    on("wnd restore", withChild([](QMdiSubWindow& child) {
        if (child.isMinimized() || child.isMaximized())
            child.showNormal();
    }));
    on("wnd maximize", withChild([](QMdiSubWindow& child) {
        if (!child.isMaximized())
            child.showMaximized();
    }));
    on("wnd close", withChild([](QMdiSubWindow& child) { child.close(); }));
    on("maintain relationships", [this](const QVariant&) {
        if (CQuillopView* view = activeView()) {
            view->setMaintainRelationships(!view->maintainRelationships());
            refreshCommandStates();
        }
    });
    auto withHistory = [this](std::function<void(QUndoStack&)> action) {
        return [this, action](const QVariant&) {
            if (CQuillopDoc* document = activeDocument())
                action(document->history().stack());
        };
    };
    on("edit undo", withHistory([](QUndoStack& stack) { stack.undo(); }));
    on("edit redo", withHistory([](QUndoStack& stack) { stack.redo(); }));
    on("edit history", [this](const QVariant&) { showEditHistory(); });
    on("check integrity", withView([](CQuillopView& view) { view.checkIntegrity(CUiServices::prompter()); }));
    for (std::size_t panel = 0; panel < CCommandStates::kPanelCommands.size(); ++panel)
        on(CCommandStates::kPanelCommands[panel],
           withView([panel](CQuillopView& view) { view.showPanel(static_cast<int>(panel), false); }));
    on("resources files manager", [this](const QVariant&) { CResourceFilesManagerDialog(this).exec(); });
    on("convert avi to img", [this](const QVariant&) { CVideoConversionDialogs::movieToImages(this, statusBar()); });
    on("convert img to avi", [this](const QVariant&) { CVideoConversionDialogs::imagesToMovie(this, statusBar()); });
    on("extract sounds", [this](const QVariant&) { extractSounds(*this); });
    on("rename files", [this](const QVariant&) { CRenameFilesDialog(this).exec(); });
    for (const char* tool : CToolWindows::kCommands)
        on(tool, [this, tool](const QVariant&) { openToolWindow(QString::fromLatin1(tool)); });
    on("audio settings", [this](const QVariant&) {
        if (!m_app.audioPlayer())
            m_app.startAudio();
        CAudioSettingsDialog dialog(*m_app.audioSettings(), *m_app.audioPlayer(),
                                    CSdlAudioBackend::outputDeviceNames(), this);
        if (dialog.exec() == QDialog::Accepted) {
            *m_app.audioSettings() = dialog.settings();
            m_app.audioPlayer()->applySettings(*m_app.audioSettings());
        }
    });
    on("gui settings", [this](const QVariant&) {
        if (CGuiColors::instance().edit(this)) {
            update();
            for (QWidget* child : findChildren<QWidget*>())
                child->update();
        }
    });
}

void CMainFrame::addShortcuts()
{
    auto key = [this](const QKeySequence& sequence, const QString& command) {
        auto* shortcut = new QShortcut(sequence, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, command] { runCommand(command); });
    };
    for (int panel = 0; panel < 10; ++panel)
        key(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_0 + (panel + 1) % 10)),
            QString::fromLatin1(CCommandStates::kPanelCommands[static_cast<std::size_t>(panel)]));
    key(QKeySequence(Qt::Key_F1), QStringLiteral("manual"));
    key(QKeySequence(Qt::CTRL | Qt::Key_N), QStringLiteral("new mrc"));
    key(QKeySequence(Qt::CTRL | Qt::Key_O), QStringLiteral("open"));
    key(QKeySequence(Qt::CTRL | Qt::Key_P), QStringLiteral("print"));
    key(QKeySequence(Qt::CTRL | Qt::Key_S), QStringLiteral("save"));
    key(QKeySequence(Qt::CTRL | Qt::Key_Z), QStringLiteral("edit undo"));
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QStringLiteral("edit redo"));
    key(QKeySequence(Qt::CTRL | Qt::Key_Y), QStringLiteral("edit redo"));
    auto* next = new QShortcut(QKeySequence(Qt::Key_F6), this);
    connect(next, &QShortcut::activated, m_mdi, &QMdiArea::activateNextSubWindow);
    auto* previous = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6), this);
    connect(previous, &QShortcut::activated, m_mdi, &QMdiArea::activatePreviousSubWindow);
}

// --- documents -------------------------------------------------------------

CChildFrame* CMainFrame::addFrame(CQuillopDoc* document)
{
    auto* frame = new CChildFrame(document);
    m_mdi->addSubWindow(frame);
    CQuillopView* view = &frame->view();
    connect(document, &CQuillopDoc::titleChanged, this, &CMainFrame::updateTitle);
    connect(document, &CQuillopDoc::commandStatesChanged, this, &CMainFrame::refreshCommandStates);
    connect(document, &CQuillopDoc::pathRecorded, this, [this](const QString& path) { m_app.addRecentFile(path); });
    connect(view, &CQuillopView::currentPanelChanged, this, &CMainFrame::refreshCommandStates);
    connect(view, &CQuillopView::dataChanged, this, &CMainFrame::refreshCommandStates);
    m_app.panelLayout().follow(*view);
    connect(frame, &QObject::destroyed, this, [this, view] {
        if (m_activeView == view)
            m_activeView = nullptr;
        refreshCommandStates();
    });
    frame->showMaximized();
    m_mdi->setActiveSubWindow(frame);
    refreshCommandStates();
    return frame;
}

CChildFrame* CMainFrame::newDocument()
{
    auto* document = new CQuillopDoc;
    document->initNew();
    return addFrame(document);
}

CChildFrame* CMainFrame::frameOfFile(const QString& path) const
{
    // Canonical names, so that "./a.mrc", a link to it and its full name are
    // one file: two windows on one file would save over each other.
    const QString wanted = QFileInfo(path).canonicalFilePath();
    if (wanted.isEmpty())
        return nullptr;
    for (CChildFrame* frame : childFrames())
        if (!frame->document().path().isEmpty() && QFileInfo(frame->document().path()).canonicalFilePath() == wanted)
            return frame;
    return nullptr;
}

CChildFrame* CMainFrame::openDocument(const QString& path)
{
    if (CChildFrame* open = frameOfFile(path)) {
        if (open->isMinimized())
            open->showMaximized();
        m_mdi->setActiveSubWindow(open);
        m_app.addRecentFile(open->document().path());
        return open;
    }
    auto* document = new CQuillopDoc;
    if (!document->openDocument(path)) {
        delete document;
        refreshCommandStates();
        return nullptr;
    }
    // The path was recorded before the frame listened for it.
    m_app.addRecentFile(document->path());
    return addFrame(document);
}

CChildFrame* CMainFrame::recoverDocument(const QString& copy, const QString& original, const QString& title)
{
    // The saved file open already: the recovered copy takes its place only
    // in a window of its own, beside it, so nothing is replaced unasked.
    auto* document = new CQuillopDoc;
    if (!document->recover(copy, frameOfFile(original) ? QString() : original, title)) {
        delete document;
        return nullptr;
    }
    return addFrame(document);
}

void CMainFrame::openCommand()
{
    CQuillopDoc::FileDialogState& state = CQuillopDoc::fileDialogState();
    const auto choice = CDocumentDialogs::current().chooseOpenFile(this, state.lastName, state.filterIndex);
    if (!choice.accepted || choice.name.empty())
        return;
    state.lastName = choice.name;
    state.filterIndex = choice.filterIndex;
    const std::string name = CDocumentDialogs::withDefaultExtension(choice.name, choice.filterIndex);
    openDocument(QString::fromStdString(name));
}

void CMainFrame::openFiles(const QStringList& paths)
{
    int opened = 0;
    for (const QString& path : paths)
        opened += openDocument(path) ? 1 : 0;
    if (paths.size() > 1 && opened > 0)
        tileHorizontally();
}

QList<CChildFrame*> CMainFrame::childFrames() const
{
    QList<CChildFrame*> frames;
    for (QMdiSubWindow* window : m_mdi->subWindowList(QMdiArea::CreationOrder))
        if (auto* frame = qobject_cast<CChildFrame*>(window))
            frames << frame;
    return frames;
}

CChildFrame* CMainFrame::activeChildFrame() const { return qobject_cast<CChildFrame*>(m_mdi->activeSubWindow()); }

CQuillopView* CMainFrame::activeView() const
{
    CChildFrame* frame = activeChildFrame();
    return frame ? &frame->view() : nullptr;
}

CQuillopDoc* CMainFrame::activeDocument() const
{
    CChildFrame* frame = activeChildFrame();
    return frame ? &frame->document() : nullptr;
}

void CMainFrame::subWindowActivated(QMdiSubWindow* window)
{
    // Activation order on Qt reports the new window only: the previous view
    // is remembered so that its timer stops.
    CQuillopView* next = nullptr;
    if (auto* frame = qobject_cast<CChildFrame*>(window))
        next = &frame->view();
    if (next != m_activeView) {
        if (m_activeView)
            m_activeView->deactivateView();
        m_activeView = next;
        if (m_activeView)
            m_activeView->activateView();
    }
    if (m_historyWindow) {
        CQuillopDoc* document = activeDocument();
        m_historyWindow->showHistory(document ? &document->history() : nullptr);
    }
    refreshCommandStates();
}

void CMainFrame::tileHorizontally()
{
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList(QMdiArea::CreationOrder);
    QList<QMdiSubWindow*> shown;
    for (QMdiSubWindow* w : windows)
        if (!w->isMinimized())
            shown << w;
    if (shown.isEmpty())
        return;
    const QRect area = m_mdi->viewport()->rect();
    const int height = area.height() / static_cast<int>(shown.size());
    for (int i = 0; i < shown.size(); ++i) {
        shown[i]->showNormal();
        shown[i]->setGeometry(0, i * height, area.width(), height);
    }
}

void CMainFrame::tileVertically()
{
    QList<QMdiSubWindow*> shown;
    for (QMdiSubWindow* w : m_mdi->subWindowList(QMdiArea::CreationOrder))
        if (!w->isMinimized())
            shown << w;
    if (shown.isEmpty())
        return;
    const QRect area = m_mdi->viewport()->rect();
    const int width = area.width() / static_cast<int>(shown.size());
    for (int i = 0; i < shown.size(); ++i) {
        shown[i]->showNormal();
        shown[i]->setGeometry(i * width, 0, width, area.height());
    }
}

// --- dialogs and printing --------------------------------------------------

void CMainFrame::showAbout()
{
    const CInterfaceResources& look = m_app.interfaceResources();
    if (const UserInterface* ui = look.userInterface("About")) {
        CInterfaceDialog dialog(*ui, look.holder(), QString::fromLatin1(kAboutTitle), this);
        dialog.exec();
    }
}

QString CMainFrame::manualPageHere() const
{
    if (auto* tool = qobject_cast<CMVT_MDIChildWndParameters*>(m_mdi->activeSubWindow()))
        if (tool->tool())
            return CManualWindow::pageOfTool(QString::fromStdString(tool->tool()->toolTitle()));
    if (const CQuillopView* view = activeView()) {
        const int panel = view->currentPanel();
        if (panel >= 0 && panel < CQuillopView::kPanelCount)
            return QString::fromLatin1(
                CManualWindow::kGroupPages[static_cast<std::size_t>(CQuillopView::kPanelGroups[static_cast<std::size_t>(panel)])]);
    }
    return QStringLiteral("index");
}

void CMainFrame::showManual(const QString& page)
{
    if (!m_manual)
        m_manual = new CManualWindow(this);
    if (!m_manual->showPage(page.isEmpty() ? manualPageHere() : page)) {
        CUiServices::prompter().tell("The manual is not installed: its pages are looked for in "
                                     "share/doc/quillop/manual beside the program.",
                                     IPrompter::Icon::Exclamation);
        return;
    }
    m_manual->show();
    m_manual->raise();
    m_manual->activateWindow();
}

void CMainFrame::showContributors()
{
    const CInterfaceResources& look = m_app.interfaceResources();
    if (const UserInterface* ui = look.userInterface("Contributors")) {
        CInterfaceDialog dialog(*ui, look.holder(), QString::fromLatin1(kContributorsTitle), this);
        dialog.exec();
    }
}

void CMainFrame::showEditHistory()
{
    if (!m_historyWindow)
        m_historyWindow = new CEditHistoryWindow(this);
    CQuillopDoc* document = activeDocument();
    m_historyWindow->showHistory(document ? &document->history() : nullptr);
    m_historyWindow->show();
    m_historyWindow->raise();
}

void CMainFrame::showDocumentProperties()
{
    if (CQuillopDoc* document = activeDocument()) {
        CDocumentPropertiesDialog dialog(*document, this);
        dialog.exec();
    }
}

void CMainFrame::print(bool preview)
{
    CQuillopView* view = activeView();
    if (!view)
        return;
    QPrinter printer;
    if (preview) {
        QPrintPreviewDialog dialog(&printer, this);
        connect(&dialog, &QPrintPreviewDialog::paintRequested, view, &CQuillopView::print);
        dialog.exec();
        return;
    }
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        view->print(&printer);
}

// --- window events ---------------------------------------------------------

void CMainFrame::showWhereItWas()
{
    // Size, place and the maximized state, as the user left them; maximized
    // the first time.
    const QSettings settings(QString::fromLatin1(CQuillopApp::kOrganisation), QStringLiteral("Quillop"));
    const QByteArray geometry = settings.value(QString::fromLatin1(kGeometryKey)).toByteArray();
    if (geometry.isEmpty() || !restoreGeometry(geometry)) {
        showMaximized();
        return;
    }
    show();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    m_mdi->closeAllSubWindows();
    if (!m_mdi->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    if (isVisible())
        QSettings(QString::fromLatin1(CQuillopApp::kOrganisation), QStringLiteral("Quillop"))
            .setValue(QString::fromLatin1(kGeometryKey), saveGeometry());
    m_app.stopAllSounds();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QStringList paths = droppedLocalFiles(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    openFiles(paths);
}
