#include "params/CDialogFolders.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QSettings>
#include <gtest/gtest.h>

TEST(DialogFolders, DialogsOpenWhereTheyWereLeftElseBesideTheDocumentAndRememberItAcrossRuns)
{
    TempFolder scratch;
    const QString root = QString::fromStdString(scratch.path(""));
    for (const char* sub : {"sounds", "docs"})
        QDir(root).mkpath(QString::fromLatin1(sub));
    const QString sounds = QDir(root).filePath(QStringLiteral("sounds"));
    const QString docs = QDir(root).filePath(QStringLiteral("docs"));
    writeAll((sounds + QStringLiteral("/drum.wav")).toStdString(), "RIFF");

    CDialogFolders folders;
    const struct {
        const char* step;
        QString remember;  // a chosen file, before asking
        QString documentFolder;
        QString startName;
        QString expected;
    } cases[] = {
        {"nothing known", {}, {}, QStringLiteral("x.wav"), QDir::home().filePath(QStringLiteral("x.wav"))},
        {"beside the document", {}, docs, QStringLiteral("x.wav"), docs + QStringLiteral("/x.wav")},
        {"a folder without a name", {}, docs, QString(), docs + QStringLiteral("/")},
        {"where it was left", sounds + QStringLiteral("/drum.wav"), docs, QStringLiteral("x.wav"),
         sounds + QStringLiteral("/x.wav")},
        {"an existing start stays", {}, docs, docs + QStringLiteral("/mine.mrc"), docs + QStringLiteral("/mine.mrc")},
        {"a start in a folder that is gone", {}, docs, QStringLiteral("/no/such/folder/old.wav"),
         sounds + QStringLiteral("/old.wav")},
        {"a Windows name", {}, docs, QStringLiteral("C:\\Sounds\\old.wav"), sounds + QStringLiteral("/old.wav")},
    };
    for (const auto& c : cases) {
        folders.setDocumentFolder(c.documentFolder);
        if (!c.remember.isEmpty())
            folders.remember(QStringLiteral("Insert Sound(s)"), c.remember);
        EXPECT_EQ(folders.startName(QStringLiteral("Insert Sound(s)"), c.startName), c.expected) << c.step;
    }

    // Kept in the settings; another dialog (even one with a slash in its
    // title) is not affected.
    folders.remember(QStringLiteral("Load Wav/Ogg"), docs);
    QSettings settings(root + QStringLiteral("/settings.ini"), QSettings::IniFormat);
    folders.save(settings);
    CDialogFolders next;
    next.load(settings);
    EXPECT_EQ(next.startFolder(QStringLiteral("Insert Sound(s)")), sounds);
    EXPECT_EQ(next.startFolder(QStringLiteral("Load Wav/Ogg")), docs);
    EXPECT_EQ(next.startFolder(QStringLiteral("Other")), QDir::homePath());
}
