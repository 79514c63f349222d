#include "kinds/maps/CMapItem.h"

#include "core/CArchive.h"
#include "core/CArchiveException.h"
#include "core/CIndexChange.h"
#include "core/CResourceHolder.h"
#include "core/CSectionCoder.h"
#include "core/GroupIndex.h"
#include "core/IPrompter.h"
#include "core/IntRange.h"
#include "media/image/CDisplayBuffer.h"
#include "quillop/runtime/TypeTexts.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The cell (or -1) under a pixel along one axis.
int cellAt(int pixel, int cellSize, int count)
{
    if (cellSize <= 0 || pixel < 0 || std::int64_t(pixel) >= std::int64_t(cellSize) * count)
        return -1;
    return pixel / cellSize;
}

// First and last cells along one axis that a clip span can show, clamped
// into the map; first > last when the map has no cells along the axis.
std::pair<int, int> visibleSpan(int clipStart, int clipEnd, int origin, int cellSize, int count)
{
    const auto clamp = [count](std::int64_t v) { return int(std::clamp<std::int64_t>(v, 0, count - 1)); };
    if (count <= 0)
        return {0, -1};
    return {clamp((std::int64_t(clipStart) - origin) / cellSize), clamp((std::int64_t(clipEnd) - origin) / cellSize)};
}
} // namespace

CMapItem::CMapItem()
    : m_lines(kNewMapSide),
      m_columns(kNewMapSide, std::vector<std::int16_t>(kNewMapSide, -1))
{
}

std::unique_ptr<CResourceItem> CMapItem::createDefault() const
{
    return std::make_unique<CMapItem>();
}

void CMapItem::clear()
{
    m_columns.clear();
    m_lines = 0;
    setSizeX(kDefaultCellSize);
    setSizeY(kDefaultCellSize);
}

int CMapItem::serialize(CArchive& ar, CSectionCoder& coder)
{
    CResourceItem::serialize(ar, coder);
    if (ar.isLoading())
        clear();
    std::int32_t columns = columnCount();
    std::int32_t lines = m_lines;
    std::int32_t sizeY = m_sizeY;
    std::int32_t sizeX = m_sizeX;
    coder.codeRecordHeader(ar);
    coder.codeInt(ar, m_type);
    coder.codeInt(ar, columns);
    coder.codeInt(ar, lines);
    coder.codeInt(ar, sizeY);
    coder.codeInt(ar, sizeX);
    if (ar.isLoading()) {
        // A map without columns or lines has no cells to read, and keeps the
        // cleared cell size whatever sizes were stored.
        if (columns <= 0 || lines <= 0)
            return 1;
        if (!sizeFits(columns, lines))
            throw CArchiveException(CArchiveException::Cause::BadLength, "a map larger than a map can be");
        ar.requireRemaining(std::int64_t(columns) * lines * kStoredCellBytes);
        setSizeY(sizeY);
        setSizeX(sizeX);
        m_lines = lines;
        m_columns.assign(static_cast<std::size_t>(columns), std::vector<std::int16_t>(static_cast<std::size_t>(lines), -1));
    }
    for (std::vector<std::int16_t>& column : m_columns)
        for (std::int16_t& value : column)
            coder.codeShort(ar, value);
    return 1;
}

std::int16_t CMapItem::toCell(int value)
{
    return static_cast<std::int16_t>(
        std::clamp(value, int(std::numeric_limits<std::int16_t>::min()), int(std::numeric_limits<std::int16_t>::max())));
}

void CMapItem::forEachReference(const std::function<bool(const CItemReference&)>& visit) const
{
    for (int x = 0; x < columnCount(); ++x) {
        const std::vector<std::int16_t>& column = m_columns[std::size_t(x)];
        for (int y = 0; y < static_cast<int>(column.size()); ++y)
            if (!visit({GroupBitmaps, column[std::size_t(y)], x, y, "shows"}))
                return;
    }
}

void CMapItem::setReference(const CItemReference& reference, int index)
{
    if (reference.group == GroupBitmaps && reference.part >= 0 && reference.part < columnCount()) {
        std::vector<std::int16_t>& column = m_columns[std::size_t(reference.part)];
        if (reference.subpart >= 0 && reference.subpart < static_cast<int>(column.size()))
            column[std::size_t(reference.subpart)] = toCell(index);
    }
}

std::string CMapItem::referencePlace(const CItemReference& reference) const
{
    return "The cell (" + std::to_string(reference.part) + ", " + std::to_string(reference.subpart) + ")";
}

int CMapItem::columnAt(int x) const
{
    return cellAt(x, m_cellWidth, columnCount());
}

int CMapItem::lineAt(int y) const
{
    return cellAt(y, m_cellHeight, m_lines);
}

const char* CMapItem::typeText(std::int32_t type)
{
    return quillop::mapTypeText(type);
}

bool CMapItem::validCell(int column, int line) const
{
    return column >= 0 && column < columnCount() && line >= 0 && line < m_lines;
}

int CMapItem::cell(int column, int line) const
{
    return validCell(column, line) ? m_columns[std::size_t(column)][std::size_t(line)] : 0;
}

int CMapItem::setCell(int column, int line, int value)
{
    if (!validCell(column, line) || value != toCell(value))
        return 0;
    m_columns[std::size_t(column)][std::size_t(line)] = static_cast<std::int16_t>(value);
    return 1;
}

