#include "core/CArchive.h"
#include "core/CArchiveException.h"
#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "core/CSectionCoder.h"
#include "core/ProgramFolder.h"
#include "support/ItemBytes.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <random>

#include <sys/stat.h>

namespace {
QByteArray plain(const std::string& s)  // short plain strings only
{
    return QByteArray(1, static_cast<char>(s.size())) + QByteArray::fromStdString(s);
}

// An independent rendering of the scrambling rule, to build expected files.
struct Keys {
    std::uint32_t mask, offset;
    QByteArray run(QByteArray bytes) const
    {
        int i = 0;
        for (; i + 4 <= bytes.size(); i += 4) {
            std::uint32_t w = 0;
            for (int k = 0; k < 4; ++k)
                w |= std::uint32_t(static_cast<std::uint8_t>(bytes[i + k])) << (8 * k);
            w = (w ^ mask) - offset;
            for (int k = 0; k < 4; ++k)
                bytes[i + k] = static_cast<char>(w >> (8 * k));
        }
        for (; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>(static_cast<std::uint8_t>((static_cast<std::uint8_t>(bytes[i]) ^ (mask & 0xFF)) - (offset & 0xFF)));
        return bytes;
    }
    QByteArray integer(std::int32_t v) const { return run(le32(static_cast<std::uint32_t>(v))); }
    QByteArray text(const std::string& s) const { return integer(static_cast<std::int32_t>(s.size())) + run(QByteArray::fromStdString(s)); }
    QByteArray header() const { return le32(1) + le32(mask) + le32(offset); }
};

// Draws cycle through 0x11, 0x22, 0x33: key bytes 0x51, 0x62, 0x73, ...
const std::vector<int> kDraws = {0x11, 0x22, 0x33};
Keys keysOfCoder(int coderIndex)
{
    auto word = [](int start) {
        std::uint32_t w = 0;
        for (int i = 0; i < 4; ++i)
            w = (w << 8) | std::uint32_t(kDraws[static_cast<std::size_t>(start + i) % kDraws.size()] | 0x40);
        return w;
    };
    const int first = coderIndex * 8;
    return {word(first), word(first + 4)};
}

void fillTenGroups(CResourceHolder& holder)
{
    holder.setId("Doc");
    holder.setComments("Line one\nLine two");
    for (int g = 0; g < kGroupCount; ++g)
        holder.get(g, holder.newItem(g, "item" + std::to_string(g)))->setComments("c" + std::to_string(g));
}

// Writes a file by hand, pass-through coded, so tests can put sections in any order.
class FileBuilder {
public:
    explicit FileBuilder(std::int32_t version = 3, const std::string& signature = CResourceHolder::kSignature)
    {
        bytes += plain(signature) + plain("\nV.3.9\n") + plain("\n\nUser Comments:\nx\n\n");
        bytes += le32(0) + le32(static_cast<std::uint32_t>(version)) + le32(9);
        bytes += le32(0) + le32(2) + "ID" + le32(1) + "C";
    }
    FileBuilder& section(const std::string& tag, const std::vector<std::string>& ids)
    {
        bytes += plain(CResourceHolder::kSectionSeparator) + le32(0);
        bytes += le32(static_cast<std::uint32_t>(tag.size())) + QByteArray::fromStdString(tag);
        bytes += le32(0) + le32(1) + le32(0) + le32(static_cast<std::uint32_t>(ids.size()));
        for (const auto& id : ids)
            bytes += le32(0) + le32(1) + le32(0) + le32(static_cast<std::uint32_t>(id.size())) + QByteArray::fromStdString(id) + le32(0);
        return *this;
    }
    QByteArray bytes;
};

std::vector<std::string> ids(const CResourceHolder& h, int g)
{
    std::vector<std::string> out;
    for (int i = 0; i < h.count(g); ++i)
        out.push_back(h.get(g, i)->id());
    return out;
}

class ResourceFile : public ::testing::Test {
protected:
    ResourceFile()
    {
        holder.setPrompter(&prompter);
        holder.setKeySource(&keys);
    }
    TempFolder folder;
    ScriptedPrompter prompter;
    FixedKeySource keys{kDraws};
    CResourceHolder holder;
};
} // namespace

TEST_F(ResourceFile, TenGroupsAreWrittenByteForByte)
{
    fillTenGroups(holder);
    const std::string file = folder.path("doc.mrc");
    ASSERT_EQ(holder.save(file), 1);

    QByteArray expected = plain("MARVOLINE_RESOURCES");
    expected += QByteArray(1, static_cast<char>(std::strlen(CResourceHolder::kVersionBanner))) + CResourceHolder::kVersionBanner;
    expected += plain("\n\nUser Comments:\nLine one\nLine two\n\n");
    expected += le32(0) + le32(3) + le32(9);
    const Keys head = keysOfCoder(0);
    expected += head.header() + head.text("Doc") + head.text("Line one\nLine two");
    const char* tags[] = {"MRVTXT", "MRVBMPG", "MRVWVMR", "MRVIXLS", "MRVTRAJ", "MRVMAP", "MRVCOL", "MRVFIL", "MRVGUI", "MRVWORLD"};
    for (int g = 0; g < kGroupCount; ++g) {
        const Keys k = keysOfCoder(g + 1);
        expected += plain("\n!(C)MARVOLINE!") + k.header() + k.text(tags[g]);
        expected += k.integer(0) + k.integer(1) + k.integer(0) + k.integer(1);
        expected += k.integer(0) + k.integer(1) + k.integer(0) + k.text("item" + std::to_string(g)) + k.text("c" + std::to_string(g));
    }
    EXPECT_EQ(readAll(file).toHex(), expected.toHex());

    CResourceHolder reread;
    ASSERT_EQ(reread.load(file), 1);
    EXPECT_EQ(reread.id(), "Doc");
    EXPECT_EQ(reread.comments(), "Line one\nLine two");
    for (int g = 0; g < kGroupCount; ++g) {
        EXPECT_EQ(ids(reread, g), std::vector<std::string>{"item" + std::to_string(g)});
        EXPECT_EQ(reread.get(g, 0)->comments(), "c" + std::to_string(g));
    }
}

TEST_F(ResourceFile, EmptyDocumentIsTheHeaderAloneAndReadsBack)
{
    holder.setId("Empty");
    const std::string file = folder.path("empty.mrc");
    ASSERT_EQ(holder.save(file), 1);
    const QByteArray bytes = readAll(file);
    EXPECT_EQ(bytes.count("\n!(C)MARVOLINE!"), 0);
    CResourceHolder reread;
    ASSERT_EQ(reread.load(file), 1);
    EXPECT_EQ(reread.id(), "Empty");
    EXPECT_EQ(reread.comments(), "No Comments");
    for (int g = 0; g < kGroupCount; ++g)
        EXPECT_EQ(reread.count(g), 0);
}

TEST_F(ResourceFile, SectionsInAnyOrderAndARepeatedSectionReplacesTheFirst)
{
    const std::string file = folder.path("order.mrc");
    writeAll(file, FileBuilder().section("MRVWORLD", {"w"}).section("MRVTXT", {"a", "b"}).section("MRVTXT", {"c"}).section("MRVCOL", {}).bytes);
    fillTenGroups(holder);
    ASSERT_EQ(holder.load(file), 1);
    EXPECT_EQ(holder.id(), "ID");
    EXPECT_EQ(holder.comments(), "C");
    EXPECT_EQ(ids(holder, GroupWorlds), std::vector<std::string>{"w"});
    EXPECT_EQ(ids(holder, GroupTexts), std::vector<std::string>{"c"});
    EXPECT_EQ(holder.count(GroupColors), 0);
    EXPECT_EQ(holder.count(GroupBitmaps), 0) << "load clears the holder first";
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(ResourceFile, UnknownSectionStopsReadingButKeepsWhatCameBefore)
{
    const std::string file = folder.path("unknown.mrc");
    const QByteArray kept = FileBuilder().section("MRVMAP", {"m"}).bytes;
    const QByteArray whole = FileBuilder().section("MRVMAP", {"m"}).section("NOSUCH", {"x"}).section("MRVCOL", {"c"}).bytes;
    writeAll(file, whole);
    ASSERT_EQ(holder.load(file), 1);
    EXPECT_EQ(ids(holder, GroupMaps), std::vector<std::string>{"m"});
    EXPECT_EQ(holder.count(GroupColors), 0);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0], "Error: an unknown data type has been found, file broken.");
    EXPECT_EQ(prompter.icons[0], IPrompter::Icon::None);
    // What was left out is told, so that nobody saves the rest as the whole.
    ASSERT_TRUE(holder.droppedPart());
    EXPECT_EQ(holder.droppedPart()->offset, kept.size());
    EXPECT_EQ(holder.droppedPart()->bytes, whole.size() - kept.size());

