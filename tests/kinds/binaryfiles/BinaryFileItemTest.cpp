#include "core/CArchiveException.h"
#include "core/CResourceHolder.h"
#include "core/CSectionCoder.h"
#include "kinds/CItemKinds.h"
#include "kinds/binaryfiles/CBinaryFileImport.h"
#include "kinds/binaryfiles/CBinaryFileItem.h"
#include "support/TestSupport.h"

#include "support/ItemBytes.h"

#include <gtest/gtest.h>

namespace {




// Bytes of one value as a scrambling coder writes them.
QByteArray coded(const CSectionCoder& coder, QByteArray plain)
{
    coder.scramble(reinterpret_cast<std::uint8_t*>(plain.data()), std::size_t(plain.size()));
    return plain;
}

CSectionCoder scramblingCoder()
{
    CSectionCoder coder;
    coder.setKeys(CSectionCoder::Scrambled, 0x4d5e6f70u, 0x41424344u);
    return coder;
}

std::vector<std::uint8_t> bytesOf(const QByteArray& a) { return {a.begin(), a.end()}; }
} // namespace

TEST(BinaryFileItem, SectionRecordBytes)
{
    CBinaryFileItem item;
    item.setId("blob");
    item.setSourceFileName("/data/blob.bin");
    item.setData({1, 2, 3, 0xff, 0});
    CSectionCoder plain;
    EXPECT_EQ(storeItem(item, plain), le32(0) + le32(1) + le32(0) + codedText("blob") + codedText("") + le32(0) + le32(1) + le32(1) +
                                          codedText("/data/blob.bin") + le32(5) + QByteArray::fromHex("010203ff00"));
}

TEST(BinaryFileItem, DataStaysUnscrambledInAScrambledSection)
{
    CBinaryFileItem item;
    item.setId("x");
    item.setData(bytesOf("PAYLOAD!"));
    CSectionCoder coder = scramblingCoder();
    const QByteArray bytes = storeItem(item, coder);
    EXPECT_TRUE(bytes.endsWith(le32(8) + "PAYLOAD!"));
    EXPECT_EQ(bytes.left(4), coded(coder, le32(0)));

    CBinaryFileItem back;
    loadItem(back, bytes, coder);
    EXPECT_EQ(back.data(), item.data());
    EXPECT_EQ(back.plainStorage(), 1);
}

TEST(BinaryFileItem, OlderScrambledRecordsReadAndAreWrittenBackPlain)
{
    CSectionCoder coder = scramblingCoder();
    QByteArray old;
    for (const QByteArray& v : {le32(0), le32(1), le32(0), le32(1), QByteArray("o"), le32(0), le32(0), le32(1), le32(0),
                                le32(3), QByteArray("a.b"), le32(6), QByteArray("abcdef")})
        old += coded(coder, v);
    CBinaryFileItem item;
    loadItem(item, old, coder);
    EXPECT_EQ(item.plainStorage(), 0);
    EXPECT_EQ(item.sourceFileName(), "a.b");
    EXPECT_EQ(item.data(), bytesOf("abcdef"));
    const QByteArray again = storeItem(item, coder);
    EXPECT_TRUE(again.endsWith(coded(coder, le32(1)) + coded(coder, le32(3)) + coded(coder, "a.b") + le32(6) + "abcdef"));
}

TEST(BinaryFileItem, EmptyDataAndOversizedLengths)
{
    CBinaryFileItem empty;
    CSectionCoder plain;
    const QByteArray bytes = storeItem(empty, plain);
    EXPECT_TRUE(bytes.endsWith(le32(1) + codedText("") + le32(0)));
    CBinaryFileItem back;
    back.setData({9});
    loadItem(back, bytes, plain);
    EXPECT_TRUE(back.data().empty());

    // A stored length past the end of the file is refused before allocating.
    CBinaryFileItem victim;
    EXPECT_THROW(loadItem(victim, bytes.left(bytes.size() - 4) + le32(0x7ffffff0) + "abc", plain), CArchiveException);
}

