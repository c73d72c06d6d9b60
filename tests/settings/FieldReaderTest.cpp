#include "FieldReader.h"
#include "FieldWriter.h"
#include "NumberText.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

QStringList readAllTexts(const QString& content)
{
    FieldReader reader(content);
    QStringList fields = reader.readRemainingTexts();
    EXPECT_TRUE(reader.atEnd());
    return fields;
}

} // namespace

TEST(FieldReader, SplitsFieldsAtCommasAndLineEnds)
{
    EXPECT_EQ(readAllTexts(QStringLiteral("alpha\r\nbeta,gamma\r\ndelta")),
              (QStringList{u"alpha"_s, u"beta"_s, u"gamma"_s, u"delta"_s}));
    // Lone LF and lone CR end lines too, so files edited elsewhere read the same.
    EXPECT_EQ(readAllTexts(QStringLiteral("a\nb\rc\r\n")), (QStringList{u"a"_s, u"b"_s, u"c"_s}));
}

TEST(FieldReader, SkipsLeadingBlanksAndKeepsTrailingOnes)
{
    EXPECT_EQ(readAllTexts(QStringLiteral("   padded  \r\n\tx\r\n")), (QStringList{u"padded  "_s, u"x"_s}));
}

TEST(FieldReader, EmptyLinesAreEmptyFields)
{
    EXPECT_EQ(readAllTexts(QStringLiteral("a\r\n\r\nb\r\n")), (QStringList{u"a"_s, QString(), u"b"_s}));
    // A comma at the end of a line leaves one empty field before the next line.
    EXPECT_EQ(readAllTexts(QStringLiteral("a,\r\nb\r\n")), (QStringList{u"a"_s, QString(), u"b"_s}));
}

TEST(FieldReader, QuotedFieldRunsToTheNextQuote)
{
    FieldReader reader(QStringLiteral("\"one, two\",three\r\n\"across\r\nlines\" dropped\r\nlast"));
    EXPECT_EQ(reader.readText(), u"one, two"_s);
    EXPECT_EQ(reader.readText(), u"three"_s);
    EXPECT_EQ(reader.readText(), u"across\r\nlines"_s);
    EXPECT_EQ(reader.readText(), u"last"_s);
    EXPECT_TRUE(reader.atEnd());
}

TEST(FieldReader, UnclosedQuoteRunsToTheEndOfTheText)
{
    FieldReader reader(QStringLiteral("\"open\r\nrest"));
    EXPECT_EQ(reader.readText(), u"open\r\nrest"_s);
    EXPECT_TRUE(reader.atEnd());
    EXPECT_FALSE(reader.readText());
}

TEST(FieldReader, ReadingPastTheEndFails)
{
    FieldReader reader(QStringLiteral("only\r\n"));
    EXPECT_TRUE(reader.readText());
    EXPECT_TRUE(reader.atEnd());
    EXPECT_FALSE(reader.readText());
    EXPECT_FALSE(reader.readNumber());
    EXPECT_FALSE(reader.readNumberOrText());
    EXPECT_FALSE(reader.readInt16());
    EXPECT_TRUE(FieldReader(QString()).atEnd());
}

TEST(FieldReader, NumbersMustBeDecimal)
{
    FieldReader reader(QStringLiteral(" 1 \r\n-2.5\r\n\r\n1e3\r\nabc\r\n0x10\r\n12abc\r\n"));
    EXPECT_EQ(reader.readNumber(), 1.0);
    EXPECT_EQ(reader.readNumber(), -2.5);
    EXPECT_EQ(reader.readNumber(), 0.0); // an empty field reads as 0
    EXPECT_EQ(reader.readNumber(), 1000.0);
    EXPECT_FALSE(reader.readNumber());
    EXPECT_FALSE(reader.readNumber());
    EXPECT_FALSE(reader.readNumber());
}

