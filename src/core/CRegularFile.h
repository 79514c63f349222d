#pragma once

#include <QByteArray>
#include <QFile>

#include <optional>
#include <string>

// Files a user names are read only when they are regular files: opening a
// FIFO waits for a writer that may never come, a device never ends, and a
// save renamed over either replaces it. Names are the bytes the system keeps,
// so a name that is not valid text in the locale's encoding still opens.
class CRegularFile {
public:
    // The most any one file is read into memory: every length a document
    // stores is a 32-bit count, so nothing larger could be kept anyway.
    static constexpr qint64 kReadLimit = 0x7FFFFFFF;

    static bool exists(const std::string& name);
    static bool isRegular(const std::string& name);
    // What a save may put a file at: nothing there yet, or a regular file.
    static bool isReplaceable(const std::string& name);

    // Opens for reading without waiting on a FIFO; false for anything but a
    // regular file.
    static bool open(QFile& file, const std::string& name);

    // The whole file; empty when it is not a regular file, cannot be read,
    // is larger than `limit` or the memory for it cannot be had.
    static std::optional<QByteArray> read(const std::string& name, qint64 limit = kReadLimit);

    static std::string nameOf(const QString& path) { return QFile::encodeName(path).toStdString(); }
};
