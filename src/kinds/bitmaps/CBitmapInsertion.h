#pragma once

#include <QImage>
#include <QString>

#include <string>
#include <vector>

class CResourceHolder;

// Adding picture files to the Bitmaps group: each file becomes a new row
// named after the file, loaded as a decoded image.
class CBitmapInsertion {
public:
    // The file's title: the part after the last separator ('/' or '\'), cut
    // before its last dot. A bare drive such as "C:" has an empty title.
    static std::string fileTitle(const std::string& path);

    // The picture files named: a folder stands for the picture files in it
    // (by extension, not its subfolders), and all are sorted by name with
    // numbers in their natural order ("walk2" before "walk10").
    static std::vector<std::string> picturesIn(const std::vector<std::string>& paths);

    // Appends one bitmap per picture file (folders as picturesIn expands
    // them), in that order. A file that cannot be decoded leaves no row
    // behind. Answers the rows added.
    static std::vector<int> insertImages(CResourceHolder& holder, const std::vector<std::string>& paths);

    // The first bitmap whose decoded picture has the same pixels as
    // `picture`, or -1: importers use it rather than adding a copy.
    static int findSamePicture(const CResourceHolder& holder, const QImage& picture);
    // Appends a bitmap of the picture, kept as PNG bytes under the name
    // ID.png as a picture file read from disk would be. Answers its row.
    static int insertPicture(CResourceHolder& holder, const QString& id, const QImage& picture);
};