TEST(BinaryFileItem, TextsShowTheSize)
{
    CBinaryFileItem item;
    item.setSourceFileName("/tmp/f.dat");
    item.setData(std::vector<std::uint8_t>(1536, 7));
    EXPECT_EQ(item.specsText(), "1536 Bytes");
    EXPECT_EQ(item.infoText(),
              "Original Filename: /tmp/f.dat\n\nFile Size:               1536 bytes       1.50 KB       0.00 MB");
}

TEST(BinaryFileItem, SourceFilesLoadAndSave)
{
    TempFolder folder;
    const QByteArray content("\x00\x01zz\xfe", 5);
    writeAll(folder.path("in.raw"), content);
    CBinaryFileItem item;
    ASSERT_EQ(item.loadSource(folder.path("in.raw")), 1);
    EXPECT_EQ(item.data(), bytesOf(content));
    EXPECT_EQ(item.sourceFileName(), folder.path("in.raw"));

    ASSERT_EQ(item.saveSource(folder.path("out.raw")), 1);
    EXPECT_EQ(readAll(folder.path("out.raw")), content);
    writeAll(folder.path("out.raw"), "longer old content");
    ASSERT_EQ(item.saveSource(folder.path("out.raw")), 1);
    EXPECT_EQ(readAll(folder.path("out.raw")), content) << "replaces the file";

    EXPECT_EQ(item.loadSource(folder.path("missing")), 0);
    EXPECT_EQ(item.data(), bytesOf(content)) << "a failed load leaves the record";
    EXPECT_EQ(item.saveSource(folder.path("no/such/folder/x")), 0);
    EXPECT_EQ(item.sourceFileName(), folder.path("in.raw"));
}

TEST(BinaryFileImport, FileTitles)
{
    EXPECT_EQ(CBinaryFileImport::fileTitle("/a/b.c/level.dat"), "level");
    EXPECT_EQ(CBinaryFileImport::fileTitle("C:\\games\\x.tar.gz"), "x.tar");
    EXPECT_EQ(CBinaryFileImport::fileTitle("noext"), "noext");
    EXPECT_EQ(CBinaryFileImport::fileTitle("/home/u/.profile"), ".profile");
}

TEST(BinaryFileImport, InsertsReadableFilesAndRoundTripsThroughADocument)
{
    TempFolder folder;
    writeAll(folder.path("one.bin"), QByteArray(1536, 'x'));
    writeAll(folder.path("empty.txt"), QByteArray());
    auto holder = createDocumentHolder();
    const int current = CBinaryFileImport::insertFiles(
        *holder, {folder.path("one.bin"), folder.path("missing.bin"), folder.path("empty.txt")});
    EXPECT_EQ(current, 1);
    ASSERT_EQ(holder->count(GroupBinaryFiles), 2);
    EXPECT_EQ(holder->get(GroupBinaryFiles, 0)->id(), "one");
    EXPECT_EQ(holder->get(GroupBinaryFiles, 1)->id(), "empty");
    EXPECT_EQ(CBinaryFileImport::insertFiles(*holder, {folder.path("missing.bin")}), -1);
    EXPECT_EQ(holder->count(GroupBinaryFiles), 2);

    FixedKeySource keys({0x2211, 0x4433, 0x6655, 0x0877});
    holder->setKeySource(&keys);
    ASSERT_EQ(holder->save(folder.path("doc.mrc")), 1);
    // The embedded file stands in the resource file unchanged.
    EXPECT_TRUE(readAll(folder.path("doc.mrc")).contains(le32(1536) + QByteArray(1536, 'x')));
    auto loaded = createDocumentHolder();
    ASSERT_EQ(loaded->load(folder.path("doc.mrc")), 1);
    ASSERT_EQ(loaded->count(GroupBinaryFiles), 2);
    for (int i = 0; i < 2; ++i) {
        auto* a = dynamic_cast<CBinaryFileItem*>(holder->get(GroupBinaryFiles, i));
        auto* b = dynamic_cast<CBinaryFileItem*>(loaded->get(GroupBinaryFiles, i));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->id(), a->id());
        EXPECT_EQ(b->data(), a->data());
        EXPECT_EQ(b->sourceFileName(), a->sourceFileName());
    }
}
