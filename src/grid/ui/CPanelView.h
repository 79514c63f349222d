#pragma once

class CItemsGrid;
class QWidget;

// Puts a panel's own view (a picture, a summary, a player) beside its grid
// in place of the default text view. The grid owns the view from then on.
void installPanelView(CItemsGrid& grid, QWidget* view);
