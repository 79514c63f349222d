#pragma once

#include "core/CItemReferences.h"
#include "core/CResourceItem.h"

#include <QPoint>
#include <QRect>

#include <cstdint>
#include <string>
#include <vector>

class CResourceHolder;
class IPrompter;
class QPainter;

// A map of the Maps group: a grid of cells, each naming a bitmap of the
// Bitmaps group by index or -1 for an empty cell, drawn as the tile layer of
// a scene. Cells are kept column by column, as the file stores them: the cell
// at (column x, line y) is element y of column x.
//
// Operations answer 1 for success and 0 for failure; look-ups outside the
// map answer -1 (pixel to cell) or 0 (cell value).
class CMapItem : public CResourceItem, public IItemReferences {
public:
    static constexpr std::int32_t kTypeGridOfBitmaps = 0;
    static constexpr int kDefaultCellSize = 32;
    static constexpr int kNewMapSide = 10;
    // Growing a map allocates every new cell at once; a size typed into the
    // grid beyond this many cells is refused rather than exhausting memory.
    static constexpr std::int64_t kMaxCells = std::int64_t(1) << 26;
    // Every column costs memory of its own, cells or not: the number of
    // columns (and of lines) is bounded too, or a map of no lines and
    // millions of columns would take gigabytes.
    static constexpr std::int64_t kMaxSide = std::int64_t(1) << 16;
    static bool sizeFits(std::int64_t columns, std::int64_t lines)
    {
        return columns >= 0 && lines >= 0 && columns <= kMaxSide && lines <= kMaxSide && columns * lines <= kMaxCells;
    }
    // Bytes of one stored cell: a coded short.
    static constexpr int kStoredCellBytes = 2;

    static constexpr const char* kReduceQuestion =
        "Reducing the map size will result as a loss of a part of the map data, do you really want to change the map size ?";

    CMapItem();

    std::unique_ptr<CResourceItem> createDefault() const override;
    int serialize(CArchive& ar, CSectionCoder& coder) override;
    void renumberReferences(int group, const CIndexChange& change) override { followRowChange(group, change); }
    // Each cell's bitmap, column by column.
    void forEachReference(const std::function<bool(const CItemReference&)>& visit) const override;
    void setReference(const CItemReference& reference, int index) override;
    std::string referencePlace(const CItemReference& reference) const override;
    bool refersToItems() const override { return true; }

    // No columns, no lines, cells of 32 × 32.
    void clear();

    // The column under a pixel x of the map's own coordinates, or -1 outside
    // the map (and for a cell width of 0 or less, which has no pixels).
    int columnAt(int x) const;
    int lineAt(int y) const;

    std::int32_t mapType() const { return m_type; }
    void setMapType(std::int32_t type) { m_type = type; }
    // "Grid of Bitmaps" for type 0, "Not Valid" for any other.
    static const char* typeText(std::int32_t type);
    // Always empty: the grid's Specifications column has nothing to say.
    std::string specsText() const { return {}; }

    int columnCount() const { return static_cast<int>(m_columns.size()); }
    int lineCount() const { return m_lines; }
    std::int32_t sizeX() const { return m_sizeX; }
    std::int32_t sizeY() const { return m_sizeY; }
    std::int32_t cellWidth() const { return m_cellWidth; }
    std::int32_t cellHeight() const { return m_cellHeight; }
    // The shown size and the drawing size of a cell change together.
    void setSizeX(std::int32_t value) { m_sizeX = m_cellWidth = value; }
    void setSizeY(std::int32_t value) { m_sizeY = m_cellHeight = value; }

    // Draws the cells that `clip` (device coordinates) can show, with the
    // map's top-left corner at `origin`. Each cell's bitmap is drawn with its
    // corner on the cell's corner, its own offsets cancelled: stretched to
    // the cell size, or at its natural size. Only maps of type 0 are drawn.
    // Answers the number of bitmaps drawn.
    int drawStretched(QPainter& painter, const CResourceHolder& document, QPoint origin, const QRect& clip) const;
    int drawNaturalSize(QPainter& painter, const CResourceHolder& document, QPoint origin, const QRect& clip) const;

    int removeColumn(int column);
    int removeLine(int line);
    // Inserts empty cells before the index, clamped into 0..count.
    int insertColumn(int column);
    int insertLine(int line);
    int setCell(int column, int line, int value);
    int cell(int column, int line) const;

    // Reference keeping for the Bitmaps group in the two forms older callers
    // use: every cell in first..last (inclusive) gets delta added; every cell
    // equal to `from` becomes `to`. Answer how many cells changed.
    int addToCellsInRange(int first, int last, int delta);
    int replaceCells(int from, int to);

    // To C columns and L lines, keeping every cell's position: the right and
    // bottom edges grow with empty cells or shrink. Shrinking asks first; any
    // answer but Yes changes nothing. 0 when nothing changed (same size,
    // declined, a negative count or more than kMaxCells cells).
    int resize(int columns, int lines, IPrompter& prompter);

private:
    int draw(QPainter& painter, const CResourceHolder& document, QPoint origin, const QRect& clip, bool stretched) const;
    bool validCell(int column, int line) const;
    static std::int16_t toCell(int value);

    std::int32_t m_type = kTypeGridOfBitmaps;
    std::int32_t m_sizeX = kDefaultCellSize;
    std::int32_t m_sizeY = kDefaultCellSize;
    std::int32_t m_cellWidth = kDefaultCellSize;
    std::int32_t m_cellHeight = kDefaultCellSize;
    // Kept apart from the columns so that a map without columns still knows
    // how tall its columns are to be.
    int m_lines = 0;
    std::vector<std::vector<std::int16_t>> m_columns;
};
