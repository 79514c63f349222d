#include "kinds/maps/ui/CMapEditor.h"

#include "core/CResourceHolder.h"
#include "core/CStepLock.h"
#include "core/GroupIndex.h"
#include "grid/ui/CCellEditor.h"
#include "grid/ui/CIndexList.h"
#include "grid/ui/CItemsDropTarget.h"
#include "grid/ui/CItemPickerDialog.h"
#include "grid/ui/CZoomView.h"
#include "kinds/maps/CMapCanvasPicture.h"
#include "kinds/maps/CMapCellSize.h"
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
    {"Erase", "Empty the cells the mouse passes"},
};

// The value a map's cell size follows: the brush's first bitmap, or -1.
int brushBitmap(const CMapStamp& brush)
{
    for (int y = 0; y < brush.size().height(); ++y)
        for (int x = 0; x < brush.size().width(); ++x)
            if (brush.valueAt({x, y}) >= 0)
                return brush.valueAt({x, y});
    return -1;
}
} // namespace

CMapEditor::CMapEditor(CStepLock& lock, QWidget* parent)
    : QSplitter(Qt::Horizontal, parent), m_lock(lock), m_picker(new CIndexList), m_status(new QLabel),
      m_note(new QLabel), m_canvas(new CMapCanvas(*this)), m_view(new CZoomView(m_canvas))
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
    m_picker->setItemDrags(true);
    addWidget(m_picker);

    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* top = new QHBoxLayout;
    top->setContentsMargins(4, 0, 0, 0);
    m_status->setObjectName(QStringLiteral("mapStatus"));
    top->addWidget(m_status);
    m_note->setObjectName(QStringLiteral("mapNote"));
    m_note->setContentsMargins(12, 0, 0, 0);
    top->addWidget(m_note, 1);
    auto* bar = new QToolBar;
    QAction* pick = bar->addAction(QString::fromLatin1(kPickText));
    pick->setObjectName(QStringLiteral("mapPickBitmap"));
    pick->setToolTip(tr("Choose the bitmap to paint with by its name or picture (F4)"));
    connect(pick, &QAction::triggered, this, &CMapEditor::pickBitmap);
    bar->addSeparator();
    auto* group = new QActionGroup(this);
    for (int t = 0; t < kToolCount; ++t) {
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
    m_drops = new CItemsDropTarget(
        *m_canvas, {GroupBitmaps}, [this] { return m_document; }, m_lock,
        [this](const QString& text) { return map() ? m_step.open(text) : nullptr; },
        [this](int, const std::vector<int>& bitmaps, QPoint at) { return dropBitmaps(bitmaps, m_canvas->cellAt(at)); });
    connect(m_drops, &CItemsDropTarget::dragHovers, m_canvas, &CMapCanvas::showDropAt);
    // Choosing another bitmap puts the stamp away: the pen paints what the
    // picker shows.
    connect(m_picker, &CIndexList::selectionChanged, this, [this] {
        if (m_pickerFollows)
            return;
        m_hasStamp = false;
        updateNote(false, paintValue());
        m_canvas->brushChanged();
    });
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
    m_canvas->brushChanged();
}

CMapStamp CMapEditor::brush() const
{
    if (m_tool == EraseTool)
        return CMapStamp(-1);
    return m_hasStamp ? m_stamp : CMapStamp(paintValue());
}

void CMapEditor::takeStamp(QPoint a, QPoint b)
{
    const CMapItem* shown = map();
    if (!shown)
        return;
    const CMapStamp stamp = CMapStamp::fromMap(*shown, a, b);
    if (stamp.isSingle()) {
        pickValue(stamp.valueAt({0, 0}));
        return;
    }
    m_stamp = stamp;
    m_hasStamp = true;
    // The picker shows the stamp's first cell without putting it away.
    m_pickerFollows = true;
    pickValue(stamp.valueAt({0, 0}));
    m_pickerFollows = false;
    if (m_tool != PaintTool && m_tool != FillTool && m_tool != RectangleTool)
        setTool(PaintTool);
    updateNote(false, -1);
    m_canvas->brushChanged();
}

void CMapEditor::pickBitmap()
{
    if (!m_document)
        return;
    CItemPickerDialog dialog(m_document, GroupBitmaps, paintValue(), this);
    if (dialog.exec() == QDialog::Accepted)
        pickValue(dialog.chosenIndex());
    CCellEditor::giveKeyboardBack(m_canvas);
}

