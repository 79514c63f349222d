#pragma once

#include <QImage>

class CResourceHolder;
struct CPictureRef;

// The picture a bitmap of a holder shows, for windows that draw it at its
// own size (buttons, menu entries).
class CBitmapPicture {
public:
    // The bitmap at the remembered index while it still carries the named
    // ID, else the one found by that ID; null when the holder has none.
    static QImage of(const CResourceHolder& holder, const CPictureRef& ref);
    // The picture of a bitmap row: its image, or, for kinds without one, the
    // bitmap drawn onto a transparent image. Null for no such row.
    static QImage ofRow(const CResourceHolder& holder, int index);
};