    writeAll(file, kept);
    ASSERT_EQ(holder.load(file), 1);
    EXPECT_FALSE(holder.droppedPart()) << "a whole load leaves nothing out";
}

TEST_F(ResourceFile, SpecialFilesAreNeitherReadNorReplaced)
{
    const std::string fifo = folder.path("pipe.mrc");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Opening a FIFO for reading would wait for a writer: it is refused at once.
    EXPECT_FALSE(CResourceHolder::isResourceFile(fifo));
    EXPECT_EQ(holder.load(fifo), 0);
    EXPECT_EQ(prompter.messages.back(), "Wrong file type !");

    fillTenGroups(holder);
    EXPECT_EQ(holder.save(fifo), 0) << "a save would rename a regular file over the FIFO";
    struct stat info;
    ASSERT_EQ(::stat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));

    // A name that is not text in the locale's encoding still names its file.
    const std::string latin1 = folder.path("") + "/caf\xe9.mrc";
    ASSERT_EQ(holder.save(folder.path("plain.mrc")), 1);
    ASSERT_EQ(::rename(folder.path("plain.mrc").c_str(), latin1.c_str()), 0);
    CResourceHolder reread;
    reread.setPrompter(&prompter);
    EXPECT_EQ(reread.load(latin1), 1);
    EXPECT_EQ(ids(reread, GroupWorlds), ids(holder, GroupWorlds));
}

