#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "document/CDocumentDialogs.h"
#include "document/CFileWatch.h"
#include "document/CQuillopDoc.h"
#include "document/CRecoveryStore.h"
#include "document/CRecoveryWriter.h"
#include "kinds/binaryfiles/CBinaryFileItem.h"
#include "kinds/CItemKinds.h"
#include "kinds/texts/CDocumentSettings.h"
#include "kinds/texts/CTextItem.h"
#include "ui/ShellFakes.h"
#include "ui/UiFakes.h"

#include <QApplication>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <deque>

#include <sys/wait.h>
#include <unistd.h>

namespace {
// Writes a small document, with a password item when one is given.
std::string writeDocument(const TempFolder& folder, const std::string& name, const std::string* password)
{
    auto holder = createDocumentHolder();
    holder->newItem(GroupTexts, "greeting");
    holder->newItem(GroupColors, "red");
    if (password)
        CDocumentSettings(*holder).setPassword(*password);
    const std::string path = folder.path(name);
    EXPECT_EQ(holder->save(path), 1);
    return path;
}
} // namespace

TEST(QuillopDoc, PasswordMustMatchExactlyOrTheDocumentIsEmptied)
{
    ScriptedUi ui;
    ScriptedDocumentDialogs dialogs;
    TempFolder folder;
    const std::string secret = "Secret";
    const std::string path = writeDocument(folder, "locked.mrc", &secret);

    CQuillopDoc wrongCase;
    dialogs.passwords = {"secret"};
    EXPECT_EQ(wrongCase.openDocument(QString::fromStdString(path)), 0);
    EXPECT_EQ(wrongCase.holder().count(GroupColors), 0) << "nothing of a refused file stays";
    ASSERT_EQ(ui.prompter.messages.size(), 1u);
    EXPECT_EQ(ui.prompter.messages[0], path + "\n\nError: unreadable file format !");

    CQuillopDoc cancelled;
    EXPECT_EQ(cancelled.openDocument(QString::fromStdString(path)), 0);

    CQuillopDoc right;
    dialogs.passwords = {"Secret"};
    ASSERT_EQ(right.openDocument(QString::fromStdString(path)), 1);
    EXPECT_EQ(right.holder().count(GroupColors), 1);
    EXPECT_EQ(right.title(), "locked.mrc");
    EXPECT_FALSE(right.isModified());
    EXPECT_EQ(dialogs.passwordQuestions, 3);

    const std::string none;
    const std::string open = writeDocument(folder, "open.mrc", &none);
    CQuillopDoc unprotected;
    EXPECT_EQ(unprotected.openDocument(QString::fromStdString(open)), 1);
    EXPECT_EQ(dialogs.passwordQuestions, 3) << "an empty password asks nothing";
}

TEST(QuillopDoc, AFileThatDoesNotOpenIsToldOnceByNameWithWhy)
{
    ScriptedUi ui;
    ScriptedDocumentDialogs dialogs;
    TempFolder folder;
    const std::string whole = writeDocument(folder, "whole.mrc", nullptr);
    writeAll(folder.path("notes.txt"), "plain words, not resources");
    writeAll(folder.path("cut.mrc"), readAll(whole).left(readAll(whole).size() - 9));
    const struct {
        const char* name;
        const char* why;
    } cases[] = {
        {"missing.mrc", "File not found !"},
        {"notes.txt", "Wrong file type !"},
        {"cut.mrc", "Error: the file is truncated or broken, nothing has been loaded."},
    };
    for (const auto& c : cases) {
        ui.prompter.messages.clear();
        CQuillopDoc doc;
        EXPECT_EQ(doc.openDocument(QString::fromStdString(folder.path(c.name))), 0) << c.name;
        EXPECT_EQ(ui.prompter.messages, std::vector<std::string>{folder.path(c.name) + "\n\n" + c.why}) << c.name;
    }
}

