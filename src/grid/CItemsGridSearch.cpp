#include "grid/CItemsGridSearch.h"

bool CItemsGridSearch::matches(const QString& cellText, const QString& text, bool matchCase, bool wholeWord)
{
    if (text.isEmpty())
        return false;
    const Qt::CaseSensitivity cs = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const qsizetype at = cellText.indexOf(text, 0, cs);
    if (at < 0)
        return false;
    if (!wholeWord)
        return true;
    // Only the first occurrence is judged, and only the blank separates words.
    const qsizetype end = at + text.size();
    const bool before = at == 0 || cellText.at(at - 1) == QLatin1Char(' ');
    const bool after = end == cellText.size() || cellText.at(end) == QLatin1Char(' ');
    return before && after;
}

QString CItemsGridSearch::replaced(const QString& cellText, const QString& text, const QString& replacement,
                                   bool matchCase)
{
    if (text.isEmpty())
        return cellText;
    QString result = cellText;
    result.replace(text, replacement, matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive);
    return result;
}

std::vector<CItemsGridSearch::Cell> CItemsGridSearch::walk(int columns, int rows, Cell start, bool backward)
{
    std::vector<Cell> cells;
    if (columns <= 0 || rows <= 0)
        return cells;
    const long long total = static_cast<long long>(columns) * rows;
    cells.reserve(static_cast<std::size_t>(total));
    long long position = static_cast<long long>(start.row) * columns + start.column;
    if (position < 0 || position >= total)
        position = backward ? 0 : total - 1;
    for (long long k = 1; k <= total; ++k) {
        const long long p = ((backward ? position - k : position + k) % total + total) % total;
        cells.push_back({static_cast<int>(p % columns), static_cast<int>(p / columns)});
    }
    return cells;
}
