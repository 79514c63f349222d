#include "params/CParameterValues.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(ParameterValues, TextRoundTripKeepsEveryByteAndTheToolName)
{
    CParameterValues values;
    const std::vector<CParameterValues::Entry> cases = {
        {"plain", "44100"},
        {"empty", ""},
        {"path", "/tmp/a b\\c.wav"},
        {"lines", "one\ntwo\r\nthree\\n"},
        {"equals", "a=b=c"},
    };
    for (const auto& [name, value] : cases)
        values.set(name, value);
    values.set("plain", "6000"); // a name set twice keeps its place and takes the new value
    std::string tool;
    CParameterValues back;
    ASSERT_TRUE(back.fromText(values.toText("Analyze Fundamental"), tool));
    EXPECT_EQ(tool, "Analyze Fundamental");
    ASSERT_EQ(back.entries().size(), cases.size());
    EXPECT_EQ(*back.find("plain"), "6000");
    for (std::size_t i = 1; i < cases.size(); ++i)
        EXPECT_EQ(*back.find(cases[i].first), cases[i].second) << cases[i].first;
    EXPECT_EQ(back.find("missing"), nullptr);
}

TEST(ParameterValues, ForeignTextsAreRefusedAndFilesGoThroughATemporary)
{
    CParameterValues values;
    std::string tool = "kept";
    EXPECT_FALSE(values.fromText("name=value\n", tool));
    EXPECT_FALSE(values.fromText("", tool));
    EXPECT_EQ(tool, "kept");
    ASSERT_TRUE(values.fromText("[T]\r\nno equals sign\r\n=no name\r\na=1\r\n", tool));
    ASSERT_EQ(values.entries().size(), 1u);
    EXPECT_EQ(*values.find("a"), "1");

    TempFolder dir;
    const std::string path = dir.path("p.params");
    ASSERT_EQ(values.save(path, "T"), 1);
    CParameterValues loaded;
    ASSERT_EQ(loaded.load(path, tool), 1);
    EXPECT_EQ(*loaded.find("a"), "1");
    EXPECT_EQ(loaded.load(dir.path("missing.params"), tool), 0);
    EXPECT_EQ(values.save(dir.path("no/such/folder/p.params"), "T"), 0);
}
