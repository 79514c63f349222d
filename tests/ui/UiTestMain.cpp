// The interface tests need a widget application; offscreen unless a display
// is asked for explicitly.
#include "params/ui/CMVT_ParametersDocument.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Tool windows remember their values; tests keep them out of the user's settings.
    QTemporaryDir memory;
    CMVT_ParametersDocument::setMemoryFile(memory.filePath(QStringLiteral("tools.ini")));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
