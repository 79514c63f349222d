#include "kinds/maps/ui/CMapEditor.h"

#include "core/CResourceHolder.h"
#include "core/CStepLock.h"
#include "core/GroupIndex.h"
#include "grid/ui/CIndexList.h"
#include "grid/ui/CZoomView.h"
#include "kinds/maps/CMapCanvasPicture.h"
#include "kinds/maps/CMapCellEdits.h"
#include "kinds/maps/CMapEditorTexts.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/maps/ui/CMapCanvas.h"

#include <QAction>
#include <QActionGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {
struct ToolLook {
    const char* text;
    const char* tip;
};
constexpr ToolLook kToolLooks[] = {
    {"Paint", "Paint the chosen bitmap into the cells the mouse passes"},
    {"Fill Area", "Fill the area of equal cells under the mouse (also Ctrl+click)"},
    {"Fill Rectangle", "Fill the rectangle of cells dragged with the mouse"},
};
} // namespace

CMapEditor::CMapEditor(CStepLock& lock, QWidget* parent)
    : QSplitter(Qt::Horizontal, parent), m_lock(lock), m_picker(new CIndexList), m_status(new QLabel),
      m_canvas(new CMapCanvas(*this)), m_view(new CZoomView(m_canvas))
{
    setObjectName(QStringLiteral("mapEditor"));
    setHandleWidth(kBarWidth);
    setChildrenCollapsible(false);
    m_canvas->setView(m_view);
    m_view->offerGrid(QString::fromLatin1(kGridSetting));

    m_picker->setObjectName(QStringLiteral("mapBitmapPicker"));
    m_picker->setDisplayMode(CIndexList::ModeBitmaps);
    m_picker->setEmptyRow(true);
    m_picker->setMinimumWidth(48);
    addWidget(m_picker);

    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* top = new QHBoxLayout;
    top->setContentsMargins(4, 0, 0, 0);
    m_status->setObjectName(QStringLiteral("mapStatus"));
    top->addWidget(m_status, 1);
    auto* bar = new QToolBar;
    auto* group = new QActionGroup(this);
    for (int t = 0; t < 3; ++t) {
        m_tools[t] = bar->addAction(QString::fromLatin1(kToolLooks[t].text));
        m_tools[t]->setToolTip(QString::fromLatin1(kToolLooks[t].tip));
        m_tools[t]->setStatusTip(QString::fromLatin1(kToolLooks[t].tip));
        m_tools[t]->setCheckable(true);
        group->addAction(m_tools[t]);
        connect(m_tools[t], &QAction::triggered, this, [this, t] { setTool(static_cast<Tool>(t)); });
    }
    m_tools[PaintTool]->setChecked(true);
    top->addWidget(bar);
    layout->addLayout(top);
    layout->addWidget(m_view, 1);
    box->setMinimumWidth(64);
    addWidget(box);
    connect(this, &QSplitter::splitterMoved, this, [this] {
        if (width() > 0 && !sizes().isEmpty())
            m_pickerFraction = double(sizes().front()) / width();
    });
    updateStatus();
}

void CMapEditor::setTool(Tool tool)
{
    m_tool = tool;
    m_tools[tool]->setChecked(true);
}

CMapItem* CMapEditor::map() const
{
    return m_document ? dynamic_cast<CMapItem*>(m_document->get(GroupMaps, m_map)) : nullptr;
}

void CMapEditor::showMap(CResourceHolder* document, int index)
{
    if (const CMapItem* leaving = map())
        m_positions[leaving] = {m_view->position(), m_view->zoomX()};
    if (document != m_document)
        m_positions.clear();
    m_document = document;
    m_map = index;
    if (!map())
        m_map = -1;
    if (m_picker->holder() != document)
        m_picker->attach(document);
    else
        m_picker->refresh();
    layoutContent();
    if (const CMapItem* shown = map()) {
        const auto kept = m_positions.find(shown);
        if (kept != m_positions.end()) {
            m_view->zoomAbout(kept->second.zoom, QPointF(0, 0));
            m_view->scrollTo(kept->second.position);
        } else {
            // A map seen for the first time opens whole.
            m_view->fitWhenSized();
        }
    }
    setCurrentCell(m_current, false);
    m_canvas->mapShown();
}

