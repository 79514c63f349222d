#include "app/CScreenshotTour.h"

#include "app/CInterfaceResources.h"
#include "app/CMainFrame.h"
#include "app/CQuillopApp.h"
#include "core/GroupIndex.h"
#include "document/CDocumentPropertiesDialog.h"
#include "document/CQuillopView.h"
#include "grid/ui/CIndexList.h"
#include "grid/ui/CItemsGrid.h"
#include "kinds/animations/ui/CAnimationFrameEditor.h"
#include "kinds/animations/ui/CAnimationsPanel.h"
#include "kinds/userinterfaces/ui/CInterfaceDialog.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QThread>
#include <QToolBar>

#include <algorithm>
#include <utility>

namespace {
void settle()
{
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

bool save(const QPixmap& picture, const QString& folder, const QString& name)
{
    return picture.save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

// The window with a panel's first rows marked and its context menu open,
// the editor's own entries unfolded beside it, as a user sees them after a
// right click on the grid.
QPixmap withContextMenu(CMainFrame& frame, CItemsGrid& panel)
{
    const int marked = std::min(panel.rowCount(), 2);
    for (int row = 0; row < marked; ++row)
        panel.setMarked(row, true);
    if (panel.rowCount() > 0)
        panel.selectRow(0);
    settle();
    QMenu menu;
    panel.fillContextMenu(menu);
    menu.adjustSize();
    QPixmap window = frame.grab();
    QPainter painter(&window);
    const QPoint at = panel.mapTo(&frame, panel.rect().center() - QPoint(menu.width() / 2, menu.height() / 2));
    painter.drawPixmap(at, menu.grab());
    for (QAction* action : menu.actions()) {
        QMenu* sub = action->menu();
        if (!sub || !action->isEnabled())
            continue;
        sub->adjustSize();
        painter.drawPixmap(at + QPoint(menu.width() - 4, menu.actionGeometry(action).top()), sub->grab());
    }
    for (int row = 0; row < marked; ++row)
        panel.setMarked(row, false);
    return window;
}

// The Animations panel with its first animation playing in the frame
// editor, the frame list's second row current and its context menu open
// beside it.
QPixmap withFrameEditor(CMainFrame& frame, CAnimationsPanel& panel)
{
    if (panel.rowCount() > 0)
        panel.selectRow(0);
    CAnimationFrameEditor& editor = *panel.frameEditor();
    editor.onionSkinAction()->setChecked(true);
    editor.frameList()->select(1);
    for (int i = 0; i < 8; ++i)
        settle();
    QMenu menu;
    editor.fillFrameMenu(menu);
    menu.adjustSize();
    QPixmap window = frame.grab();
    QPainter painter(&window);
    CIndexList& list = *editor.frameList();
    const QPoint at = list.mapTo(&frame, QPoint(list.width() / 2, list.rowTop(1) + list.rowHeight(1)));
    painter.drawPixmap(at, menu.grab());
    editor.onionSkinAction()->setChecked(false);
    return window;
}
} // namespace

int CScreenshotTour::run(CMainFrame& frame, const QString& folder)
{
    QDir().mkpath(folder);
    int written = 0;
    settle();
    written += save(frame.grab(), folder, QStringLiteral("main")) ? 1 : 0;
    if (CQuillopView* view = frame.activeView()) {
        for (int panel = 0; panel < CQuillopView::kPanelCount; ++panel) {
            view->showPanel(panel, false);
            settle();
            written += save(frame.grab(), folder, QStringLiteral("panel%1").arg(panel)) ? 1 : 0;
            if (CItemsGrid* grid = view->panel(panel))
                written += save(withContextMenu(frame, *grid), folder, QStringLiteral("panel%1-menu").arg(panel)) ? 1 : 0;
        }
        view->showPanel(CQuillopView::panelOfGroup(GroupAnimations), false);
        if (auto* animations = dynamic_cast<CAnimationsPanel*>(view->panel(view->currentPanel())))
            written += save(withFrameEditor(frame, *animations), folder, QStringLiteral("animation-editor")) ? 1 : 0;
        view->showPanel(0, false);
    }
    // The main menu drawn below its button, over the window as a user sees it.
    QMenu* menu = frame.buildMainMenu(&frame);
    menu->adjustSize();
    QPixmap window = frame.grab();
    {
        QPainter painter(&window);
        const QPoint at(4, frame.commandBar() ? frame.commandBar()->geometry().bottom() : 40);
        painter.drawPixmap(at, menu->grab());
    }
    written += save(window, folder, QStringLiteral("main-menu")) ? 1 : 0;
    delete menu;
    if (CQuillopApp* app = CQuillopApp::instance()) {
        const CInterfaceResources& look = app->interfaceResources();
        for (const auto& [name, title] : {std::pair{"About", CMainFrame::kAboutTitle},
                                          std::pair{"Contributors", CMainFrame::kContributorsTitle}})
            if (const UserInterface* ui = look.userInterface(name)) {
                CInterfaceDialog dialog(*ui, look.holder(), QString::fromLatin1(title), &frame);
                dialog.show();
                settle();
                written += save(dialog.grab(), folder, QString::fromLatin1(name).toLower()) ? 1 : 0;
                dialog.reject();
            }
    }
    if (CQuillopDoc* document = frame.activeDocument()) {
        CDocumentPropertiesDialog dialog(*document, &frame);
        dialog.show();
        settle();
        written += save(dialog.grab(), folder, QStringLiteral("properties")) ? 1 : 0;
        dialog.reject();
    }
    return written;
}
