#pragma once

#include <QColor>

#include <string>

// The colour written in the default value of a "Color" item: "RRGGBB" in
// hexadecimal, opaque, or "(AA)RRGGBB" with the alpha first. Blanks, "(" and
// "#" are ignored; missing digits count as 0 ("FF" is red), and a pair that
// does not start with a hexadecimal digit reads as 0. An alpha above FF is
// taken as FF.
class CColorText {
public:
    static QColor parse(const std::string& text);
};
