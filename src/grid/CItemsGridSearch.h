#pragma once

#include <QString>

#include <functional>
#include <vector>

// The options of Find, remembered for the whole program.
struct CFindOptions {
    QString text;
    QString replacement;
    bool matchCase = false;
    bool wholeWord = false;
    bool backward = false;
    bool inSelectedItems = false;
    bool selectItems = false;
    bool unselectPrevious = true;
    bool replace = false;
    bool askBeforeReplace = true;
};

// The walk of a search over a grid of texts: every cell after the start
// cell, column by column within a row, wrapping round, the start cell last.
class CItemsGridSearch {
public:
    struct Cell {
        int column = 0;
        int row = 0;
        bool operator==(const Cell&) const = default;
    };

    // Whether a cell's text holds the text looked for. With whole word the
    // first occurrence must stand between the ends of the text or blanks.
    static bool matches(const QString& cellText, const QString& text, bool matchCase, bool wholeWord);
    // Every occurrence replaced; without match case found case-blind, the
    // rest of the text keeping its case.
    static QString replaced(const QString& cellText, const QString& text, const QString& replacement, bool matchCase);

    // The cells in the order a search visits them from `start`.
    static std::vector<Cell> walk(int columns, int rows, Cell start, bool backward);
};
