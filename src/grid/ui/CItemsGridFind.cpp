#include "grid/ui/CItemsGridFind.h"

#include "core/CDocumentHistory.h"
#include "core/IPrompter.h"
#include "grid/ui/CFindDialog.h"
#include "grid/ui/CItemsGrid.h"
#include "grid/ui/CItemsGridModel.h"
#include "params/ui/CUiServices.h"

#include <QTableView>

#include <algorithm>
#include <vector>

CFindOptions& CItemsGridFind::options()
{
    static CFindOptions remembered;
    return remembered;
}

bool CItemsGridFind::find() { return search(options(), true); }

bool CItemsGridFind::findNext(bool backward)
{
    CFindOptions next = options();
    next.backward = backward;
    next.selectItems = false;
    next.replace = false;
    return search(next, false);
}

bool CItemsGridFind::search(const CFindOptions& options, bool allowSelectAndReplace)
{
    const int columns = m_grid.gridColumnCount();
    const int rows = m_grid.rowCount();
    if (columns <= 0 || rows <= 0 || options.text.isEmpty())
        return false;
    const int startColumn = std::max(m_grid.currentColumn(), 0);
    const int startRow = std::max(m_grid.currentItem(), 0);
    const auto cells = CItemsGridSearch::walk(columns, rows, {startColumn, startRow}, options.backward);
    const bool selecting = allowSelectAndReplace && options.selectItems;
    const bool replacing = allowSelectAndReplace && !options.selectItems && options.replace;

    auto matchAt = [&](const CItemsGridSearch::Cell& cell) {
        if (options.inSelectedItems && !m_grid.isMarked(cell.row))
            return false;
        return CItemsGridSearch::matches(m_grid.gridCellText(cell.column, cell.row), options.text, options.matchCase,
                                         options.wholeWord);
    };

    if (selecting) {
        std::vector<int> found;
        for (const auto& cell : cells)
            if (matchAt(cell) && std::find(found.begin(), found.end(), cell.row) == found.end())
                found.push_back(cell.row);
        if (found.empty())
            return false;
        m_grid.sizedMarks().markTogether(found, options.unselectPrevious);
        m_grid.refreshRows();
        const auto [low, high] = std::minmax_element(found.begin(), found.end());
        m_grid.m_table->scrollTo(m_grid.m_model->index(*high, 0));
        m_grid.setCurrentCell(startColumn, found.front());
        m_grid.m_table->scrollTo(m_grid.m_model->index(*low, 0));
        return true;
    }

    bool matched = false;
    bool replacedAny = false;
    // Replacing every match is one step.
    CDocumentHistory::Edit edit(replacing ? m_grid.history() : nullptr,
                                QStringLiteral("Replace \"%1\" with \"%2\"").arg(options.text, options.replacement));
    for (const auto& cell : cells) {
        if (!matchAt(cell))
            continue;
        matched = true;
        m_grid.setCurrentCell(cell.column, cell.row);
        if (!replacing)
            return true;
        const QString before = m_grid.gridCellText(cell.column, cell.row);
        if (options.askBeforeReplace) {
            const QString question = QString::fromLatin1(kReplaceQuestion).arg(options.text, options.replacement);
            const auto answer = CUiServices::prompter().ask(question.toStdString(), IPrompter::Buttons::YesNoCancel,
                                                            IPrompter::Icon::Question);
            if (answer == IPrompter::Answer::Cancel)
                break;
            if (answer != IPrompter::Answer::Yes)
                continue;
        }
        const int column = cell.column - CItemsGrid::kLeadingColumns;
        if (column < 0)
            continue;
        edit.touchRow(m_grid.group(), cell.row);
        CItemsGrid::CLock lock(m_grid);
        if (m_grid.setEditorCell(column, cell.row,
                                 CItemsGridSearch::replaced(before, options.text, options.replacement, options.matchCase)))
            replacedAny = true;
    }
    if (replacedAny) {
        m_grid.m_model->rowsChanged(0, rows - 1);
        m_grid.reloadEditorView();
        m_grid.markModified();
    }
    return matched;
}

void CItemsGridFind::showDialog()
{
    if (m_grid.rowCount() == 0)
        return;
    CFindDialog dialog(options(), &m_grid);
    if (dialog.exec() != QDialog::Accepted)
        return;
    options() = dialog.options();
    find();
}