TEST(FieldReader, NumberOrTextBecomesANumberWhenItIsOne)
{
    FieldReader reader(QStringLiteral("007\r\n05\r\nsecret\r\n\"042\"\r\n\r\n"));
    const auto name = reader.readNumberOrText();
    ASSERT_TRUE(name && name->isNumber());
    EXPECT_EQ(name->toText(), u"7"_s);
    EXPECT_EQ(reader.readNumberOrText()->toText(), u"5"_s);
    const auto text = reader.readNumberOrText();
    ASSERT_TRUE(text);
    EXPECT_FALSE(text->isNumber());
    EXPECT_EQ(text->toText(), u"secret"_s);
    EXPECT_FALSE(text->toNumber());
    // Quoted digits stay text, leading zero and all.
    EXPECT_EQ(reader.readNumberOrText()->toText(), u"042"_s);
    const auto empty = reader.readNumberOrText();
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->isEmpty());
    EXPECT_EQ(empty->toNumber(), 0.0);
}

TEST(FieldReader, Int16RoundsHalfToEvenAndRefusesOverflow)
{
    FieldReader reader(QStringLiteral("32767\r\n-32768\r\n32768\r\n-32769\r\n2.5\r\n3.5\r\n-2.5\r\nfive\r\n"));
    EXPECT_EQ(reader.readInt16(), 32767);
    EXPECT_EQ(reader.readInt16(), -32768);
    EXPECT_FALSE(reader.readInt16());
    EXPECT_FALSE(reader.readInt16());
    EXPECT_EQ(reader.readInt16(), 2);
    EXPECT_EQ(reader.readInt16(), 4);
    EXPECT_EQ(reader.readInt16(), -2);
    EXPECT_FALSE(reader.readInt16());
}

TEST(FieldWriter, WritesTextAsItStandsAndIntegersInPrintForm)
{
    FieldWriter writer;
    writer.writeText(u"a, \"b\""_s);
    writer.writeInteger(1);
    writer.writeInteger(0);
    writer.writeInteger(-12);
    writer.writeInteger(std::numeric_limits<int>::min());
    writer.writeTexts({u"x"_s, QString()});
    EXPECT_EQ(writer.content(), u"a, \"b\"\r\n 1 \r\n 0 \r\n-12 \r\n-2147483648 \r\nx\r\n\r\n"_s);
}

TEST(FieldWriter, IntegersAndPlainTextsReadBack)
{
    FieldWriter writer;
    writer.writeInteger(-7);
    writer.writeInteger(300);
    writer.writeText(u"host.example.com"_s);
    writer.writeText(QString());
    FieldReader reader(writer.content());
    EXPECT_EQ(reader.readInt16(), -7);
    EXPECT_EQ(reader.readNumberOrText()->toText(), u"300"_s);
    EXPECT_EQ(reader.readText(), u"host.example.com"_s);
    EXPECT_EQ(reader.readText(), QString());
    EXPECT_TRUE(reader.atEnd());
}

TEST(NumberText, PlainDecimalHasNoExponentOrPadding)
{
    EXPECT_EQ(NumberText::plainDecimal(5), u"5"_s);
    EXPECT_EQ(NumberText::plainDecimal(1.5), u"1.5"_s);
    EXPECT_EQ(NumberText::plainDecimal(-3), u"-3"_s);
    EXPECT_EQ(NumberText::plainDecimal(1e6), u"1000000"_s);
    EXPECT_EQ(NumberText::plainDecimal(-0.0), u"0"_s);
}

TEST(NumberText, ParseRefusesWhatIsNoDecimalNumber)
{
    for (const char* text : {"", " ", "-", ".", "1e", "1e+", "inf", "nan", "1.2.3", "1 2", "+-1", "\xc2\xbd"}) {
        EXPECT_FALSE(NumberText::parse(QString::fromUtf8(text))) << text;
    }
    EXPECT_EQ(NumberText::parse(u" +.5 "_s), 0.5);
    EXPECT_EQ(NumberText::parse(u"7."_s), 7.0);
    EXPECT_FALSE(NumberText::parse(u"1e999"_s)); // would be infinite
}
