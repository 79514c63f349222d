#pragma once

#include <vector>

class GameWorld;

// "Sort Selected Items by Offset Y": the selected elements are put in
// ascending order of Offset Y among the places they hold, so that lower
// elements are drawn later, on top. Equal values keep their order and
// elements that are not selected stay where they are. Rows outside the
// world are ignored; an Offset Y that is not a number sorts first.
// Answers 1 when the order changed.
class CWorldElementSort {
public:
    static int sortSelectedByOffsetY(GameWorld& world, std::vector<int> selectedRows);
};