int CMapItem::removeColumn(int column)
{
    if (column < 0 || column >= columnCount())
        return 0;
    m_columns.erase(m_columns.begin() + column);
    return 1;
}

int CMapItem::removeLine(int line)
{
    if (line < 0 || line >= m_lines)
        return 0;
    for (std::vector<std::int16_t>& c : m_columns)
        c.erase(c.begin() + line);
    --m_lines;
    return 1;
}

int CMapItem::insertColumn(int column)
{
    column = std::clamp(column, 0, columnCount());
    m_columns.insert(m_columns.begin() + column, std::vector<std::int16_t>(static_cast<std::size_t>(m_lines), -1));
    return 1;
}

int CMapItem::insertLine(int line)
{
    line = std::clamp(line, 0, m_lines);
    for (std::vector<std::int16_t>& c : m_columns)
        c.insert(c.begin() + line, std::int16_t(-1));
    ++m_lines;
    return 1;
}

int CMapItem::addToCellsInRange(int first, int last, int delta)
{
    int changed = 0;
    for (std::vector<std::int16_t>& column : m_columns)
        for (std::int16_t& value : column)
            if (value >= first && value <= last) {
                value = toCell(int(std::clamp<std::int64_t>(std::int64_t(value) + delta, -32768, 32767)));
                ++changed;
            }
    return changed;
}

int CMapItem::replaceCells(int from, int to)
{
    int changed = 0;
    for (std::vector<std::int16_t>& column : m_columns)
        for (std::int16_t& value : column)
            if (value == from) {
                value = toCell(to);
                ++changed;
            }
    return changed;
}

int CMapItem::resize(int columns, int lines, IPrompter& prompter)
{
    if (!sizeFits(columns, lines))
        return 0;
    if (columns == columnCount() && lines == m_lines)
        return 0;
    if ((columns < columnCount() || lines < m_lines) &&
        prompter.ask(kReduceQuestion, IPrompter::Buttons::YesNo, IPrompter::Icon::Question) != IPrompter::Answer::Yes)
        return 0;
    m_columns.resize(static_cast<std::size_t>(columns), std::vector<std::int16_t>(static_cast<std::size_t>(m_lines), -1));
    for (std::vector<std::int16_t>& c : m_columns)
        c.resize(static_cast<std::size_t>(lines), -1);
    m_lines = lines;
    return 1;
}

int CMapItem::drawStretched(QPainter& painter, const CResourceHolder& document, QPoint origin, const QRect& clip) const
{
    return draw(painter, document, origin, clip, true);
}

int CMapItem::drawNaturalSize(QPainter& painter, const CResourceHolder& document, QPoint origin, const QRect& clip) const
{
    return draw(painter, document, origin, clip, false);
}

namespace {
// A scaled cell's own view, its corners moved to the nearest whole pixels:
// the same pixels its neighbours' corners fall on. Cells scaled one by one
// through the common view each round their own edges, which leaves a line
// of background between two of them every few cells.
QTransform onWholePixels(const QTransform& view, QPointF corner, QSizeF cell)
{
    const QPointF from = view.map(corner);
    const QPointF to = view.map(corner + QPointF(cell.width(), cell.height()));
    const double left = std::round(from.x());
    const double top = std::round(from.y());
    return QTransform((std::round(to.x()) - left) / cell.width(), 0, 0, (std::round(to.y()) - top) / cell.height(),
                      left, top);
}
} // namespace

int CMapItem::draw(QPainter& painter, const CResourceHolder& document, QPoint origin, const QRect& clip,
                   bool stretched) const
{
    if (m_type != kTypeGridOfBitmaps || m_cellWidth <= 0 || m_cellHeight <= 0)
        return 0;
    // The clip's right and bottom edges are taken as the first pixel past it.
    const auto [firstColumn, lastColumn] =
        visibleSpan(clip.left(), clip.left() + clip.width(), origin.x(), m_cellWidth, columnCount());
    const auto [firstLine, lastLine] = visibleSpan(clip.top(), clip.top() + clip.height(), origin.y(), m_cellHeight, m_lines);
    int drawn = 0;
    const QTransform view = painter.transform();
    const bool scaled = view.type() == QTransform::TxScale;
    for (int line = firstLine; line <= lastLine; ++line) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const auto* bitmap = dynamic_cast<const CDisplayBuffer*>(document.get(GroupBitmaps, cell(column, line)));
            if (!bitmap)
                continue;
            const QPointF corner(double(origin.x()) + double(column) * m_cellWidth,
                                 double(origin.y()) + double(line) * m_cellHeight);
            // A bitmap always adds its own offsets when it draws; the tiles
            // must sit on the grid, so the painter is moved back by them.
            // The natural-size drawing truncates the offsets, the stretched
            // one uses them as they are.
            const QPointF own = stretched ? QPointF(bitmap->offsetX(), bitmap->offsetY())
                                          : QPointF(toPixel(bitmap->offsetX()), toPixel(bitmap->offsetY()));
            painter.save();
            if (scaled)
                painter.setTransform(onWholePixels(view, corner, QSizeF(m_cellWidth, m_cellHeight)));
            else
                painter.translate(corner);
            painter.translate(-own);
            drawn += stretched ? bitmap->stretchDraw(painter, 0, 0, m_cellWidth, m_cellHeight) : bitmap->draw(painter, 0, 0);
            painter.restore();
        }
    }
    return drawn;
}
