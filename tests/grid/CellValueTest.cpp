#include "grid/CellValue.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {
CellValue make(int kind)
{
    CellValue v;
    v.setKind(kind);
    return v;
}
} // namespace

TEST(CellValue, FreshValuesAndKindChanges)
{
    CellValue v;
    EXPECT_EQ(v.kind(), CellValue::KindNone);
    EXPECT_FALSE(v.isEditable());
    EXPECT_EQ(v.displayText(0, 0), "");
    v.setKind(CellValue::KindText);
    v.setFromText("abc");
    v.setKind(CellValue::KindText);
    EXPECT_EQ(v.text(), "abc");
    v.setKind(CellValue::KindInteger);
    EXPECT_EQ(v.integer(), 0);
    v.setKind(CellValue::KindText);
    EXPECT_EQ(v.text(), "");
    EXPECT_EQ(v.setKind(13), 0);
    EXPECT_EQ(v.setKind(-1), 0);
    EXPECT_EQ(v.kind(), CellValue::KindText);
}

TEST(CellValue, DisplayTexts)
{
    CellValue r = make(CellValue::KindReal);
    r.setReal(2.5);
    EXPECT_EQ(r.displayText(0, 0), "+2.5");
    CellValue i = make(CellValue::KindInteger);
    i.setInteger(7);
    EXPECT_EQ(i.displayText(0, 0), "+7");
    CellValue y = make(CellValue::KindYesNo);
    EXPECT_EQ(y.text(), "No");
    CellValue c = make(CellValue::KindColor);
    c.setColor({0x336699, 255});
    EXPECT_EQ(c.displayText(0, 0), "(FF)  99 66 33");
    CellValue row = make(CellValue::KindRowNumber);
    row.setInteger(-1);
    EXPECT_EQ(row.displayText(5, 1, true), "0");
    EXPECT_EQ(row.displayText(5, 1, false), "+0");
    EXPECT_EQ(row.displayText(5, 10, true), "9");
    CellValue col = make(CellValue::KindColumnNumber);
    col.setInteger(2);
    EXPECT_EQ(col.displayText(3, 100, true), "5");
    col.setInteger(INT_MAX);
    EXPECT_EQ(col.displayText(1, 0, true), "2147483648");
    CellValue p = make(CellValue::KindPicture);
    p.setPicture(nullptr, 4);
    EXPECT_EQ(p.displayText(0, 0), "+4");
}

TEST(CellValue, ChoicesReadTheirListSafely)
{
    const CellValue::ChoiceList list = {"Forward Once", "Forward Loop", "Backward Once"};
    CellValue v = make(CellValue::KindChoice);
    EXPECT_EQ(v.text(), "");
    EXPECT_EQ(v.setChoice(&list, 1), 1);
    EXPECT_EQ(v.text(), "Forward Loop");
    EXPECT_EQ(v.setFromText("Backward Once"), 1);
    EXPECT_EQ(v.integer(), 2);
    EXPECT_EQ(v.setFromText("backward once"), 0);
    EXPECT_EQ(v.integer(), 2);
    v.setInteger(3);
    EXPECT_EQ(v.text(), "");
    v.setInteger(-1);
    EXPECT_EQ(v.text(), "");
    EXPECT_EQ(v.setColor({5, 255}), 0);
    EXPECT_EQ(v.integer(), -1);
    CellValue other = make(CellValue::KindInteger);
    EXPECT_EQ(other.setChoice(&list, 0), 0);
    EXPECT_EQ(other.choice().list, nullptr);
    EXPECT_EQ(other.setPicture(nullptr, 1), 0);
    EXPECT_EQ(other.picture().index, -1);
}

TEST(CellValue, SettersOnEveryKind)
{
    // kind, then what set integer 5 / set real -2.7 / set yes / set colour
    // 0x00FF00 / set from text "12abc" leave as text, and their answers.
    struct Row {
        int kind;
        std::string afterInteger, afterReal, afterYes, afterColor, afterText;
        int answers[5];
    };
    const Row rows[] = {
        {0, "", "", "", "", "", {0, 0, 0, 0, 0}},
        {1, "", "", "", "", "", {0, 0, 0, 0, 0}},
        {2, "+5", "-2.7", "Yes", "0000FF00", "12abc", {1, 1, 1, 1, 1}},
        {3, "+5", "-2.7", "Yes", "0000FF00", "12abc", {1, 1, 1, 1, 1}},
        {4, "+5", "-2", "+1", "+65280", "+12", {1, 1, 1, 1, 1}},
        {5, "+5", "-2.7", "+1", "+65280", "+12", {1, 1, 1, 1, 1}},
        {6, "Yes", "No", "Yes", "Yes", "Yes", {1, 1, 1, 1, 1}},
        {7, "(FF)  05 00 00", "(FF)  FE FF FF", "(FF)  FF FF FF", "(11)  00 FF 00", "(11)  0C 00 00", {1, 1, 1, 1, 1}},
        {8, "+5", "-2", "+1", "+65280", "+12", {0, 0, 0, 0, 1}},
        {9, "+5", "-2", "+1", "+65280", "+12", {0, 0, 0, 0, 1}},
        {10, "+5", "-2", "+1", "+65280", "+12", {1, 1, 1, 1, 1}},
        {11, "+5", "-2", "+1", "+65280", "+12", {1, 1, 1, 1, 1}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.kind);
        CellValue v = make(r.kind);
        EXPECT_EQ(v.setInteger(5), r.answers[0]);
        EXPECT_EQ(v.text(), r.afterInteger);
        EXPECT_EQ(v.setReal(-2.7), r.answers[1]);
        EXPECT_EQ(v.text(), r.afterReal);
        EXPECT_EQ(v.setYesNo(true), r.answers[2]);
        EXPECT_EQ(v.text(), r.afterYes);
        EXPECT_EQ(v.setColor({0x00FF00, 17}), r.answers[3]);
        EXPECT_EQ(v.text(), r.afterColor);
        EXPECT_EQ(v.setFromText("12abc"), r.answers[4]);
        EXPECT_EQ(v.text(), r.afterText);
    }
    CellValue c = make(CellValue::KindColor);
    c.setColor({0x010203, 17});
    c.setInteger(0x0A0B0C);
    EXPECT_EQ(c.color().alpha, 17);
    EXPECT_EQ(c.color().rgb, 0x0A0B0Cu);
    c.setYesNo(false);
    EXPECT_EQ(c.color().rgb, 0u);
}

