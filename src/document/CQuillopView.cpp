#include "document/CQuillopView.h"

#include "core/CDocumentHistory.h"
#include "core/IPrompter.h"
#include "core/CResourceHolder.h"
#include "document/CQuillopDoc.h"
#include "grid/ui/CItemsGrid.h"
#include "kinds/ui/CKindPanels.h"
#include "kinds/texts/CDocumentSettings.h"

#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QStackedLayout>

#include <cmath>

namespace {
CQuillopView::PanelFactory& panelFactory()
{
    static CQuillopView::PanelFactory factory;
    return factory;
}
} // namespace

void CQuillopView::setPanelFactory(PanelFactory factory) { panelFactory() = std::move(factory); }

int CQuillopView::panelOfGroup(int group)
{
    for (int i = 0; i < kPanelCount; ++i)
        if (kPanelGroups[static_cast<std::size_t>(i)] == group)
            return i;
    return -1;
}

CQuillopView::CQuillopView(CQuillopDoc& document, QWidget* parent)
    : QWidget(parent), m_document(document), m_stack(new QStackedLayout(this))
{
    m_stack->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < kPanelCount; ++i) {
        const int group = kPanelGroups[static_cast<std::size_t>(i)];
        CItemsGrid* grid = panelFactory() ? panelFactory()(group) : nullptr;
        if (!grid)
            grid = createKindPanel(group);
        grid->setObjectName(QStringLiteral("panel%1").arg(i));
        grid->attach(&document.holder(), this);
        m_panels[static_cast<std::size_t>(i)] = grid;
        m_stack->addWidget(grid);
        connect(this, &CQuillopView::dataChanged, grid, &CItemsGrid::reload);
        connect(grid, &CItemsGrid::previewChanged, this, &CQuillopView::followPreview);
    }
    m_stack->setCurrentIndex(0);
    m_readRevision.fill(document.holder().rowsRevision());
    setFocusPolicy(Qt::StrongFocus);
    auto reloadAll = [this] {
        broadcastReload();
        // The step delay is a setting of the document.
        if (m_timer.isRunning())
            restartTimer(true, true);
    };
    connect(&document, &CQuillopDoc::propertiesApplied, this, reloadAll);
    // A step is applied with every panel locked, so that no game step reads
    // rows or records half restored; then every panel reloads.
    document.history().setApplyWrapper([this](const std::function<void()>& apply) { runLocked(0, apply); });
    connect(&document.history(), &CDocumentHistory::applied, this, reloadAll);
}

void CQuillopView::runLocked(int panel, const std::function<void()>& apply)
{
    if (panel >= kPanelCount) {
        apply();
        return;
    }
    m_panels[static_cast<std::size_t>(panel)]->runLocked([&] { runLocked(panel + 1, apply); });
}

CQuillopView::~CQuillopView()
{
    m_document.history().setApplyWrapper({});
    // The timer thread steps the panels: it must be gone before they are.
    m_timer.stop();
}

CItemsGrid* CQuillopView::panel(int index) const
{
    return index >= 0 && index < kPanelCount ? m_panels[static_cast<std::size_t>(index)] : nullptr;
}

void CQuillopView::showPanel(int index, bool selectLast)
{
    CItemsGrid* next = panel(index);
    if (!next)
        return;
    CItemsGrid* before = panel(m_current.load());
    const std::uint64_t revision = m_document.holder().rowsRevision();
    if (before != next) {
        // The panel left made the changes it saw itself.
        m_readRevision[static_cast<std::size_t>(m_current.load())] = revision;
        before->deactivate();
        m_current.store(index);
        if (m_readRevision[static_cast<std::size_t>(index)] != revision)
            next->reload();
        m_readRevision[static_cast<std::size_t>(index)] = m_document.holder().rowsRevision();
        m_stack->setCurrentWidget(next);
        next->activate();
        followPreview();
    }
    next->setFocus();
    if (selectLast && next->rowCount() > 0)
        next->selectRow(next->rowCount() - 1);
    emit currentPanelChanged(index);
}

