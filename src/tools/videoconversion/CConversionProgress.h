#pragma once

#include <functional>
#include <string>

// What a frame-by-frame conversion tells while it runs and asks between two
// frames: the editor shows the text in its status bar and stops when Escape
// is held, the command line draws a bar and stops on Ctrl+C.
struct CConversionProgress {
    std::function<void(const std::string& text, int done, int total)> status;
    std::function<bool()> stopRequested;

    void tell(const std::string& text, int done, int total) const
    {
        if (status)
            status(text, done, total);
    }
    bool stop() const { return stopRequested && stopRequested(); }
};

// How a conversion ended; the frames written so far stay on disk whatever
// the reason.
struct CConversionResult {
    enum class End { Done, Stopped, MissingFile, UnreadableFile, WriteFailed, OpenFailed, NoDestination };
    End end = End::Done;
    int frames = 0;
    std::string file; // the file at fault, when there is one

    bool done() const { return end == End::Done; }
    // One line saying why it ended early; "" when it did not.
    std::string reason() const;

    // A destination must name a file: an empty name, or one that names a
    // folder, would scatter the output as bare numbers in whatever folder
    // the program runs in.
    static bool namesAFile(const std::string& destination);
    static constexpr const char* kNoDestination = "No destination file specified !";
};