TEST(QuillopDoc, PropertiesAddTheDelayThenThePasswordAtTheEnd)
{
    CQuillopDoc doc;
    doc.initNew();
    doc.holder().newItem(GroupTexts, "first");
    int applied = 0;
    QObject::connect(&doc, &CQuillopDoc::propertiesApplied, [&] { ++applied; });
    EXPECT_EQ(doc.applyProperties("Game", "Notes", 12, "pw"), 1);
    const CResourceHolder& h = doc.holder();
    ASSERT_EQ(h.count(GroupTexts), 3);
    EXPECT_EQ(h.get(GroupTexts, 1)->id(), "settings_one_game_step_delay");
    EXPECT_EQ(h.get(GroupTexts, 2)->id(), "settings_password");
    EXPECT_EQ(h.textParameter("settings_one_game_step_delay", ""), "12");
    EXPECT_EQ(h.get(GroupTexts, 2)->comments(), "Empty = no password protection");
    EXPECT_EQ(h.id(), "Game");
    EXPECT_EQ(h.comments(), "Notes");
    EXPECT_EQ(applied, 1);
    EXPECT_TRUE(doc.isModified()) << "closing must not lose the new properties silently";
    doc.applyProperties("Game", "Notes", 30, "");
    EXPECT_EQ(h.count(GroupTexts), 3) << "existing settings are rewritten, not repeated";
    EXPECT_FALSE(CDocumentSettings(doc.holder()).isPasswordProtected());
}

TEST(QuillopDoc, TheModifiedMarkShowsOnce)
{
    ScriptedUi ui;
    TempFolder folder;
    CQuillopDoc doc;
    doc.initNew();
    doc.setTitle(QStringLiteral("demo.mrc *"));
    EXPECT_EQ(doc.title(), "demo.mrc") << "a given mark is dropped when not modified";
    doc.markModified();
    doc.markModified();
    EXPECT_EQ(doc.title(), "demo.mrc *");
    doc.setTitle(QStringLiteral("demo.mrc *"));
    EXPECT_EQ(doc.title(), "demo.mrc *");
    ASSERT_EQ(doc.saveDocument(QString::fromStdString(folder.path("demo.mrc"))), 1);
    EXPECT_EQ(doc.title(), "demo.mrc");
    doc.markModified();
    EXPECT_EQ(doc.title(), "demo.mrc *");
}

TEST(QuillopDoc, SaveAsAddsTheExtensionOnlyWithTheResourceFilter)
{
    ScriptedUi ui;
    ScriptedDocumentDialogs dialogs;
    TempFolder folder;
    CQuillopDoc doc;
    doc.initNew();
    dialogs.files = {{true, folder.path("first"), 1}, {true, folder.path("second"), 2}};
    ASSERT_EQ(doc.saveAs(), 1);
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(folder.path("first.mrc"))));
    EXPECT_EQ(doc.path(), QString::fromStdString(folder.path("first.mrc")));
    ASSERT_EQ(doc.saveAs(), 1);
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(folder.path("second"))));
    EXPECT_EQ(CQuillopDoc::fileDialogState().filterIndex, 2);
    EXPECT_EQ(CDocumentDialogs::withDefaultExtension("dir.v2/name", 1), "dir.v2/name.mrc");
    EXPECT_EQ(CDocumentDialogs::withDefaultExtension("name.dat", 1), "name.dat");

    // Choosing an existing file asks before replacing it.
    dialogs.files = {{true, folder.path("first"), 1}};
    ui.prompter.answers = {IPrompter::Answer::No};
    EXPECT_EQ(doc.saveAs(), 0);
    ASSERT_EQ(ui.prompter.messages.size(), 1u);
    EXPECT_NE(ui.prompter.messages[0].find("already exists"), std::string::npos);
}

