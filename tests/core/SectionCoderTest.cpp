#include "core/CArchive.h"
#include "core/CArchiveException.h"
#include "core/CKeySource.h"
#include "core/CSectionCoder.h"
#include "support/ItemBytes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {
// Draws giving mask 0x52745678 and offset 0xDA527456 under the key-byte rule:
// a zero low byte is skipped, bit 6 is forced on.
std::vector<int> fixedDraws() { return {0x100, 0x12, 0x34, 0x56, 0x78, 0x9A}; }

QByteArray hex(const char* h) { return QByteArray::fromHex(h); }

CSectionCoder scrambled()
{
    CSectionCoder coder;
    coder.setKeys(CSectionCoder::Scrambled, 0x52745678u, 0xDA527456u);
    return coder;
}

template <typename Body>
QByteArray write(CSectionCoder coder, Body body)
{
    return archived([&](CArchive& ar) { body(coder, ar); });
}

template <typename Body>
void read(CSectionCoder coder, QByteArray bytes, Body body)
{
    readArchived(std::move(bytes), [&](CArchive& ar) { body(coder, ar); });
}
} // namespace

TEST(KeyWords, FollowTheByteRuleMostSignificantFirst)
{
    FixedKeySource source(fixedDraws());
    CSectionCoder coder;
    coder.prepareForWriting(source);
    EXPECT_EQ(coder.mode(), CSectionCoder::Scrambled);
    EXPECT_EQ(coder.maskWord(), 0x52745678u);
    EXPECT_EQ(coder.offsetWord(), 0xDA527456u);
    EXPECT_EQ(source.seeds.size(), 8u);  // reseeded from the clock for every byte
}

TEST(KeyWords, EveryLibraryDrawnByteHasBitSix)
{
    CLibraryKeySource source;
    const std::uint32_t word = drawKeyWord(source);
    for (int shift = 0; shift < 32; shift += 8)
        EXPECT_TRUE((word >> shift) & 0x40) << std::hex << word;
}

TEST(SectionCoder, ScrambledGoldenBytes)
{
    // (5 ^ mask) - offset = 0x7821E227; tail bytes use the keys' low bytes:
    // ('A' ^ 0x78) - 0x56 = 0xE3.
    const QByteArray bytes = write(scrambled(), [](CSectionCoder& c, CArchive& ar) {
        std::int32_t five = 5;
        c.codeInt(ar, five);
        std::uint8_t a = 'A';
        c.codeByte(ar, a);
    });
    EXPECT_EQ(bytes, hex("27e22178" "e3"));
}

TEST(SectionCoder, FiveCharacterStringIsCountWordAndTailByte)
{
    const QByteArray bytes = write(scrambled(), [](CSectionCoder& c, CArchive& ar) {
        std::string s = "Hello";
        c.codeString(ar, s);
    });
    ASSERT_EQ(bytes.size(), 4 + 4 + 1);
    // The first four characters are one word, the fifth a lone byte.
    std::uint32_t word = 0;
    std::memcpy(&word, bytes.constData() + 4, 4);
    EXPECT_EQ((word + 0xDA527456u) ^ 0x52745678u, 0x6c6c6548u);
    EXPECT_EQ(static_cast<std::uint8_t>((static_cast<std::uint8_t>(bytes[8]) + 0x56) ^ 0x78), 'o');
}

TEST(SectionCoder, PassThroughIsPlain)
{
    const QByteArray bytes = write(CSectionCoder(), [](CSectionCoder& c, CArchive& ar) {
        c.header(ar);
        std::int32_t v = 0x01020304;
        c.codeInt(ar, v);
        std::string s = "ab";
        c.codeString(ar, s);
    });
    EXPECT_EQ(bytes, hex("00000000" "04030201" "02000000" "6162"));
}

TEST(SectionCoder, HeaderWithUnknownModeReadsAsPassThroughAndConsumesFourBytes)
{
    read(scrambled(), hex("07000000" "2a000000"), [](CSectionCoder& c, CArchive& ar) {
        c.header(ar);
        EXPECT_EQ(c.mode(), CSectionCoder::PassThrough);
        EXPECT_EQ(c.maskWord(), 0u);
        std::int32_t v = 0;
        c.codeInt(ar, v);
        EXPECT_EQ(v, 42);
    });
}

