#pragma once

#include "document/CQuillopDoc.h"
#include "document/CQuillopView.h"
#include "ui/UiFakes.h"

#include <QStandardPaths>
#include <QString>

#include <gtest/gtest.h>

// The demo document opened in a document view, with scripted answers to any
// prompt and settings kept apart from the user's (views remember their zoom
// and grid there).
struct OpenedDemo {
    bool testSettings = (QStandardPaths::setTestModeEnabled(true), true);
    ScriptedUi ui;
    CQuillopDoc document;
    bool opened = document.openDocument(QStringLiteral(QUILLOP_DEMO)) == 1;
    CQuillopView view{document};

    OpenedDemo() { EXPECT_TRUE(opened); }
    // The view shown at a size, as a window would hold it.
    void show(int width, int height)
    {
        view.resize(width, height);
        view.show();
    }
};
