#pragma once

#include <stdexcept>
#include <string>

namespace quillop {

// Errors that leave the archive layer. Only file and archive errors travel as
// exceptions; everything else reports success as an integer flag.
class CArchiveException : public std::runtime_error {
public:
    enum class Cause {
        EndOfFile,   // a value needs more bytes than the file still holds
        BadLength,   // a stored count or length is larger than what remains
    };

    CArchiveException(Cause cause, const std::string& what)
        : std::runtime_error(what), m_cause(cause) {}

    Cause cause() const { return m_cause; }

private:
    Cause m_cause;
};

// The file refused bytes while writing (disk full, device gone, ...).
class CFileException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace quillop