TEST(SectionCoder, EveryValueRoundTripsInScrambledMode)
{
    std::vector<std::uint8_t> block = {1, 2, 3, 4, 5, 6, 7};
    const auto before = block;
    const QByteArray bytes = write(scrambled(), [&](CSectionCoder& c, CArchive& ar) {
        c.header(ar);
        std::int32_t i = -123456789;
        std::int16_t s = -4321;
        std::uint8_t b = 0xFE;
        std::int32_t low = 0x1234AB;
        double d = -3.5e-7;
        std::int32_t colour = 0x00112233;
        std::uint8_t alpha = 128;
        std::string text = "some text";
        std::string empty;
        std::vector<std::uint8_t> none;
        c.codeInt(ar, i);
        c.codeShort(ar, s);
        c.codeByte(ar, b);
        c.codeByte(ar, low);
        c.codeDouble(ar, d);
        c.codeColorPair(ar, colour, alpha);
        c.codeString(ar, text);
        c.codeString(ar, empty);
        c.codeByteArray(ar, block);
        c.codeByteArray(ar, none);
        EXPECT_EQ(c.codeBlock(ar, nullptr, 0), 1);
        EXPECT_EQ(c.codeBlock(ar, nullptr, 3), 0);
    });
    EXPECT_EQ(block, before) << "writing a block must leave the caller's bytes unchanged";
    // header 12 + int 4 + short 2 + byte 1 + byte 1 + double 8 + pair 5 + string 4+9
    // + empty 4 + array 4+7 + empty array 4
    EXPECT_EQ(bytes.size(), 12 + 4 + 2 + 1 + 1 + 8 + 5 + 13 + 4 + 11 + 4);

    read(CSectionCoder(), bytes, [](CSectionCoder& c, CArchive& ar) {
        c.header(ar);
        std::int32_t i = 0, low = -1, colour = 0;
        std::int16_t s = 0;
        std::uint8_t b = 0, alpha = 0;
        double d = 0;
        std::string text, empty = "not empty";
        std::vector<std::uint8_t> array, none = {9};
        c.codeInt(ar, i);
        c.codeShort(ar, s);
        c.codeByte(ar, b);
        c.codeByte(ar, low);
        c.codeDouble(ar, d);
        c.codeColorPair(ar, colour, alpha);
        c.codeString(ar, text);
        c.codeString(ar, empty);
        c.codeByteArray(ar, array);
        c.codeByteArray(ar, none);
        EXPECT_EQ(i, -123456789);
        EXPECT_EQ(s, -4321);
        EXPECT_EQ(b, 0xFE);
        EXPECT_EQ(low, 0xAB) << "a byte read into an integer is zero-extended";
        EXPECT_EQ(d, -3.5e-7);
        EXPECT_EQ(colour, 0x00112233);
        EXPECT_EQ(alpha, 128);
        EXPECT_EQ(text, "some text");
        EXPECT_EQ(empty, "");
        EXPECT_EQ(array, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7}));
        EXPECT_TRUE(none.empty());
    });
}

TEST(SectionCoder, EmptyByteArrayIsItsCountAlone)
{
    const QByteArray bytes = write(CSectionCoder(), [](CSectionCoder& c, CArchive& ar) {
        std::vector<std::uint8_t> none;
        c.codeByteArray(ar, none);
    });
    EXPECT_EQ(bytes, hex("00000000"));
}

TEST(SectionCoder, NegativeStringCountReadsEmptyAndConsumesOnlyTheCount)
{
    read(CSectionCoder(), hex("fbffffff" "07000000"), [](CSectionCoder& c, CArchive& ar) {
        std::string s = "x";
        c.codeString(ar, s);
        EXPECT_EQ(s, "");
        std::int32_t next = 0;
        c.codeInt(ar, next);
        EXPECT_EQ(next, 7);
    });
}

TEST(SectionCoder, CountsLargerThanTheFileAreRefusedBeforeAllocating)
{
    read(CSectionCoder(), hex("ffffff7f" "616263"), [](CSectionCoder& c, CArchive& ar) {
        std::string s;
        EXPECT_THROW(c.codeString(ar, s), CArchiveException);
    });
    read(CSectionCoder(), hex("00000010" "616263"), [](CSectionCoder& c, CArchive& ar) {
        std::vector<std::uint8_t> v;
        EXPECT_THROW(c.codeByteArray(ar, v), CArchiveException);
    });
}

TEST(SectionCoder, ABlockLargerThanTheWritersPiecesIsScrambledAsOneRun)
{
    // Sizes around the archive's buffer, with tails that are not whole
    // words, after a few plain bytes so that the buffer fills at a place
    // that is not a whole word of the block. Each word is (w ^ mask) -
    // offset from the block's start, the tail's bytes by the low key bytes.
    const std::uint32_t mask = 0x52745678u;
    const std::uint32_t offset = 0xDA527456u;
    for (std::size_t size : {std::size_t(21), std::size_t(16383), std::size_t(CArchive::kBufferSize),
                             std::size_t(CArchive::kBufferSize * 2 + 7)})
        for (std::size_t lead : {0, 1, 3}) {
            std::vector<std::uint8_t> block(size);
            for (std::size_t i = 0; i < size; ++i)
                block[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
            std::vector<std::uint8_t> expected = block;
            std::size_t i = 0;
            for (; i + 4 <= size; i += 4) {
                std::uint32_t w;
                std::memcpy(&w, &expected[i], 4);
                w = (w ^ mask) - offset;
                std::memcpy(&expected[i], &w, 4);
            }
            for (; i < size; ++i)
                expected[i] = static_cast<std::uint8_t>((expected[i] ^ 0x78) - 0x56);
            const QByteArray bytes = write(scrambled(), [&](CSectionCoder& c, CArchive& ar) {
                ar.write("abc", lead);
                c.codeBlock(ar, block.data(), block.size());
            });
            ASSERT_EQ(bytes.size(), static_cast<qsizetype>(lead + size));
            EXPECT_TRUE(std::equal(expected.begin(), expected.end(), reinterpret_cast<const std::uint8_t*>(bytes.data()) + lead))
                << size << " after " << lead;
            std::vector<std::uint8_t> back(size);
            read(scrambled(), bytes.mid(static_cast<qsizetype>(lead)),
                 [&](CSectionCoder& c, CArchive& ar) { c.codeBlock(ar, back.data(), back.size()); });
            EXPECT_EQ(back, block) << size << " after " << lead;
        }
}
