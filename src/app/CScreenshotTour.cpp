#include "app/CScreenshotTour.h"

#include "app/CInterfaceResources.h"
#include "app/CManualWindow.h"
#include "kinds/worlds/CWorldPicture.h"
#include "app/CMainFrame.h"
#include "app/CQuillopApp.h"
#include "core/GroupIndex.h"
#include "document/CDocumentPropertiesDialog.h"
#include "document/CQuillopDoc.h"
#include "document/CQuillopView.h"
#include "grid/ui/CIndexList.h"
#include "grid/ui/CItemsGrid.h"
#include "kinds/animations/ui/CAnimationFrameEditor.h"
#include "kinds/animations/ui/CAnimationsPanel.h"
#include "kinds/bitmaps/CBitmapItem.h"
#include "kinds/bitmaps/ui/CBitmapOffsetPane.h"
#include "kinds/bitmaps/ui/CBitmapsPanel.h"
#include "kinds/maps/ui/CMapEditor.h"
#include "kinds/maps/ui/CMapsPanel.h"
#include "kinds/userinterfaces/ui/CInterfaceDialog.h"
#include "app/CToolWindows.h"
#include "params/ui/CMVT_MDIChildWndParameters.h"
#include "tools/analysis/ui/CAnalysisViewDialog.h"
#include "tools/analysis/ui/CDocAnalyzeFundamental.h"
#include "tools/analysis/ui/CGradientColorEditor.h"
#include "core/CResourceHolder.h"
#include "grid/ui/CZoomView.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QThread>
#include <QToolBar>

#include <algorithm>
#include <cmath>
#include <numbers>
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

// Three notes of a voice-like tone (a fundamental and decaying harmonics),
// for a preview picture with something to show.
CSampleBuffer threeNotes(double rate)
{
    CSampleBuffer out;
    const double notes[] = {220.0, 330.0, 165.0};
    const auto perNote = static_cast<std::uint32_t>(rate * 0.7);
    out.resize(perNote * 3);
    double phase = 0.0;
    for (std::uint32_t i = 0; i < out.count(); ++i) {
        phase += 2.0 * std::numbers::pi * notes[i / perNote] / rate;
        double v = 0.0;
        for (int h = 1; h <= 6; ++h)
            v += std::sin(h * phase) / (h * h);
        out.set(i, 0.5 * v);
    }
    return out;
}

// Every tool window in the main window, then the analysis view with its
// curves and the gradient editor over a preview of three notes.
int toolWindows(CMainFrame& frame, const QString& folder)
{
    int written = 0;
    for (const char* command : CToolWindows::kCommands) {
        QMdiSubWindow* window = frame.openToolWindow(QString::fromLatin1(command));
        if (!window)
            continue;
        window->showMaximized();
        settle();
        written += save(frame.grab(), folder, QStringLiteral("tool-") + QString::fromLatin1(command).replace(QLatin1Char(' '), QLatin1Char('-')))
                       ? 1
                       : 0;
        auto* analysis = qobject_cast<CDocAnalyzeFundamental*>(qobject_cast<CMVT_MDIChildWndParameters*>(window)->tool());
        if (analysis) {
            CAnalyzeFundamentalEngine& engine = analysis->engine();
            engine.setSource(threeNotes(22050.0), 22050.0);
            if (engine.preview({})) {
                engine.optimiseMargins();
                CAnalysisViewDialog view(engine.view(), &frame);
                view.show();
                settle();
                written += save(view.grab(), folder, QStringLiteral("analysis-view")) ? 1 : 0;
                view.accept();
            }
            CGradientColorEditor editor(engine.view().gradient(), &frame);
            editor.show();
            settle();
            written += save(editor.grab(), folder, QStringLiteral("gradient-editor")) ? 1 : 0;
            editor.reject();
        }
        window->close();
        settle();
    }
    return written;
}

