#pragma once

#include <string>
#include <vector>

class CParametersDialog;
class QStatusBar;
class QWidget;

// The two conversion commands: each asks for its parameters in a modal
// sheet, then converts on the interface thread with the wait cursor, its
// progress in the status bar and Escape to stop after the current frame.
class CVideoConversionDialogs {
public:
    static constexpr const char* kMovieToImagesTitle = "Convert AVI Video File to Images Files";
    static constexpr const char* kImagesToMovieTitle = "Convert Images Files to AVI Video File";
    static constexpr const char* kNoImagesDestination = "No destination images file specified !";
    static constexpr const char* kNoMovieDestination = "No destination .AVI file specified !";

    // The sheets alone, for the commands and for tests.
    static CParametersDialog* createMovieToImages(QWidget* parent);
    static CParametersDialog* createImagesToMovie(QWidget* parent);

    static void movieToImages(QWidget* parent, QStatusBar* statusBar);
    static void imagesToMovie(QWidget* parent, QStatusBar* statusBar);
};
