#include "RegistryTemplate.h"
#include "AscToHex.h"
#include "TestPrinters.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(KestrinAscToHex, GivesTwoLowerCaseDigitsForEveryByte)
{
    EXPECT_EQ(asctohex(9), u"09"_s);
    EXPECT_EQ(asctohex('\\'), u"5c"_s);
    EXPECT_EQ(asctohex('C'), u"43"_s);
    EXPECT_EQ(asctohex(0), u"00"_s);
    // Codes from 160 on have no letter form in the original arithmetic; they must still be hex.
    EXPECT_EQ(asctohex(160), u"a0"_s);
    EXPECT_EQ(asctohex(255), u"ff"_s);
    for (int code = 0; code < 256; ++code) {
        EXPECT_EQ(asctohex(static_cast<quint8>(code)), QString::asprintf("%02x", code)) << code;
    }
}

TEST(KestrinRegistryTemplate, HexListCoversEveryByteWithFinalComma)
{
    EXPECT_EQ(RegistryTemplate::hexList("C:\\Q\\"), "43,3a,5c,51,5c,");
    EXPECT_EQ(RegistryTemplate::hexList("C:\\"), "43,3a,5c,");
    // A character of two bytes contributes both.
    EXPECT_EQ(RegistryTemplate::hexList("\xc3\xa9"), "c3,a9,");
    EXPECT_EQ(RegistryTemplate::hexList("\xff\x80"), "ff,80,");
}

TEST(KestrinRegistryTemplate, EscapedDirectoryDoublesEveryBackslash)
{
    EXPECT_EQ(RegistryTemplate::escapedDirectory(u"C:\\Q\\"_s), u"C:\\\\Q\\\\"_s);
    EXPECT_EQ(RegistryTemplate::escapedDirectory(u"\\\\server\\share\\"_s), u"\\\\\\\\server\\\\share\\\\"_s);
    EXPECT_EQ(RegistryTemplate::escapedDirectory(u"/opt/quorvex/"_s), u"/opt/quorvex/"_s);
}

TEST(KestrinRegistryTemplate, FillsBothPlaceholdersForWindowsDirectory)
{
    const QByteArray text = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\X]\r\n\"Dir\"=\"<application_dir>\"\r\n"
                            "\"Root\"=hex:<root_as_hex>00";
    EXPECT_EQ(RegistryTemplate::fill(text, u"C:\\Q\\"_s),
              QByteArray("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\X]\r\n\"Dir\"=\"C:\\\\Q\\\\\"\r\n"
                         "\"Root\"=hex:43,3a,5c,51,5c,00"));
}

TEST(KestrinRegistryTemplate, TemplateWithoutPlaceholdersIsUnchanged)
{
    // Bytes that are no valid text in any code page pass through as they are.
    const QByteArray text = "REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"V\"=\"\xff\xfe\x81\"\r\n<>";
    EXPECT_EQ(RegistryTemplate::fill(text, u"C:\\Q\\"_s), text);
    EXPECT_EQ(RegistryTemplate::fill(QByteArray(), u"C:\\Q\\"_s), QByteArray());
}

TEST(KestrinRegistryTemplate, ReplacesEveryOccurrenceExactlyAndCaseSensitively)
{
    EXPECT_EQ(RegistryTemplate::replacePlaceholders("<application_dir><application_dir>|<root_as_hex>x<root_as_hex>"
                                                    "<application_dir>",
                                                    "D", "H"),
              "DD|HxHD");
    EXPECT_EQ(RegistryTemplate::replacePlaceholders("<Application_Dir> <ROOT_AS_HEX> <application_dir <root_as_hex"
                                                    " < application_dir> <root-as-hex>",
                                                    "D", "H"),
              "<Application_Dir> <ROOT_AS_HEX> <application_dir <root_as_hex < application_dir> <root-as-hex>");
    EXPECT_EQ(RegistryTemplate::replacePlaceholders("<<application_dir>>", "D", "H"), "<D>");
}

TEST(KestrinRegistryTemplate, InsertedDirectoryIsNotSearchedAgain)
{
    // Possible only where names may hold "<" and ">", but the directory must still come through as it is.
    EXPECT_EQ(RegistryTemplate::fill("<application_dir>|<root_as_hex>", u"/a<root_as_hex>/"_s),
              QByteArray("/a<root_as_hex>/|2f,61,3c,72,6f,6f,74,5f,61,73,5f,68,65,78,3e,2f,"));
}

TEST(KestrinRegistryTemplate, DirectoryIsEncodedInSystemCodePage)
{
    QStringEncoder probe(QStringConverter::System);
    if (QByteArray(probe.encode(u"\u00e9"_s)) != "\xc3\xa9") {
        GTEST_SKIP() << "the system code page is not UTF-8 here";
    }
    EXPECT_EQ(RegistryTemplate::fill("\"<application_dir>\"=hex:<root_as_hex>", u"/q\u00e9/"_s),
              QByteArray("\"/q\xc3\xa9/\"=hex:2f,71,c3,a9,2f,"));
}

TEST(KestrinRegistryTemplate, DirectoryWithoutFormInCodePageIsRefused)
{
    const QString broken = u"/q"_s + QChar(0xd800) + u"/"_s;
    EXPECT_FALSE(RegistryTemplate::encodeDirectory(broken).has_value());
    EXPECT_FALSE(RegistryTemplate::fill("no placeholders", broken).has_value());
    EXPECT_EQ(RegistryTemplate::encodeDirectory(u"/q/"_s), QByteArray("/q/"));
}
