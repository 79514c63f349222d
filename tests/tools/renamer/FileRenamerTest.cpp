#include "tools/renamer/CFileRenamer.h"

#include "support/TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {
using Rule = CFileRenamer::Rule;
using Status = CFileRenamer::Entry::Status;

std::vector<std::string> makeFiles(const TempFolder& folder, const std::vector<std::string>& names)
{
    std::vector<std::string> paths;
    for (const std::string& n : names) {
        paths.push_back(folder.path(n));
        writeAll(paths.back(), QByteArray::fromStdString(n));
    }
    return paths;
}

std::string nameOf(const std::string& path)
{
    return path.substr(path.find_last_of('/') + 1);
}
} // namespace

TEST(FileRenamer, PreviewShowsNewNamesAndWhatIsWrong)
{
    TempFolder folder;
    const auto paths = makeFiles(folder, {"shot 1.png", "shot 2.png", "Other.txt", "taken.txt"});
    const struct {
        Rule rule;
        std::vector<std::string> names;
        std::vector<Status> statuses;
    } cases[] = {
        {{Rule::Mode::Replace, "shot ", "img_"},
         {"img_1.png", "img_2.png", "Other.txt", "taken.txt"},
         {Status::Renamed, Status::Renamed, Status::Unchanged, Status::Unchanged}},
        {{Rule::Mode::Replace, "OTHER", "x", false, false},
         {"shot 1.png", "shot 2.png", "x.txt", "taken.txt"},
         {Status::Unchanged, Status::Unchanged, Status::Renamed, Status::Unchanged}},
        {{Rule::Mode::Replace, R"(^(\w+) (\d)\.png$)", R"(\2-\1.png)", true},
         {"1-shot.png", "2-shot.png", "Other.txt", "taken.txt"},
         {Status::Renamed, Status::Renamed, Status::Unchanged, Status::Unchanged}},
        {{Rule::Mode::Numbering, "", "", false, true, "*_##", 9, 1},
         {"shot 1_09.png", "shot 2_10.png", "Other_11.txt", "taken_12.txt"},
         {Status::Renamed, Status::Renamed, Status::Renamed, Status::Renamed}},
        // Both pictures would be called "shot.png".
        {{Rule::Mode::Replace, R"( \d)", "", true},
         {"shot.png", "shot.png", "Other.txt", "taken.txt"},
         {Status::Collision, Status::Collision, Status::Unchanged, Status::Unchanged}},
        // "Other.txt" would become "taken.txt", which stays.
        {{Rule::Mode::Replace, "Other", "taken"},
         {"shot 1.png", "shot 2.png", "taken.txt", "taken.txt"},
         {Status::Unchanged, Status::Unchanged, Status::Collision, Status::Unchanged}},
        {{Rule::Mode::Replace, "shot", "a/b"},
         {"shot 1.png", "shot 2.png", "Other.txt", "taken.txt"},
         {Status::Invalid, Status::Invalid, Status::Unchanged, Status::Unchanged}},
        {{Rule::Mode::Replace, "(", "x", true},
         {"shot 1.png", "shot 2.png", "Other.txt", "taken.txt"},
         {Status::Invalid, Status::Invalid, Status::Invalid, Status::Invalid}},
    };
    for (std::size_t c = 0; c < std::size(cases); ++c) {
        const auto entries = CFileRenamer::preview(paths, cases[c].rule);
        ASSERT_EQ(entries.size(), paths.size());
        for (std::size_t i = 0; i < paths.size(); ++i) {
            EXPECT_EQ(nameOf(entries[i].target), cases[c].names[i]) << "case " << c << " file " << i;
            EXPECT_EQ(entries[i].status, cases[c].statuses[i]) << "case " << c << " file " << i;
        }
        EXPECT_EQ(CFileRenamer::acceptable(entries),
                  std::find_if(entries.begin(), entries.end(), [](const auto& e) {
                      return e.status == Status::Collision || e.status == Status::Invalid;
                  }) == entries.end());
    }
}

TEST(FileRenamer, ApplyRefusesCollisionsAndSwapsWithoutOverwriting)
{
    TempFolder folder;
    const auto paths = makeFiles(folder, {"a.txt", "b.txt", "c.txt"});
    std::string error;
    const auto clash = CFileRenamer::preview(paths, {Rule::Mode::Replace, "a", "b"});
    EXPECT_EQ(CFileRenamer::apply(clash, &error), 0);
    EXPECT_NE(error.find("a.txt"), std::string::npos);
    EXPECT_EQ(readAll(paths[1]), "b.txt"); // untouched

    // a -> b, b -> a in one go: the contents swap names, nothing is lost.
    auto swap = CFileRenamer::preview({paths[0], paths[1]}, {Rule::Mode::Replace, "[ab]", "", true});
    swap[0].target = paths[1];
    swap[1].target = paths[0];
    swap[0].status = swap[1].status = Status::Renamed;
    ASSERT_EQ(CFileRenamer::apply(swap, &error), 2) << error;
    EXPECT_EQ(readAll(paths[0]), "b.txt");
    EXPECT_EQ(readAll(paths[1]), "a.txt");

    // A file that appears after the preview is not replaced, and what was
    // already moved is put back.
    const auto late = CFileRenamer::preview({paths[0], paths[2]}, {Rule::Mode::Numbering, "", "", false, true, "n#"});
    writeAll(folder.path("n2.txt"), "late");
    EXPECT_EQ(CFileRenamer::apply(late, &error), 0);
    EXPECT_EQ(readAll(folder.path("n2.txt")), "late");
    EXPECT_EQ(readAll(paths[0]), "b.txt");
    EXPECT_EQ(readAll(paths[2]), "c.txt");
    EXPECT_EQ(QDir(QString::fromStdString(folder.path(""))).entryList(QDir::Files).size(), 4);
}
