#include "FieldReader.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace Qt::StringLiterals;

namespace {

enum class Read { Text, Number, Int16, NumberOrText };

template <typename T>
QString shown(const std::optional<T>& number)
{
    return number ? QString::number(*number) : u"!"_s;
}

// One read of the given kind: "!" when it fails, "#" before a value read as a number.
QString readOne(FieldReader& reader, Read kind)
{
    switch (kind) {
    case Read::Text:
        return reader.readText().value_or(u"!"_s);
    case Read::Number:
        return shown(reader.readNumber());
    case Read::Int16:
        return shown(reader.readInt16());
    case Read::NumberOrText:
        break;
    }
    const auto value = reader.readNumberOrText();
    return !value ? u"!"_s : (value->isNumber() ? u"#"_s : QString()) + value->toText();
}

} // namespace

TEST(FieldReader, ReadsEachKindOfField)
{
    // The kind of read, the text, and every field read from it joined by "|".
    const std::tuple<Read, const char*, const char*> rows[] = {
        {Read::Text, "alpha\r\nbeta,gamma\r\ndelta", "alpha|beta|gamma|delta"},
        {Read::Text, "a\nb\rc\r\n", "a|b|c"},                 // lone LF and CR, as in files edited elsewhere
        {Read::Text, "   padded  \r\n\tx\r\n", "padded  |x"}, // leading blanks skipped, trailing kept
        {Read::Text, "a\r\n\r\nb,\r\nc", "a||b||c"},          // an empty line; a comma ending a line
        {Read::Text, "\"1, 2\",3\r\n\"a\r\nb\" x\r\nz", "1, 2|3|a\r\nb|z"}, // a quote runs to the next, tail dropped
        {Read::Text, "\"open\r\nrest", "open\r\nrest"},                     // an unclosed quote runs to the end
        {Read::Text, "", ""},
        {Read::Number, " 1 \r\n-2.5\r\n\r\n1e3\r\n +.5 \r\n7.", "1|-2.5|0|1000|0.5|7"},
        {Read::Number, "abc\r\n0x10\r\n12abc\r\n1e999\r\ninf\r\nnan\r\n+-1\r\n1.2.3\r\n1 2\r\n1e",
         "!|!|!|!|!|!|!|!|!|!"},
        {Read::Int16, "32767\r\n-32768\r\n32768\r\n-32769\r\n2.5\r\n3.5\r\n-2.5\r\nfive", "32767|-32768|!|!|2|4|-2|!"},
        {Read::NumberOrText, "007\r\nsecret\r\n\"042\"\r\n\r\n1e6\r\n", "#7|secret|042||#1000000"},
    };
    for (const auto& [kind, input, expected] : rows) {
        SCOPED_TRACE(input);
        FieldReader reader(QString::fromUtf8(input));
        QStringList fields;
        for (int i = 0; i < 100 && !reader.atEnd(); ++i) {
            fields.append(readOne(reader, kind));
        }
        EXPECT_EQ(fields.join(u'|'), QString::fromUtf8(expected));
        EXPECT_EQ(readOne(reader, kind), u"!"_s) << "a read past the end";
    }
}