void CMapEditor::layoutContent()
{
    const CMapItem* shown = map();
    const QRect area = shown ? CMapCanvasPicture::mapArea(*shown) : QRect();
    // The bars keep the zoom and position a user chose while the map's size
    // allows them.
    m_view->setContentRect(area.isEmpty() ? QRectF(0, 0, 1, 1) : QRectF(area));
}

int CMapEditor::paintValue() const
{
    return m_picker->selectedIndex();
}

void CMapEditor::pickValue(int value)
{
    if (m_document && CMapEditorTexts::rowForValue(*m_document, value) >= 0)
        m_picker->select(value);
}

void CMapEditor::setCurrentCell(QPoint cell, bool scroll)
{
    const CMapItem* shown = map();
    const QPoint before = m_current;
    if (shown) {
        cell.setX(std::clamp(cell.x(), 0, std::max(0, shown->columnCount() - 1)));
        cell.setY(std::clamp(cell.y(), 0, std::max(0, shown->lineCount() - 1)));
    }
    m_current = cell;
    if (scroll && shown && shown->columnCount() > 0 && shown->lineCount() > 0)
        m_view->ensureVisible(QRectF(double(cell.x()) * shown->cellWidth(), double(cell.y()) * shown->cellHeight(),
                                     shown->cellWidth(), shown->cellHeight()));
    m_canvas->updateCells(QRect(before, before));
    m_canvas->updateCells(QRect(cell, cell));
    updateStatus();
}

QString CMapEditor::statusText() const
{
    const CMapItem* shown = map();
    return shown ? QString::fromStdString(CMapEditorTexts::statusText(m_current.x(), m_current.y(), *shown)) : QString();
}

void CMapEditor::updateStatus()
{
    m_status->setText(statusText());
}

void CMapEditor::beginEdit(const QString& text)
{
    if (m_openEdits++ == 0) {
        m_changed = false;
        m_step.begin(text);
    }
}

void CMapEditor::endEdit()
{
    if (m_openEdits == 0 || --m_openEdits > 0)
        return;
    m_step.end([this] { emit editFinished(m_changed); });
}

template <typename Change> QRect CMapEditor::edit(const char* text, Change change)
{
    CMapItem* shown = map();
    if (!shown)
        return {};
    beginEdit(QString::fromLatin1(text));
    QRect changed;
    {
        CStepLock::CHold hold(m_lock);
        changed = change(*shown);
    }
    m_changed = m_changed || !changed.isEmpty();
    m_canvas->cellsEdited(changed);
    endEdit();
    return changed;
}

QRect CMapEditor::paintCells(QPoint from, QPoint to)
{
    const int value = paintValue();
    const QRect changed = edit(kPaintText, [&](CMapItem& m) {
        return CMapCellEdits::paint(m, CMapCellEdits::cellsBetween(from, to), value);
    });
    setCurrentCell(to);
    return changed;
}

QRect CMapEditor::fillArea(QPoint cell)
{
    const int value = paintValue();
    const QRect changed = edit(kFillAreaText, [&](CMapItem& m) { return CMapCellEdits::floodFill(m, cell, value); });
    setCurrentCell(cell);
    return changed;
}

QRect CMapEditor::fillRectangle(QPoint a, QPoint b)
{
    const int value = paintValue();
    const QRect changed = edit(kFillRectangleText, [&](CMapItem& m) { return CMapCellEdits::fillRectangle(m, a, b, value); });
    setCurrentCell(b);
    return changed;
}

void CMapEditor::resizeEvent(QResizeEvent* event)
{
    QSplitter::resizeEvent(event);
    const int picker = static_cast<int>(std::lround(m_pickerFraction * width()));
    setSizes({picker, std::max(0, width() - picker - kBarWidth)});
}