TEST(CellValue, GettersOnEveryKind)
{
    CellValue t = make(CellValue::KindText);
    t.setFromText("  -42.9xyz");
    EXPECT_EQ(t.integer(), -42);
    EXPECT_DOUBLE_EQ(t.real(), -42.9);
    EXPECT_TRUE(t.yesNo());
    t.setFromText("no");
    EXPECT_FALSE(t.yesNo());
    EXPECT_EQ(t.integer(), 0);
    t.setFromText("99999999999");
    EXPECT_EQ(t.integer(), INT_MAX);

    CellValue r = make(CellValue::KindReal);
    r.setReal(-3.9);
    EXPECT_EQ(r.integer(), -3);
    EXPECT_FALSE(r.yesNo());
    r.setReal(1e300);
    EXPECT_EQ(r.integer(), INT_MAX);
    r.setReal(std::nan(""));
    EXPECT_EQ(r.integer(), 0);

    CellValue y = make(CellValue::KindYesNo);
    for (const char* s : {"", "x", "Yes"}) {
        y.setFromText(s);
        EXPECT_TRUE(y.yesNo()) << s;
    }
    y.setFromText("no");
    EXPECT_FALSE(y.yesNo());
    EXPECT_EQ(y.real(), 0.0);

    CellValue c = make(CellValue::KindColor);
    c.setColor({0x00FFFFFF, 255});
    EXPECT_EQ(c.integer(), 0xFFFFFF);
    EXPECT_DOUBLE_EQ(c.real(), 16777215.0);
    EXPECT_TRUE(c.yesNo());

    CellValue p = make(CellValue::KindPicture);
    p.setInteger(0);
    EXPECT_FALSE(p.yesNo());
    p.setInteger(-1);
    EXPECT_FALSE(p.yesNo());
    CellValue ch = make(CellValue::KindChoice);
    ch.setInteger(-1);
    EXPECT_TRUE(ch.yesNo());

    for (int k : {0, 1}) {
        CellValue n = make(k);
        EXPECT_EQ(n.integer(), 0);
        EXPECT_EQ(n.real(), 0.0);
        EXPECT_FALSE(n.yesNo());
    }
}

TEST(CellValue, ConversionsBetweenKindsGoThroughTheGetters)
{
    // Copying a cell into a cell of another kind: every pair keeps the
    // number where both sides hold one.
    for (int from : {4, 5, 10, 11}) {
        for (int to : {2, 4, 5, 10, 11}) {
            CellValue a = make(from);
            a.setInteger(-17);
            CellValue b = make(to);
            b.setInteger(a.integer());
            EXPECT_EQ(b.integer(), -17) << from << " -> " << to;
            b.setFromText(a.text());
            EXPECT_EQ(b.integer(), -17) << from << " -> " << to << " as text";
        }
    }
    CellValue y = make(CellValue::KindYesNo);
    y.setYesNo(true);
    CellValue c = make(CellValue::KindColor);
    c.setYesNo(y.yesNo());
    EXPECT_EQ(c.color().rgb, 0xFFFFFFu);
}

TEST(CellValue, SortingComparesNumbersAsNumbersAndTextsAsTexts)
{
    CellValue t10 = make(CellValue::KindText), t9 = make(CellValue::KindText);
    t10.setFromText("10");
    t9.setFromText("9");
    EXPECT_TRUE(t9.isGreaterThan(t10));
    EXPECT_FALSE(t10.isGreaterThan(t9));
    CellValue i10 = make(CellValue::KindInteger), i9 = make(CellValue::KindInteger);
    i10.setInteger(10);
    i9.setInteger(9);
    EXPECT_TRUE(i10.isGreaterThan(i9));
    EXPECT_FALSE(i9.isGreaterThan(i9));
    CellValue r = make(CellValue::KindReal);
    r.setReal(9.5);
    EXPECT_TRUE(r.isGreaterThan(i9));
    // A row number is not one of the sorted numbers: it compares as text.
    CellValue row = make(CellValue::KindRowNumber);
    row.setInteger(100);
    EXPECT_FALSE(row.isGreaterThan(i9));
    EXPECT_EQ(row.text(), "+100");
}

TEST(CellValue, YesNoKeys)
{
    CellValue v = make(CellValue::KindYesNo);
    EXPECT_EQ(v.applyYesNoKey(" "), 1);
    EXPECT_TRUE(v.yesNo());
    EXPECT_EQ(v.applyYesNoKey("q"), 1);
    EXPECT_FALSE(v.yesNo());
    EXPECT_EQ(v.applyYesNoKey("n"), 0);
    EXPECT_EQ(v.applyYesNoKey("z"), 1);
    EXPECT_TRUE(v.yesNo());
    EXPECT_EQ(v.applyYesNoKey(""), 1);
    EXPECT_FALSE(v.yesNo());
}
