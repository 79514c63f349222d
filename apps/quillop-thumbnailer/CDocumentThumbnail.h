#pragma once

#include <QImage>

class CResourceHolder;

// The picture a file manager shows for a document: its first world as it
// starts (drawn as `quillop-cli render-world FILE 0 0 OUT.png` draws it, cut
// down to what is drawn), or else — when there is none, or it draws nothing
// — its first bitmap that holds a picture; fitted into a square of `side`
// pixels so that its longer side is exactly `side`.
class CDocumentThumbnail {
public:
    static constexpr int kMaxSide = 4096;

    // A null image when the document has neither or `side` is not within 1..kMaxSide.
    static QImage make(const CResourceHolder& document, int side);

private:
    static QImage firstPicture(const CResourceHolder& document);
    static QRect visibleArea(const QImage& picture);
    static QImage fitted(const QImage& picture, int side);
};