void CMapEditor::updateNote(bool taken, int value)
{
    const CMapItem* shown = map();
    if (!shown || !m_document) {
        m_note->clear();
        return;
    }
    if (!taken && m_hasStamp) {
        m_note->setText(tr("Stamp of %1 x %2 cells").arg(m_stamp.size().width()).arg(m_stamp.size().height()));
        return;
    }
    // An empty map will take the size of what is painted first: nothing to
    // warn of yet.
    const std::string text = taken ? CMapCellSize::takenText(*m_document, *shown, value)
                             : CMapCellSize::holdsNoBitmap(*shown) ? std::string()
                                                                   : CMapCellSize::misfitText(*m_document, *shown, value);
    m_note->setText(QString::fromStdString(text));
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
    updateNote(false, paintValue());
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
    if (!m_document || CMapEditorTexts::rowForValue(*m_document, value) < 0)
        return;
    if (!m_pickerFollows && m_hasStamp) {
        // The same row chosen again says nothing to the picker: the stamp
        // is put away here.
        m_hasStamp = false;
        updateNote(false, value);
        m_canvas->brushChanged();
    }
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
        m_sizeChecked = false;
        m_step.begin(text);
    }
}

void CMapEditor::endEdit()
{
    if (m_openEdits == 0 || --m_openEdits > 0)
        return;
    m_step.end([this] { emit editFinished(m_changed); });
}

template <typename Change> QRect CMapEditor::edit(const char* text, int value, Change change)
{
    CMapItem* shown = map();
    if (!shown)
        return {};
    beginEdit(QString::fromLatin1(text));
    QRect changed;
    bool taken = false;
    const QSizeF cellBefore(shown->cellWidth(), shown->cellHeight());
    {
        CStepLock::CHold hold(m_lock);
        // Only the first change of an edit can meet a map without bitmaps.
        if (!m_sizeChecked && m_document) {
            m_sizeChecked = true;
            taken = CMapCellSize::takeFromBitmap(*shown, *m_document, value);
        }
        changed = change(*shown);
    }
    m_changed = m_changed || !changed.isEmpty() || taken;
    if (taken) {
        // The cells keep their place on the screen, so the stroke under the
        // pointer goes on in the cells it started in.
        const double scale = cellBefore.width() / shown->cellWidth();
        const QPointF position = m_view->position() / scale;
        const double zoom = m_view->zoomX() * scale;
        layoutContent();
        if (cellBefore.height() / shown->cellHeight() == scale) {
            m_view->zoomAbout(zoom, QPointF(0, 0));
            m_view->scrollTo(position);
        }
        m_canvas->mapShown();
        emit cellSizeChanged();
    } else {
        m_canvas->cellsEdited(changed);
    }
    // Said once, and kept for the rest of the stroke; a misfit is said when
    // the bitmap is chosen.
    if (taken)
        updateNote(true, value);
    endEdit();
    return changed;
}

QRect CMapEditor::paintCells(QPoint from, QPoint to, QPoint anchor)
{
    const CMapStamp pen = brush();
    const QRect changed = edit(m_tool == EraseTool ? kEraseText : kPaintText, brushBitmap(pen), [&](CMapItem& m) {
        return CMapCellEdits::paint(m, CMapCellEdits::cellsBetween(from, to), pen, anchor);
    });
    setCurrentCell(to);
    return changed;
}

QRect CMapEditor::fillArea(QPoint cell)
{
    const CMapStamp pen = brush();
    const QRect changed =
        edit(kFillAreaText, brushBitmap(pen), [&](CMapItem& m) { return CMapCellEdits::floodFill(m, cell, pen); });
    setCurrentCell(cell);
    return changed;
}

QRect CMapEditor::fillRectangle(QPoint a, QPoint b)
{
    const CMapStamp pen = brush();
    const QRect changed = edit(kFillRectangleText, brushBitmap(pen),
                               [&](CMapItem& m) { return CMapCellEdits::fillRectangle(m, a, b, pen); });
    setCurrentCell(b);
    return changed;
}

bool CMapEditor::dropBitmaps(const std::vector<int>& bitmaps, QPoint cell)
{
    if (!map() || bitmaps.empty() || cell.x() < 0)
        return false;
    pickValue(bitmaps.front());
    beginEdit(QString::fromLatin1(kDropText));
    QRect changed;
    for (std::size_t k = 0; k < bitmaps.size(); ++k) {
        const QPoint at = cell + QPoint(static_cast<int>(k), 0);
        const CMapStamp pen(bitmaps[k]);
        changed |= edit(kDropText, bitmaps[k], [&](CMapItem& m) { return CMapCellEdits::paint(m, {at}, pen, at); });
    }
    endEdit();
    setCurrentCell(cell);
    return !changed.isEmpty();
}

void CMapEditor::resizeEvent(QResizeEvent* event)
{
    QSplitter::resizeEvent(event);
    const int picker = static_cast<int>(std::lround(m_pickerFraction * width()));
    setSizes({picker, std::max(0, width() - picker - kBarWidth)});
}
