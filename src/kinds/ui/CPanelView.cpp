#include "kinds/ui/CPanelView.h"

#include "grid/ui/CItemsGrid.h"

#include <QSplitter>

void installPanelView(CItemsGrid& grid, QWidget* view)
{
    if (!view)
        return;
    // The default text view stays a hidden child of the grid: the grid
    // still writes into it, and it is destroyed with the grid.
    if (QWidget* previous = grid.splitter()->replaceWidget(1, view)) {
        previous->setParent(&grid);
        previous->hide();
    }
}
