// The statement text helpers and number conversions.
#include "objl/model_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Fields = std::vector<std::string_view>;

TEST(StatementKeyword, IsTheFirstBlankDelimitedWord)
{
    EXPECT_EQ(objl::statement_keyword("v  -2.5 2.3 0.0"), "v");
    EXPECT_EQ(objl::statement_keyword("\tKa 0.7 0.8 0.3"), "Ka");
    EXPECT_EQ(objl::statement_keyword("newmtl\r"), "newmtl\r");  // CR is not blank
    EXPECT_EQ(objl::statement_keyword("usemtl"), "usemtl");
}

TEST(StatementKeyword, IsEmptyForEmptyOrBlankLines)
{
    EXPECT_EQ(objl::statement_keyword(""), "");
    EXPECT_EQ(objl::statement_keyword(" \t  "), "");
}

TEST(StatementArguments, DropsKeywordAndSurroundingBlanks)
{
    EXPECT_EQ(objl::statement_arguments("v  -2.5000 2.3698 0.0000"), "-2.5000 2.3698 0.0000");
    EXPECT_EQ(objl::statement_arguments("\tKa 0.7765 0.8824 0.3412 \t"), "0.7765 0.8824 0.3412");
    EXPECT_EQ(objl::statement_arguments("  o   Plane 001  "), "Plane 001");
}

TEST(StatementArguments, KeepsTrailingCarriageReturn)
{
    EXPECT_EQ(objl::statement_arguments("newmtl wire\r"), "wire\r");
}

TEST(StatementArguments, IsEmptyForOneWordOrBlankLine)
{
    EXPECT_EQ(objl::statement_arguments("usemtl"), "");
    EXPECT_EQ(objl::statement_arguments("  usemtl  \t"), "");
    EXPECT_EQ(objl::statement_arguments(""), "");
    EXPECT_EQ(objl::statement_arguments("   "), "");
}

TEST(SplitFields, SplitsWordsAtSingleSeparators)
{
    EXPECT_EQ(objl::split_fields("1.5 2 -3", " "), (Fields{"1.5", "2", "-3"}));
}

TEST(SplitFields, LeadingOrDoubledSeparatorGivesEmptyField)
{
    EXPECT_EQ(objl::split_fields(" a", " "), (Fields{"", "a"}));
    EXPECT_EQ(objl::split_fields("a  b", " "), (Fields{"a", "", "b"}));
    EXPECT_EQ(objl::split_fields("7//3", "/"), (Fields{"7", "", "3"}));
}

TEST(SplitFields, SingleTrailingSeparatorAddsNothing)
{
    EXPECT_EQ(objl::split_fields("a ", " "), (Fields{"a"}));
    EXPECT_EQ(objl::split_fields("7/", "/"), (Fields{"7"}));
}

TEST(SplitFields, DoubleTrailingSeparatorAddsOneEmptyField)
{
    EXPECT_EQ(objl::split_fields("7//", "/"), (Fields{"7", ""}));
}

TEST(SplitFields, EmptyTextGivesNoField)
{
    EXPECT_TRUE(objl::split_fields("", " ").empty());
}

TEST(SplitFields, LongerSeparatorSkipsItsWholeLength)
{
    EXPECT_EQ(objl::split_fields("ab--cd--e", "--"), (Fields{"ab", "cd", "e"}));
}

TEST(TrimLineBreaks, RemovesTrailingCarriageReturnsAndLineFeeds)
{
    EXPECT_EQ(objl::trim_line_breaks("wire_198225087\r"), "wire_198225087");
    EXPECT_EQ(objl::trim_line_breaks("a\r\n\r\n"), "a");
    EXPECT_EQ(objl::trim_line_breaks("a\rb"), "a\rb");
    EXPECT_EQ(objl::trim_line_breaks("plain"), "plain");
}

TEST(TrimLineBreaks, LeavesTextOfOnlyLineBreaksUnchanged)
{
    EXPECT_EQ(objl::trim_line_breaks("\r"), "\r");
    EXPECT_EQ(objl::trim_line_breaks("\r\n"), "\r\n");
    EXPECT_EQ(objl::trim_line_breaks(""), "");
}

