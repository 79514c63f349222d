#include "core/CArchive.h"
#include "core/CArchiveException.h"
#include "support/ItemBytes.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {
QByteArray hex(const char* h) { return QByteArray::fromHex(h); }
} // namespace

TEST(Archive, PlainStringLengthForms)
{
    EXPECT_EQ(archived([](CArchive& ar) { ar.writeString(""); }), hex("00"));
    EXPECT_EQ(archived([](CArchive& ar) { ar.writeString("abc"); }), hex("03616263"));
    EXPECT_EQ(archived([](CArchive& ar) { ar.writeString(std::string(254, 'x')); }).left(1), hex("fe"));
    EXPECT_EQ(archived([](CArchive& ar) { ar.writeString(std::string(255, 'x')); }).left(3), hex("ffff00"));
    EXPECT_EQ(archived([](CArchive& ar) { ar.writeString(std::string(65533, 'x')); }).left(3), hex("fffdff"));
    const QByteArray big = archived([](CArchive& ar) { ar.writeString(std::string(65534, 'x')); });
    EXPECT_EQ(big.left(7), hex("ffffff feff0000"));
    EXPECT_EQ(big.size(), 7 + 65534);
}

TEST(Archive, PlainIntegerIsLittleEndian)
{
    EXPECT_EQ(archived([](CArchive& ar) { ar.writeInt32(0x01020304); ar.writeInt32(-2); }), hex("04030201feffffff"));
}

TEST(Archive, StringsRoundTripThroughEveryForm)
{
    const std::vector<std::string> texts = {"", "a", std::string(254, 'b'), std::string(255, 'c'),
                                            std::string(65533, 'd'), std::string(65534, 'e'), std::string(70000, 'f')};
    QByteArray bytes = archived([&](CArchive& ar) {
        for (const auto& t : texts)
            ar.writeString(t);
    });
    EXPECT_EQ(readArchived(bytes, [&](CArchive& ar) {
        for (const auto& t : texts)
            EXPECT_EQ(ar.readString(), t);
    }), 0);
}

TEST(Archive, ReadsTheWideCharacterForm)
{
    // 0xFF, 0xFFFE marks 2-byte characters; then a 1-byte length 3.
    readArchived(hex("fffeff03" "4100" "e900" "3042"),
                 [](CArchive& ar) { EXPECT_EQ(ar.readString(), std::string("A\xe9?")); });
}

TEST(Archive, ReadFlushPutsTheFilePositionAtTheLogicalReadPosition)
{
    QByteArray bytes = archived([](CArchive& ar) {
        for (int i = 0; i < 10; ++i)
            ar.writeInt32(i);
    });
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    CDeviceArchive ar(buffer, CArchive::Mode::Load);
    EXPECT_EQ(ar.readInt32(), 0);
    EXPECT_EQ(ar.readInt32(), 1);
    ar.flush();
    EXPECT_EQ(buffer.pos(), 8);
    buffer.seek(4);
    EXPECT_EQ(ar.readInt32(), 1);
}

TEST(Archive, BlocksLargerThanTheBufferArriveWholeBothWays)
{
    std::string big(3 * CArchive::kBufferSize + 17, 'z');
    big[CArchive::kBufferSize] = 'a';
    const QByteArray bytes = archived([&](CArchive& ar) {
        ar.writeInt32(7);
        ar.write(big.data(), big.size());
        ar.writeInt32(8);
    });
    EXPECT_EQ(bytes.size(), static_cast<qsizetype>(8 + big.size()));
    EXPECT_EQ(bytes.mid(4, static_cast<qsizetype>(big.size())).toStdString(), big);
    // Read back whole, and from a file cut inside the block.
    for (const qsizetype cut : {qsizetype(0), qsizetype(5)}) {
        readArchived(bytes.left(bytes.size() - cut), [&](CArchive& ar) {
            EXPECT_EQ(ar.readInt32(), 7);
            std::string back(big.size(), '.');
            if (cut > 4) {
                EXPECT_THROW(ar.read(back.data(), back.size()), CArchiveException);
                return;
            }
            ar.read(back.data(), back.size());
            EXPECT_EQ(back, big);
            EXPECT_EQ(ar.remaining(), 4);
            EXPECT_EQ(ar.readInt32(), 8);
        });
    }
}

TEST(Archive, ShortFilesAndOversizedLengthsThrow)
{
    readArchived(hex("0102"), [](CArchive& ar) { EXPECT_THROW(ar.readInt32(), CArchiveException); });

    // Claims 2 GiB of text.
    readArchived(hex("ffffffffffff7f") + QByteArray("abc"), [](CArchive& ar) {
        try {
            ar.readString();
            FAIL() << "an impossible length was trusted";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.cause(), CArchiveException::Cause::BadLength);
        }
    });
}

namespace {
// A file that counts how often it is asked its size.
class SizeCountingBuffer : public QBuffer {
public:
    using QBuffer::QBuffer;
    qint64 size() const override
    {
        ++asked;
        return QBuffer::size();
    }
    mutable int asked = 0;
};
} // namespace

TEST(Archive, AReaderAsksTheFileSizeOnceWhateverItChecks)
{
    QByteArray bytes = archived([](CArchive& ar) {
        for (int i = 0; i < 100; ++i)
            ar.writeString("value");
    });
    SizeCountingBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    CDeviceArchive ar(buffer, CArchive::Mode::Load);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(ar.readString(), "value");
    EXPECT_EQ(ar.remaining(), 0);
    EXPECT_LE(buffer.asked, 1) << "one size query per load, not one per stored length";
    EXPECT_THROW(ar.requireRemaining(1), CArchiveException);
}