TEST_F(ResourceFile, OlderVersionAsksAndSignatureIsChecked)
{
    const std::string old = folder.path("old.mrc");
    writeAll(old, FileBuilder(2).section("MRVTXT", {"t"}).bytes);
    EXPECT_EQ(holder.load(old), 0);
    EXPECT_EQ(prompter.messages.back(), "Older or wrong file version !\n\nDo you still want to load this file ?");
    EXPECT_EQ(holder.id(), "ID") << "ID and Comments are read before the question";
    EXPECT_EQ(holder.count(GroupTexts), 0);

    prompter.answers.push_back(IPrompter::Answer::Yes);
    EXPECT_EQ(holder.load(old), 1);
    EXPECT_EQ(holder.count(GroupTexts), 1);

    // The first 19 characters pass the quick check; the whole signature does not.
    const std::string forged = folder.path("forged.mrc");
    writeAll(forged, FileBuilder(3, "MARVOLINE_RESOURCESX").section("MRVTXT", {"t"}).bytes);
    holder.setId("before");
    EXPECT_EQ(holder.load(forged), 0);
    EXPECT_EQ(prompter.messages.back(), "Wrong file type !");
    EXPECT_EQ(prompter.icons.back(), IPrompter::Icon::Stop);
    EXPECT_EQ(holder.id(), "ID");
    EXPECT_EQ(holder.count(GroupTexts), 0);
}

TEST_F(ResourceFile, OnlyMrcFilesOfTheRightShapeAreResourceFiles)
{
    const QByteArray bytes = FileBuilder().section("MRVTXT", {"t"}).bytes;
    writeAll(folder.path("a.mrc"), bytes);
    writeAll(folder.path("b.MRC"), bytes);
    writeAll(folder.path("c.dat"), bytes);
    writeAll(folder.path("short.mrc"), bytes.left(27));
    EXPECT_TRUE(CResourceHolder::isResourceFile(folder.path("a.mrc")));
    EXPECT_TRUE(CResourceHolder::isResourceFile(folder.path("b.MRC")));
    EXPECT_FALSE(CResourceHolder::isResourceFile(folder.path("c.dat")));
    EXPECT_FALSE(CResourceHolder::isResourceFile(folder.path("short.mrc")));
    EXPECT_FALSE(CResourceHolder::isResourceFile(folder.path("missing.mrc")));

    fillTenGroups(holder);
    EXPECT_EQ(holder.load(folder.path("missing.mrc")), 0);
    EXPECT_EQ(prompter.messages.back(), "File not found !");
    EXPECT_EQ(holder.load(folder.path("c.dat")), 0);
    EXPECT_EQ(prompter.messages.back(), "Wrong file type !");
    EXPECT_EQ(prompter.icons.back(), IPrompter::Icon::Stop);
    EXPECT_EQ(holder.count(GroupWorlds), 1) << "a refused file leaves the holder untouched";
}

TEST_F(ResourceFile, BareNamesAreFoundBesideTheProgramThenInTheSharedFolder)
{
    EXPECT_EQ(CResourceHolder::resolve("x.mrc"), programFolder() + "/x.mrc");
    EXPECT_EQ(CResourceHolder::resolve("sub\\x.mrc"), "sub/x.mrc");
    EXPECT_EQ(CResourceHolder::resolve("/abs/x.mrc"), "/abs/x.mrc");

    const QByteArray bytes = FileBuilder().section("MRVFIL", {"beside"}).bytes;
    const std::string beside = programFolder() + "/quillop_test_beside.mrc";
    writeAll(beside, bytes);
    EXPECT_EQ(holder.load("quillop_test_beside.mrc"), 1);
    EXPECT_EQ(ids(holder, GroupBinaryFiles), std::vector<std::string>{"beside"});
    QFile::remove(QString::fromStdString(beside));

    QDir().mkpath(QString::fromStdString(folder.path("Shared")));
    QDir().mkpath(QString::fromStdString(folder.path("work")));
    writeAll(folder.path("Shared/quillop_test_shared.mrc"), FileBuilder().section("MRVFIL", {"shared"}).bytes);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(folder.path("work")));
    EXPECT_EQ(holder.load("quillop_test_shared.mrc"), 1);
    QDir::setCurrent(previous);
    EXPECT_EQ(ids(holder, GroupBinaryFiles), std::vector<std::string>{"shared"});
}