TEST(ParseFloat, ReadsTheLongestNumberPrefix)
{
    float value = 0.0f;
    ASSERT_TRUE(objl::parse_float("  -2.6302\r", &value));
    EXPECT_EQ(value, -2.6302f);
    ASSERT_TRUE(objl::parse_float("+1.5e2xyz", &value));
    EXPECT_EQ(value, 150.0f);
    ASSERT_TRUE(objl::parse_float("3.", &value));
    EXPECT_EQ(value, 3.0f);
}

TEST(ParseFloat, RoundsTheDoubleToFloat)
{
    float value = 0.0f;
    ASSERT_TRUE(objl::parse_float("0.1", &value));
    EXPECT_EQ(value, static_cast<float>(0.1));
}

TEST(ParseFloat, RejectsTextWithoutNumber)
{
    float value = 42.0f;
    EXPECT_FALSE(objl::parse_float("", &value));
    EXPECT_FALSE(objl::parse_float("abc", &value));
    EXPECT_FALSE(objl::parse_float("+-1", &value));
    EXPECT_FALSE(objl::parse_float("\r", &value));
    EXPECT_FALSE(objl::parse_float("1e999", &value));  // beyond the double range
    EXPECT_EQ(value, 42.0f);
}

TEST(ParseInteger, ReadsSignedDecimalPrefix)
{
    std::int32_t value = 0;
    ASSERT_TRUE(objl::parse_integer("2\r", &value));
    EXPECT_EQ(value, 2);
    ASSERT_TRUE(objl::parse_integer(" -17/3", &value));
    EXPECT_EQ(value, -17);
    ASSERT_TRUE(objl::parse_integer("+2147483647", &value));
    EXPECT_EQ(value, 2147483647);
}

TEST(ParseInteger, RejectsNonNumbersAndValuesBeyond32Bits)
{
    std::int32_t value = 5;
    EXPECT_FALSE(objl::parse_integer("", &value));
    EXPECT_FALSE(objl::parse_integer("x1", &value));
    EXPECT_FALSE(objl::parse_integer("2147483648", &value));
    EXPECT_FALSE(objl::parse_integer("-2147483649", &value));
    EXPECT_EQ(value, 5);
}

TEST(ResolveIndex, CountsFromOneAndBackFromMinusOne)
{
    const std::vector<int> list = {10, 20, 30, 40, 50};
    int element = 0;
    ASSERT_TRUE(objl::resolve_index(list, "1", &element));
    EXPECT_EQ(element, 10);
    ASSERT_TRUE(objl::resolve_index(list, "5", &element));
    EXPECT_EQ(element, 50);
    ASSERT_TRUE(objl::resolve_index(list, "-1", &element));
    EXPECT_EQ(element, 50);
    ASSERT_TRUE(objl::resolve_index(list, "-5", &element));
    EXPECT_EQ(element, 10);
}

TEST(ResolveIndex, RejectsZeroOutOfRangeAndNonNumbers)
{
    const std::vector<int> list = {10, 20, 30};
    int element = -1;
    EXPECT_FALSE(objl::resolve_index(list, "0", &element));
    EXPECT_FALSE(objl::resolve_index(list, "4", &element));
    EXPECT_FALSE(objl::resolve_index(list, "-4", &element));
    EXPECT_FALSE(objl::resolve_index(list, "", &element));
    EXPECT_FALSE(objl::resolve_index(list, "x", &element));
    EXPECT_FALSE(objl::resolve_index(list, "-2147483648", &element));
    EXPECT_FALSE(objl::resolve_index(std::vector<int>(), "1", &element));
    EXPECT_EQ(element, -1);
}

TEST(NextLine, SplitsAtLineFeedsWithoutEmptyLastLine)
{
    std::string_view rest = "a\r\n\nb\n";
    std::string_view line;
    std::vector<std::string_view> lines;
    while (objl::next_line(&rest, &line))
        lines.push_back(line);
    EXPECT_EQ(lines, (Fields{"a\r", "", "b"}));
}

TEST(NextLine, LastLineNeedsNoLineFeed)
{
    std::string_view rest = "a\nb";
    std::string_view line;
    ASSERT_TRUE(objl::next_line(&rest, &line));
    ASSERT_TRUE(objl::next_line(&rest, &line));
    EXPECT_EQ(line, "b");
    EXPECT_FALSE(objl::next_line(&rest, &line));
}

} // namespace
