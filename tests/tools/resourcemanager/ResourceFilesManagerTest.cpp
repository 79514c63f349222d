#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/CItemKinds.h"
#include "tools/resourcemanager/CResourceFilesManager.h"

#include "support/TestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {
using Outcome = CResourceFilesManager::Outcome;

void writeDocument(const std::string& path, const std::string& text)
{
    auto holder = createDocumentHolder();
    holder->setId(text);
    holder->newItem(GroupTexts, text);
    ASSERT_EQ(holder->save(path), 1);
}
} // namespace

TEST(ResourceFilesManager, FilterKeepsResourceFilesAndConvertWritesNewFilesBesideUnchangedSources)
{
    TempFolder folder;
    const std::string old = folder.path("old.mrc"), notes = folder.path("notes.txt"),
                      broken = folder.path("broken.mrc");
    writeDocument(old, "hello");
    writeAll(notes, "just some notes, long enough to pass the length test");
    QByteArray wrong = readAll(old);
    wrong[3] = 'X'; // signature no longer matches
    writeAll(broken, wrong);
    const std::vector<std::string> list = {old, notes, broken, folder.path("gone.mrc")};

    EXPECT_EQ(CResourceFilesManager::filter(list), std::vector<std::string>{old});

    const QByteArray before = readAll(old);
    const auto outcomes = CResourceFilesManager::convertAll(list, 2);
    ASSERT_EQ(outcomes.size(), list.size());
    EXPECT_EQ(outcomes[0].outcome, Outcome::Converted);
    EXPECT_EQ(outcomes[0].target, folder.path("old-NEW-.mrc"));
    for (std::size_t i = 1; i < list.size(); ++i)
        EXPECT_EQ(outcomes[i].outcome, Outcome::NotResourceFile) << list[i];
    EXPECT_EQ(readAll(old), before);
    EXPECT_EQ(readAll(broken), wrong);
    auto reloaded = createDocumentHolder();
    ASSERT_EQ(reloaded->load(folder.path("old-NEW-.mrc")), 1);
    EXPECT_EQ(reloaded->id(), "hello");
    EXPECT_EQ(reloaded->count(GroupTexts), 1);

    // An existing new file is replaced only when the question says so.
    writeAll(outcomes[0].target, "keep me");
    std::vector<std::string> asked;
    auto refuse = [&](const std::string& target) {
        asked.push_back(target);
        return false;
    };
    EXPECT_EQ(CResourceFilesManager::convert(old, refuse).outcome, Outcome::TargetExists);
    EXPECT_EQ(CResourceFilesManager::convert(old).outcome, Outcome::TargetExists);
    EXPECT_EQ(readAll(outcomes[0].target), "keep me");
    EXPECT_EQ(asked, std::vector<std::string>{outcomes[0].target});
    EXPECT_EQ(CResourceFilesManager::convert(old, [](const std::string&) { return true; }).outcome,
              Outcome::Converted);
    EXPECT_NE(readAll(outcomes[0].target), "keep me");
}

TEST(ResourceFilesManager, ATruncatedFileIsSkippedWithTheLoadersReason)
{
    TempFolder folder;
    const std::string path = folder.path("cut.mrc");
    writeDocument(path, "a text long enough to be cut in the middle of its section");
    const QByteArray whole = readAll(path);
    writeAll(path, whole.left(whole.size() - 10));
    const auto outcome = CResourceFilesManager::convert(path);
    EXPECT_EQ(outcome.outcome, Outcome::LoadFailed);
    EXPECT_EQ(outcome.reason, CResourceHolder::kTruncatedFile);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(CResourceFilesManager::newName(path))));
}