TEST_F(ResourceFile, AnInstalledProgramFindsBareNamesInItsDataFolderLast)
{
    // bin/quillop reads share/quillop/quillop.mrc when nothing nearer has the name.
    const std::string installed = programFolder() + "/../share/quillop";
    QDir().mkpath(QString::fromStdString(installed));
    const std::string name = "quillop_test_installed.mrc";
    writeAll(installed + "/" + name, FileBuilder().section("MRVFIL", {"installed"}).bytes);
    EXPECT_EQ(holder.load(name), 1);
    EXPECT_EQ(ids(holder, GroupBinaryFiles), std::vector<std::string>{"installed"});

    writeAll(programFolder() + "/" + name, FileBuilder().section("MRVFIL", {"beside"}).bytes);
    EXPECT_EQ(holder.load(name), 1);
    EXPECT_EQ(ids(holder, GroupBinaryFiles), std::vector<std::string>{"beside"}) << "beside the program comes first";
    QFile::remove(QString::fromStdString(programFolder() + "/" + name));

    // Only bare names: a name with a folder means that folder.
    QDir().mkpath(QString::fromStdString(installed + "/sub"));
    writeAll(installed + "/sub/" + name, FileBuilder().section("MRVFIL", {"installed"}).bytes);
    EXPECT_EQ(holder.load("sub/" + name), 0);
    QDir(QString::fromStdString(installed)).removeRecursively();
}

namespace {
// An item whose writing fails half-way, like a disk that fills up.
class FailingItem : public CResourceItem {
public:
    int serialize(CArchive& ar, CSectionCoder& coder) override
    {
        if (!ar.isLoading())
            throw CFileException("disk full");
        return CResourceItem::serialize(ar, coder);
    }
};
} // namespace

TEST_F(ResourceFile, FailedSaveLeavesThePreviousFileIntact)
{
    fillTenGroups(holder);
    const std::string file = folder.path("keep.mrc");
    ASSERT_EQ(holder.save(file), 1);
    const QByteArray before = readAll(file);

    holder.group(GroupMaps)->add(std::make_unique<FailingItem>());
    EXPECT_EQ(holder.save(file), 0);
    EXPECT_EQ(readAll(file), before);
    EXPECT_EQ(QDir(QString::fromStdString(folder.path(""))).entryList(QDir::Files), QStringList{"keep.mrc"})
        << "no temporary file is left behind";
    EXPECT_EQ(holder.save(folder.path("no/such/folder/x.mrc")), 0);
}

TEST_F(ResourceFile, TruncatedAndCorruptedFilesNeverCrashAndLeaveAConsistentHolder)
{
    fillTenGroups(holder);
    holder.get(GroupTexts, 0)->setComments(std::string(300, 'L'));  // a long string form too
    const std::string good = folder.path("good.mrc");
    ASSERT_EQ(holder.save(good), 1);
    const QByteArray bytes = readAll(good);
    const std::string bad = folder.path("bad.mrc");

    auto checkConsistent = [](const CResourceHolder& h) {
        for (int g = 0; g < kGroupCount; ++g)
            for (int i = 0; i < h.count(g); ++i)
                ASSERT_NE(h.get(g, i), nullptr);
    };
    for (qsizetype cut = 28; cut < bytes.size(); ++cut) {
        writeAll(bad, bytes.left(cut));
        CResourceHolder h;
        h.setPrompter(&prompter);
        const int loaded = h.load(bad);
        checkConsistent(h);
        if (!loaded) {
            for (int g = 0; g < kGroupCount; ++g)
                EXPECT_EQ(h.count(g), 0) << "cut at " << cut;
        }
    }
    EXPECT_NE(std::find(prompter.messages.begin(), prompter.messages.end(),
                        "Error: the file is truncated or broken, nothing has been loaded."),
              prompter.messages.end());

    std::mt19937 random(1234);
    for (int round = 0; round < 400; ++round) {
        QByteArray damaged = bytes;
        for (int flips = 0; flips < 3; ++flips) {
            const auto at = static_cast<qsizetype>(random() % static_cast<unsigned>(bytes.size()));
            damaged[at] = static_cast<char>(random());
        }
        writeAll(bad, damaged);
        CResourceHolder h;
        h.setPrompter(&prompter);
        h.load(bad);
        checkConsistent(h);
    }
}