void CQuillopView::setMaintainRelationships(bool on)
{
    m_maintain = on;
    emit maintainRelationshipsChanged(on);
}

void CQuillopView::markModified() { m_document.markModified(); }

CDocumentHistory* CQuillopView::history() const { return &m_document.history(); }

void CQuillopView::broadcastReload()
{
    emit dataChanged();
    m_readRevision.fill(m_document.holder().rowsRevision());
}

bool CQuillopView::checkIntegrity(IPrompter& prompter)
{
    for (int i = 0; i < kPanelCount; ++i) {
        if (!m_panels[static_cast<std::size_t>(i)]->check()) {
            showPanel(i, false);
            return false;
        }
    }
    prompter.tell(kIntegrityOk, IPrompter::Icon::Information);
    return true;
}

void CQuillopView::activateView()
{
    m_active = true;
    if (CItemsGrid* current = panel(m_current.load()))
        current->setFocus();
    restartTimer(true, true);
}

void CQuillopView::deactivateView()
{
    m_active = false;
    restartTimer(true, false);
}

void CQuillopView::followPreview()
{
    CItemsGrid* current = panel(m_current.load());
    const bool plays = m_active && current && current->previewPlays();
    if (plays != m_timer.isRunning())
        restartTimer(!plays, plays);
}

void CQuillopView::restartTimer(bool stop, bool start)
{
    if (stop && m_timer.isRunning())
        m_timer.stop();
    if (start && !m_timer.isRunning()) {
        CItemsGrid* current = panel(m_current.load());
        // Nothing to step: the editor sleeps until a preview plays.
        if (current && current->previewPlays()) {
            const int delay = CDocumentSettings(m_document.holder()).timerStepDelay();
            // The timer thread raises a flag and wakes this thread only when
            // the flag was down: a slow repaint never queues up wake-ups.
            m_timer.start(delay, [this] { return timerStep(); },
                          [this] { QMetaObject::invokeMethod(this, &CQuillopView::collectSteps, Qt::QueuedConnection); });
        }
        if (current && !current->isLocked())
            current->showStep();
    }
}

bool CQuillopView::timerStep()
{
    ++m_steps;
    CItemsGrid* current = panel(m_current.load());
    return current && current->runGameStep();
}

void CQuillopView::collectSteps()
{
    CItemsGrid* current = panel(m_current.load());
    if (current && !current->previewPlays()) {
        restartTimer(true, false);
        return;
    }
    if (!m_timer.takeStepPending())
        return;
    if (current && !current->isLocked()) {
        current->showStep();
        ++m_shownSteps;
    }
}

void CQuillopView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (CItemsGrid* current = panel(m_current.load()))
        current->setFocus();
}

void CQuillopView::drawPlaceholderPage(QPainter& painter, const QRect& page)
{
    const QString text = QString::fromLatin1(kPrintPlaceholder);
    painter.drawText(page, Qt::AlignCenter | Qt::TextSingleLine, text);
    const double cx = page.center().x();
    const double cy = page.center().y();
    const double w = page.width();
    const double h = page.height();
    QPainterPath curve;
    bool first = true;
    // Counted in whole steps so that rounding never drops the last point.
    for (int k = 0; k <= 1001; ++k) {
        const double t = k * 0.001;
        const QPointF p(cx + w / 2 * std::cos(31.4159 * t), cy + h / 2 * std::sin(18.84954 * t));
        if (first)
            curve.moveTo(p);
        else
            curve.lineTo(p);
        first = false;
    }
    painter.drawPath(curve);
}

void CQuillopView::print(QPrinter* printer)
{
    QPainter painter(printer);
    if (!painter.isActive())
        return;
    drawPlaceholderPage(painter, printer->pageLayout().paintRectPixels(printer->resolution()).translated(
                                     -printer->pageLayout().paintRectPixels(printer->resolution()).topLeft()));
}
