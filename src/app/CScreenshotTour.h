#pragma once

#include <QString>

class CMainFrame;

// Walks the editor through its main views and writes a picture of each into
// a folder: the main window, every panel of the active document (plain, and
// with rows marked and its context menu open), the animation frame editor
// playing with its frame menu open, the main menu, About, Contributors,
// Document Properties, every tool window, the analysis view and the
// gradient colour editor. Used to look at the editor from a
// script.
class CScreenshotTour {
public:
    // Returns the number of pictures written.
    static int run(CMainFrame& frame, const QString& folder);
    // The colours of a dark desktop theme, for the tour's dark pictures.
    static void useDarkPalette();
};
