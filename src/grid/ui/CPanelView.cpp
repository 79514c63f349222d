#include "grid/ui/CPanelView.h"

#include "grid/ui/CItemsGrid.h"

#include <QSplitter>

void installPanelView(CItemsGrid& grid, QWidget* view)
{
    if (!view)
        return;
    // The default text view stays a hidden child of the grid: the grid
    // still writes into it, and it is destroyed with the grid.
    QSplitter* splitter = grid.splitter();
    const QList<int> sizes = splitter->sizes();
    if (QWidget* previous = splitter->replaceWidget(1, view)) {
        previous->setParent(&grid);
        previous->hide();
    }
    // A view without a size hint of its own would otherwise take the grid's
    // share of the width: keep the split the grid had.
    splitter->setSizes(sizes.size() == 2 && sizes[0] > 0 ? sizes : QList<int>{10000, 10000});
}