TEST(QuillopDoc, SaveAsOffersTheDocumentsOwnNameAndReplacesOnlyOnYes)
{
    ScriptedDocumentDialogs dialogs;
    TempFolder folder;
    const std::string existing = folder.path("existing.mrc");
    writeAll(existing, "taken");
    CQuillopDoc::FileDialogState& state = CQuillopDoc::fileDialogState();
    const struct {
        std::string lastName;
        std::string path;  // the document's own, empty for a new one
        std::string offered;
    } cases[] = {
        {"", "", "Untitled.mrc"},
        {folder.path("other.mrc"), "", folder.path("Untitled.mrc")},
        {folder.path("other.mrc"), folder.path("mine.mrc"), folder.path("mine.mrc")},
    };
    for (const auto& c : cases) {
        ScriptedUi ui;
        state.lastName = c.lastName;
        CQuillopDoc doc;
        doc.initNew();
        if (!c.path.empty()) {
            ASSERT_EQ(doc.saveDocument(QString::fromStdString(c.path)), 1);
        }
        state.lastName = c.lastName;
        dialogs.files = {{true, existing, 1}};
        EXPECT_EQ(doc.saveAs(), 0) << "No is the answer of the scripted prompter";
        EXPECT_EQ(dialogs.startNames.back(), c.offered);
        ASSERT_EQ(ui.prompter.buttons.size(), 1u);
        EXPECT_EQ(ui.prompter.buttons[0], IPrompter::Buttons::YesNoDefaultNo);
    }

    // The question as a user sees it: Enter keeps the file.
    CQuillopDoc doc;
    doc.initNew();
    dialogs.files = {{true, existing, 1}};
    QTimer::singleShot(0, [] {
        if (QWidget* box = QApplication::activeModalWidget())
            QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_EQ(doc.saveAs(), 0);
    EXPECT_EQ(readAll(existing), "taken");
}

TEST(QuillopDoc, AFailedSaveSaysSoAndKeepsTheDocumentModified)
{
    ScriptedUi ui;
    ScriptedDocumentDialogs dialogs;
    TempFolder folder;
    writeAll(folder.path("plain"), "not a folder");
    CQuillopDoc doc;
    doc.initNew();
    doc.markModified();
    // The fixed first line, then the file's full name and the system's reason.
    const struct {
        std::string target;
        bool byDialog;
        const char* firstLine;
    } cases[] = {
        {folder.path("missing/folder/x.mrc"), true, "Error occured during save !"},
        {folder.path("plain/x.mrc"), true, "Error occured during save !"},
        {folder.path("missing/y.mrc"), false, "Error occured while saving !"},
    };
    for (const auto& c : cases) {
        ui.prompter.messages.clear();
        ui.prompter.icons.clear();
        if (c.byDialog) {
            dialogs.files = {{true, c.target, 1}};
            EXPECT_EQ(doc.save(), 0) << c.target;
        } else {
            EXPECT_EQ(doc.saveDocument(QString::fromStdString(c.target)), 0) << c.target;
        }
        ASSERT_EQ(ui.prompter.messages.size(), 1u) << c.target;
        const QStringList lines = QString::fromStdString(ui.prompter.messages[0]).split('\n');
        ASSERT_EQ(lines.size(), 3) << ui.prompter.messages[0];
        EXPECT_EQ(lines[0], c.firstLine);
        EXPECT_EQ(lines[1], QString::fromStdString(c.target));
        EXPECT_FALSE(lines[2].trimmed().isEmpty());
        EXPECT_EQ(ui.prompter.icons[0], IPrompter::Icon::Stop);
        EXPECT_TRUE(doc.isModified());
    }

    // Closing a modified document asks; Cancel keeps it open.
    ui.prompter.answers = {IPrompter::Answer::Cancel};
    EXPECT_FALSE(doc.canClose());
    EXPECT_EQ(ui.prompter.messages.back(), "Save changes to " + doc.title().chopped(2).toStdString() + "?");
}

TEST(QuillopDoc, APartlyLoadedDocumentIsMarkedAndAsksBeforeSavingOverItsSource)
{
    ScriptedUi ui;
    ScriptedDocumentDialogs dialogs;
    TempFolder folder;
    auto holder = createDocumentHolder();
    holder->newItem(GroupTexts, "kept");
    holder->newItem(GroupColors, "lost");
    holder->group(GroupColors)->setTag("MRVNONE");  // a section no group reads
    const std::string path = folder.path("partly.mrc");
    ASSERT_EQ(holder->save(path), 1);
    const QByteArray original = readAll(path);

    CQuillopDoc doc;
    ASSERT_EQ(doc.openDocument(QString::fromStdString(path)), 1);
    EXPECT_TRUE(doc.isPartlyLoaded());
    EXPECT_EQ(doc.title(), "partly.mrc (partly loaded)");

    // Save, and Yes to "Save changes" on close, both ask first; No keeps the file.
    ui.prompter.answers = {IPrompter::Answer::No};
    EXPECT_EQ(doc.save(), 0);
    doc.markModified();
    ui.prompter.answers = {IPrompter::Answer::Yes, IPrompter::Answer::No};
    EXPECT_FALSE(doc.canClose());
    EXPECT_EQ(readAll(path), original);
    ASSERT_GE(ui.prompter.messages.size(), 2u);
    EXPECT_NE(ui.prompter.messages.back().find("was only partly loaded"), std::string::npos);

    // Saved elsewhere, nothing is asked; the new file is whole.
    const std::string copy = folder.path("copy.mrc");
    const std::size_t asked = ui.prompter.messages.size();
    ASSERT_EQ(doc.saveDocument(QString::fromStdString(copy)), 1);
    EXPECT_EQ(ui.prompter.messages.size(), asked);
    EXPECT_FALSE(doc.isPartlyLoaded());
    EXPECT_EQ(doc.title(), "copy.mrc");

    // Agreeing saves over the source.
    CQuillopDoc again;
    ASSERT_EQ(again.openDocument(QString::fromStdString(path)), 1);
    ui.prompter.answers = {IPrompter::Answer::Yes};
    EXPECT_EQ(again.save(), 1);
    EXPECT_NE(readAll(path), original);
    EXPECT_FALSE(again.isPartlyLoaded());
    EXPECT_EQ(again.title(), "partly.mrc");
}

TEST(QuillopDoc, ChangesFromOutsideReloadAskOrMarkTheDocumentModified)
{
    ScriptedUi ui;
    TempFolder folder;
    const std::string path = folder.path("shared.mrc");
    const auto writeText = [&](const std::string& text) {
        auto holder = createDocumentHolder();
        dynamic_cast<CTextItem&>(*holder->get(GroupTexts, holder->newItem(GroupTexts, "t"))).setText(text);
        ASSERT_EQ(holder->save(path), 1);
    };
    writeText("one");
    CQuillopDoc doc;
    ASSERT_EQ(doc.openDocument(QString::fromStdString(path)), 1);
    const auto text = [&] {
        const std::string* t = CTextItem::textAt(doc.holder(), 0);
        return t ? *t : std::string("(none)");
    };
    const struct {
        const char* what;
        bool modifiedBefore;
        std::deque<IPrompter::Answer> answers;
        const char* written;
        const char* expected;
        std::size_t questions;
        bool modifiedAfter;
    } cases[] = {
        {"unmodified: read again", false, {}, "two", "two", 0, false},
        {"modified, kept", true, {IPrompter::Answer::No}, "three", "two", 1, true},
        {"modified, read again", true, {IPrompter::Answer::Yes}, "four!", "four!", 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ui.prompter.messages.clear();
        ui.prompter.answers = c.answers;
        if (c.modifiedBefore)
            doc.markModified();
        writeText(c.written);
        EXPECT_TRUE(QTest::qWaitFor([&] { return text() == c.written || ui.prompter.messages.size() > 0; }, 5000));
        QTest::qWait(50);
        EXPECT_EQ(text(), c.expected);
        EXPECT_EQ(ui.prompter.messages.size(), c.questions);
        EXPECT_EQ(doc.isModified(), c.modifiedAfter);
    }
    // The document's own save is not news; a file removed leaves the
    // document open and modified.
    ui.prompter.messages.clear();
    ASSERT_EQ(doc.save(), 1);
    QTest::qWait(3 * CFileWatch::kSettleMs);
    EXPECT_TRUE(ui.prompter.messages.empty());
    EXPECT_FALSE(doc.isModified());
    ASSERT_TRUE(QFile::remove(QString::fromStdString(path)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return doc.isModified(); }, 5000));
    EXPECT_EQ(text(), "four!");
}

TEST(QuillopDoc, ARecoveryCopyFollowsChangesAndGivesTheWorkBack)
{
    ScriptedUi ui;
    TempFolder folder;
    const QString recovery = QString::fromStdString(folder.path("recovery"));
    CRecoveryStore::setFolder(recovery);
    CRecoveryStore::setIntervalSeconds(1);
    const auto copies = [&] { return QDir(recovery).entryList({"*.mrc", "*.note"}, QDir::Files); };
    const auto textOf = [](const CResourceHolder& holder) {
        const std::string* t = CTextItem::textAt(holder, 0);
        return t ? *t : std::string("(none)");
    };
    const std::string path = folder.path("work.mrc");
    {
        auto holder = createDocumentHolder();
        dynamic_cast<CTextItem&>(*holder->get(GroupTexts, holder->newItem(GroupTexts, "t"))).setText("saved");
        ASSERT_EQ(holder->save(path), 1);
    }
    // Documents of a file and untitled ones alike: a copy some time after a
    // change, then the editor dies (its copy kept under a dead process).
    for (const bool untitled : {false, true}) {
        SCOPED_TRACE(untitled ? "untitled" : "of a file");
        {
            CQuillopDoc doc;
            if (untitled) {
                doc.initNew();
                doc.holder().newItem(GroupTexts, "t");
            } else {
                ASSERT_EQ(doc.openDocument(QString::fromStdString(path)), 1);
            }
            dynamic_cast<CTextItem&>(*doc.holder().get(GroupTexts, 0)).setText("edited");
            doc.markModified();
            ASSERT_TRUE(QTest::qWaitFor([&] { return copies().size() == 2; }, 5000));
            EXPECT_TRUE(CRecoveryStore::abandoned().empty()) << "a running editor's copy is not abandoned";
            for (const QString& name : copies())
                QFile::copy(QDir(recovery).filePath(name),
                            QDir(recovery).filePath("crashed" + name.mid(name.lastIndexOf('.'))));
            // Its editor ended, not yet collected by its parent: a zombie
            // answers as a running process would, and is no editor.
            const pid_t crashed = fork();
            if (crashed == 0)
                _exit(0);
            QTest::qWait(100);  // time for it to end
            QSettings(QDir(recovery).filePath("crashed.note"), QSettings::IniFormat).setValue("process", qint64(crashed));
            ASSERT_EQ(CRecoveryStore::abandoned().size(), 1u);
            waitpid(crashed, nullptr, 0);
        }
        const auto abandoned = CRecoveryStore::abandoned();
        ASSERT_EQ(abandoned.size(), 1u);
        EXPECT_EQ(abandoned[0].original, untitled ? QString() : QString::fromStdString(path));
        auto copy = createDocumentHolder();
        ASSERT_EQ(copy->load(abandoned[0].copy.toStdString()), 1) << "a copy is a normal document";
        EXPECT_EQ(textOf(*copy), "edited");

        CQuillopDoc back;
        ASSERT_EQ(back.recover(abandoned[0].copy, abandoned[0].original, abandoned[0].title), 1);
        CRecoveryStore::discard(abandoned[0]);
        EXPECT_TRUE(back.isModified());
        EXPECT_EQ(textOf(back.holder()), "edited");
        EXPECT_EQ(back.path(), abandoned[0].original);
        if (!untitled) {
            ASSERT_EQ(back.save(), 1);
            auto saved = createDocumentHolder();
            ASSERT_EQ(saved->load(path), 1);
            EXPECT_EQ(textOf(*saved), "edited");
        }
    }
    EXPECT_TRUE(copies().isEmpty()) << copies().join(' ').toStdString();
    CRecoveryStore::setIntervalSeconds(CRecoveryStore::kDefaultIntervalSeconds);
    CRecoveryStore::setFolder(QString());
}

// A large document is copied a slice at a time; a change between two slices
// starts the copy over, so the copy holds the document of one moment: the
// change to an item copied in the first slice is in it.
TEST(QuillopDoc, ARecoveryCopyTakenInSlicesHoldsAChangeMadeMeanwhile)
{
    TempFolder folder;
    CRecoveryStore::setFolder(QString::fromStdString(folder.path("recovery")));
    auto holder = createDocumentHolder();
    dynamic_cast<CTextItem&>(*holder->get(GroupTexts, holder->newItem(GroupTexts, "t"))).setText("before");
    for (int i = 0; i < 400; ++i)
        dynamic_cast<CBinaryFileItem&>(*holder->get(GroupBinaryFiles, holder->newItem(GroupBinaryFiles, "f")))
            .setData(std::vector<std::uint8_t>(1 << 20, std::uint8_t(i)));
    std::uint64_t changes = 0;
    CRecoveryWriter writer("sliced", [&] { return holder.get(); }, [&] { return changes; });
    bool written = false;
    QObject::connect(&writer, &CRecoveryWriter::finished, [&](bool ok) { written = ok; });
    writer.write(QString(), "sliced");
    ASSERT_TRUE(writer.busy());
    dynamic_cast<CTextItem&>(*holder->get(GroupTexts, 0)).setText("after");
    ++changes;
    ASSERT_TRUE(QTest::qWaitFor([&] { return written; }, 60000));
    const auto entries = CRecoveryStore::abandoned();  // none: this editor still runs
    EXPECT_TRUE(entries.empty());
    auto copy = createDocumentHolder();
    ASSERT_EQ(copy->load(folder.path("recovery/sliced.mrc")), 1);
    EXPECT_EQ(*CTextItem::textAt(*copy, 0), "after");
    EXPECT_EQ(copy->count(GroupBinaryFiles), 400);
    writer.remove();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder.path("recovery/sliced.mrc"))));
    CRecoveryStore::setFolder(QString());
}
