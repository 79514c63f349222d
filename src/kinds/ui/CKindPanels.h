#pragma once

class CItemsGrid;

// The panel of each group: the kind's own grid where it has one, the
// generic items grid otherwise. One line per kind in the .cpp.
CItemsGrid* createKindPanel(int group);