// The Bitmaps panel with two bitmaps selected, their offsets moved apart in
// the preview; the offsets are put back afterwards.
QPixmap withBitmapEditor(CMainFrame& frame, CBitmapsPanel& panel)
{
    CResourceHolder* document = panel.holder();
    if (!document || panel.rowCount() < 2)
        return frame.grab();
    auto* first = dynamic_cast<CBitmapItem*>(document->get(GroupBitmaps, 0));
    auto* second = dynamic_cast<CBitmapItem*>(document->get(GroupBitmaps, 1));
    const QPointF kept[2] = {{first->offsetX(), first->offsetY()}, {second->offsetX(), second->offsetY()}};
    panel.selectRow(1);
    panel.setMarked(0, true);
    first->setOffsetX(kept[0].x() + 40);
    first->setOffsetY(kept[0].y() + 24);
    panel.reloadEditorView();
    settle();
    const QPixmap window = frame.grab();
    first->setOffsetX(kept[0].x());
    first->setOffsetY(kept[0].y());
    second->setOffsetX(kept[1].x());
    second->setOffsetY(kept[1].y());
    panel.setMarked(0, false);
    panel.reloadEditorView();
    return window;
}

// The Maps panel's editor zoomed to 200 % with a current cell highlighted.
QPixmap withMapEditor(CMainFrame& frame, CMapsPanel& panel)
{
    if (panel.rowCount() > 0)
        panel.selectRow(0);
    CMapEditor& editor = *panel.editor();
    editor.zoomView()->zoomAbout(2.0, QPointF(0, 0));
    editor.setCurrentCell({2, 1});
    settle();
    const QPixmap window = frame.grab();
    editor.zoomView()->zoomAbout(1.0, QPointF(0, 0));
    return window;
}
} // namespace

void CScreenshotTour::useDarkPalette()
{
    QPalette dark;
    const QColor window(53, 53, 53), base(35, 35, 35), text(230, 230, 230), disabled(127, 127, 127);
    dark.setColor(QPalette::Window, window);
    dark.setColor(QPalette::WindowText, text);
    dark.setColor(QPalette::Base, base);
    dark.setColor(QPalette::AlternateBase, window);
    dark.setColor(QPalette::ToolTipBase, base);
    dark.setColor(QPalette::ToolTipText, text);
    dark.setColor(QPalette::Text, text);
    dark.setColor(QPalette::Button, window);
    dark.setColor(QPalette::ButtonText, text);
    dark.setColor(QPalette::BrightText, Qt::red);
    dark.setColor(QPalette::Link, QColor(110, 170, 255));
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    dark.setColor(QPalette::PlaceholderText, disabled);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(QPalette::Disabled, role, disabled);
    QApplication::setPalette(dark);
}

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
            // Named after the manual's page of the group, which shows them.
            const QString page = QString::fromLatin1(
                CManualWindow::kGroupPages[static_cast<std::size_t>(CQuillopView::kPanelGroups[static_cast<std::size_t>(panel)])]);
            written += save(frame.grab(), folder, page) ? 1 : 0;
            if (CItemsGrid* grid = view->panel(panel))
                written += save(withContextMenu(frame, *grid), folder, page + QStringLiteral("-menu")) ? 1 : 0;
        }
        view->showPanel(CQuillopView::panelOfGroup(GroupAnimations), false);
        if (auto* animations = dynamic_cast<CAnimationsPanel*>(view->panel(view->currentPanel())))
            written += save(withFrameEditor(frame, *animations), folder, QStringLiteral("animation-editor")) ? 1 : 0;
        view->showPanel(CQuillopView::panelOfGroup(GroupBitmaps), false);
        if (auto* bitmaps = dynamic_cast<CBitmapsPanel*>(view->panel(view->currentPanel())))
            written += save(withBitmapEditor(frame, *bitmaps), folder, QStringLiteral("bitmap-editor")) ? 1 : 0;
        view->showPanel(CQuillopView::panelOfGroup(GroupMaps), false);
        if (auto* maps = dynamic_cast<CMapsPanel*>(view->panel(view->currentPanel())))
            written += save(withMapEditor(frame, *maps), folder, QStringLiteral("map-editor")) ? 1 : 0;
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
    written += toolWindows(frame, folder);
    // What quillop-cli render-world draws of the first world after 40 steps.
    if (CQuillopDoc* document = frame.activeDocument(); document && document->holder().count(GroupWorlds) > 0) {
        const QImage world = CWorldPicture::render(document->holder(), 0, 40, QSize(320, 240), QPoint(94, 94));
        written += world.save(QDir(folder).filePath(QStringLiteral("render-world.png"))) ? 1 : 0;
    }
    return written;
}
