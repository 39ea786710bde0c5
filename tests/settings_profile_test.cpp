// The settings file's text: encodings, the private-profile rules and the typed values.
#include "profile_document.h"
#include "profile_encoding.h"
#include "profile_values.h"
#include "utf8_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

std::string Utf8(std::u16string_view s) {
    return Utf16ToUtf8(std::u16string(s));
}

// ---- typed values -------------------------------------------------------------------------

TEST(ProfileValues, IntegerForms) {
    struct Case {
        const char16_t* text;
        std::optional<int32_t> value;
    };
    const Case cases[] = {
        {u"10", 10},
        {u"-5", -5},
        {u"+7", 7},
        {u"0009", 9},
        {u"  12", 12},
        {u"2147483647", 2147483647},
        {u"-2147483648", INT32_MIN},
        {u"0x0A", 10},
        {u"0X0a", 10},
        {u"$A", 10},
        {u"xff", 255},
        {u"XFF", 255},
        {u"$7FFFFFFF", 2147483647},
        {u"$FFFFFFFF", -1}, // a 32-bit pattern
        {u"$80000000", INT32_MIN},
        {u"-$1", -1},
        {u"-0x80000000", INT32_MIN},
        {u"$00000001", 1}, // eight digits
        {u"2147483648", std::nullopt},
        {u"-2147483649", std::nullopt},
        {u"99999999999999999999", std::nullopt},
        {u"$123456789", std::nullopt}, // nine digits
        {u"10a", std::nullopt},
        {u"10 ", std::nullopt}, // a read trims the value first; the bare rule allows nothing after
        {u"1 0", std::nullopt},
        {u"", std::nullopt},
        {u"-", std::nullopt},
        {u"$", std::nullopt},
        {u"0x", std::nullopt},
        {u"$G", std::nullopt},
        {u"--1", std::nullopt},
        {u"- 1", std::nullopt},
        {u"yes", std::nullopt},
        {u"1.0", std::nullopt},
        {u"１", std::nullopt}, // a full-width digit is not a digit here
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseProfileInteger(c.text), c.value) << Utf8(c.text);
}

TEST(ProfileValues, NumberTakesOnlyTheGivenSeparator) {
    struct Case {
        const char16_t* text;
        char16_t separator;
        std::optional<double> value;
    };
    const Case cases[] = {
        {u"1,5", u',', 1.5},
        {u"1.5", u',', std::nullopt}, // written under a decimal point, read under a comma
        {u"2.5", u'.', 2.5},
        {u"2,5", u'.', std::nullopt},
        {u"-0,25", u',', -0.25},
        {u"+3", u',', 3.0},
        {u" 0,5 ", u',', 0.5},
        {u"1E3", u',', 1000.0},
        {u"1,5e-2", u',', 0.015},
        {u"1,5E+20", u',', 1.5e20},
        {u",5", u',', 0.5},
        {u"5,", u',', 5.0},
        {u",", u',', std::nullopt},
        {u",e5", u',', std::nullopt},
        {u"e5", u',', std::nullopt},
        {u"1e", u',', std::nullopt},
        {u"1,5,0", u',', std::nullopt},
        {u"1 000", u',', std::nullopt},
        {u"1e999", u',', std::nullopt},
        {u"", u',', std::nullopt},
        {u"abc", u',', std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseProfileNumber(c.text, c.separator), c.value)
            << Utf8(c.text) << " with " << static_cast<char>(c.separator);
}

TEST(ProfileValues, WrittenTextsReadBack) {
    EXPECT_EQ(FormatProfileInteger(0), u"0");
    EXPECT_EQ(FormatProfileInteger(-40), u"-40");
    EXPECT_EQ(FormatProfileInteger(INT32_MIN), u"-2147483648");
    EXPECT_EQ(FormatProfileNumber(1.5, u','), u"1,5");
    EXPECT_EQ(FormatProfileNumber(3.0, u','), u"3");
    for (double x : {0.1, 2.5, -1e-7, 1.5e20, 123456789012345.0})
        for (char16_t separator : {u',', u'.'}) {
            const auto back = ParseProfileNumber(FormatProfileNumber(x, separator), separator);
            ASSERT_TRUE(back.has_value()) << x;
            EXPECT_DOUBLE_EQ(*back, x);
        }
}

// ---- reading --------------------------------------------------------------------------------

std::optional<std::u16string> ReadFrom(std::string_view bytes, std::u16string_view key) {
    return TProfileDocument::Parse(bytes).Read(u"INTERFACE", key);
}

TEST(ProfileRead, BlanksAndQuotes) {
    struct Case {
        const char* line;
        const char16_t* value;
    };
    const Case cases[] = {
        {"K=abc", u"abc"},
        {"K=  abc  ", u"abc"},
        {"K=\t abc\t", u"abc"},
        {"  K  =abc", u"abc"},
        {"K=\"abc\"", u"abc"},
        {"K='abc'", u"abc"},
        {"K= \" abc \" ", u" abc "},
        {"K=\"\"\"x\"\"\"", u"\"\"x\"\""}, // one pair only
        {"K=\"abc'", u"\"abc'"},
        {"K=\"", u"\""},
        {"K=\"\"", u""},
        {"K=", u""},
        {"K=a=b", u"a=b"},
        {"K=a ; b", u"a ; b"},
    };
    for (const Case& c : cases) {
        const std::string file = std::string("[INTERFACE]\r\n") + c.line + "\r\n";
        EXPECT_EQ(ReadFrom(file, u"K"), std::u16string(c.value)) << c.line;
    }
}

TEST(ProfileRead, ValueCutTo2047Characters) {
    const std::u16string soil(3000, u'г');
    std::string file = "[INTERFACE]\r\nTopLayer=\"";
    file += Utf16ToUtf8(soil);
    file += "\"\r\n";
    EXPECT_EQ(ReadFrom(file, u"TopLayer"), soil.substr(0, 2047));

    // A surrogate pair across the cut is dropped whole.
    std::u16string paired(2046, u'a');
    paired += u"\U0001F600tail";
    const auto read = ReadFrom("[INTERFACE]\r\nK=" + Utf16ToUtf8(paired), u"K");
    EXPECT_EQ(read, std::u16string(2046, u'a'));
}

TEST(ProfileRead, WhichLineCounts) {
    const std::string file = "Number=7\r\n" // before any section
                             "[OTHER]\r\nNumber=8\r\n"
                             "[interface]\r\n"
                             ";Number=9\r\n" // a comment
                             "number=10\r\n"
                             "NUMBER=11\r\n" // a duplicate: the first counts
                             "Form\r\n"
                             "[ Interface ]\n" // a second section of the name
                             "Width=12\n"
                             "Фаза=13\r\n";
    const TProfileDocument document = TProfileDocument::Parse(file);
    EXPECT_EQ(document.Read(u"INTERFACE", u"Number"), u"10");
    EXPECT_EQ(document.Read(u"Interface", u"nUMBER"), u"10");
    EXPECT_EQ(document.Read(u"OTHER", u"Number"), u"8");
    EXPECT_EQ(document.Read(u"INTERFACE", u"Width"), std::nullopt);
    EXPECT_EQ(document.Read(u"INTERFACE", u"Form"), std::nullopt);
    EXPECT_EQ(document.Read(u"MISSING", u"Number"), std::nullopt);
    EXPECT_EQ(TProfileDocument::Parse("[СЕКЦИЯ]\nФАЗА=1\n").Read(u"секция", u"фаза"), u"1");
}

TEST(ProfileRead, LineEndsOfAllKinds) {
    const std::string file = "[INTERFACE]\rA=1\rB=2\nC=3\r\nD=4";
    for (const char16_t* key : {u"A", u"B", u"C", u"D"})
        EXPECT_TRUE(ReadFrom(file, key).has_value()) << Utf8(key);
    EXPECT_EQ(ReadFrom(file, u"D"), u"4");
}

// ---- writing --------------------------------------------------------------------------------

std::string Written(std::string_view before, std::u16string_view section, std::u16string_view key,
                    std::u16string_view value) {
    TProfileDocument document = TProfileDocument::Parse(before);
    document.Write(section, key, value);
    return document.Serialize();
}

TEST(ProfileWrite, NewFileInWriteOrder) {
    TProfileDocument document;
    document.Write(u"INTERFACE", u"ShowHints", u"1");
    document.Write(u"INTERFACE", u"ClimaticRegion", u"2");
    document.Write(u"INTERFACE", u"TopLayer", u"Суглинок полутвёрдый лёссовидный (100)");
    document.Write(u"INTERFACE", u"ShowHints", u"0");
    EXPECT_EQ(document.Serialize(), "[INTERFACE]\r\nShowHints=0\r\nClimaticRegion=2\r\n"
                                    "TopLayer=Суглинок полутвёрдый лёссовидный (100)\r\n");
    EXPECT_EQ(document.Encoding(), TProfileEncoding::Utf8);
}

TEST(ProfileWrite, KeepsEverythingElse) {
    struct Case {
        const char* name;
        const char* before;
        const char16_t* key;
        const char* after;
    };
    const std::string head = "; настройки\r\n\r\n[Other]\nNumber=5\n";
    const Case cases[] = {
        {"rewritten in place, its own spelling replaced",
         "[INTERFACE]\r\nForm=1\r\n  number = 7 \r\nWidth=50\r\n", u"Number",
         "[INTERFACE]\r\nForm=1\r\nNumber=3\r\nWidth=50\r\n"},
        {"first duplicate rewritten", "[INTERFACE]\r\nNumber=1\r\nNumber=2\r\n", u"Number",
         "[INTERFACE]\r\nNumber=3\r\nNumber=2\r\n"},
        {"line end of the line kept", "[INTERFACE]\nNumber=1\nX=2", u"Number", "[INTERFACE]\nNumber=3\nX=2"},
        {"appended after the section's last key, before blanks and comments",
         "[INTERFACE]\r\nForm=1\r\n\r\n; next\r\n[Next]\r\nA=1\r\n", u"Number",
         "[INTERFACE]\r\nForm=1\r\nNumber=3\r\n\r\n; next\r\n[Next]\r\nA=1\r\n"},
        {"appended after the header of an empty section", "[INTERFACE]\r\n[Next]\r\n", u"Number",
         "[INTERFACE]\r\nNumber=3\r\n[Next]\r\n"},
        {"appended to a last line without line end", "[INTERFACE]\r\nForm=1", u"Number",
         "[INTERFACE]\r\nForm=1\r\nNumber=3"},
        {"appended to the first of two sections", "[INTERFACE]\r\nA=1\r\n[interface]\r\nB=2\r\n", u"Number",
         "[INTERFACE]\r\nA=1\r\nNumber=3\r\n[interface]\r\nB=2\r\n"},
        {"a missing section appended at the end", "[Other]\r\nA=1", u"Number",
         "[Other]\r\nA=1\r\n[INTERFACE]\r\nNumber=3\r\n"},
        {"a key in a comment is not the key", "[INTERFACE]\r\n;Number=1\r\n", u"Number",
         "[INTERFACE]\r\nNumber=3\r\n;Number=1\r\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Written(head + c.before, u"INTERFACE", c.key, u"3"), head + c.after) << c.name;
    }
}

TEST(ProfileWrite, ValueIsAlwaysOneLine) {
    TProfileDocument document = TProfileDocument::Parse("[INTERFACE]\r\n");
    document.Write(u"INTERFACE", u"TopLayer", u"a\r\n[Evil]\nb\xD800");
    EXPECT_EQ(document.Serialize(), "[INTERFACE]\r\nTopLayer=a  [Evil] b\xEF\xBF\xBD\r\n");
    EXPECT_EQ(document.Read(u"Evil", u"b"), std::nullopt);
}

TEST(ProfileWrite, WrittenValueReadsBackByTheReadRules) {
    TProfileDocument document;
    document.Write(u"INTERFACE", u"A", u"  padded  ");
    document.Write(u"INTERFACE", u"B", u"\"quoted\"");
    document.Write(u"INTERFACE", u"C", u"");
    const TProfileDocument back = TProfileDocument::Parse(document.Serialize());
    EXPECT_EQ(back.Read(u"INTERFACE", u"A"), u"padded");
    EXPECT_EQ(back.Read(u"INTERFACE", u"B"), u"quoted");
    EXPECT_EQ(back.Read(u"INTERFACE", u"C"), u"");
}

// ---- encodings ------------------------------------------------------------------------------

std::string Utf16Le(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

TEST(ProfileEncoding, Windows1251Table) {
    struct Case {
        unsigned char byte;
        char16_t code;
    };
    const Case cases[] = {{0x41, u'A'},      {0xC0, u'А'},      {0xDF, u'Я'},      {0xE0, u'а'},
                          {0xFF, u'я'},      {0xA8, u'Ё'},      {0xB8, u'ё'},      {0xB9, u'№'},
                          {0x88, u'\u20AC'}, {0x80, u'\u0402'}, {0x96, u'\u2013'}, {0x97, u'\u2014'},
                          {0xA0, u'\u00A0'}, {0xAB, u'«'},      {0xBB, u'»'},      {0xB2, u'\u0406'},
                          {0xA5, u'\u0490'}, {0xB4, u'\u0491'}, {0x98, u'\u0098'}, {0xBF, u'\u0457'}};
    for (const Case& c : cases) {
        EXPECT_EQ(Windows1251ToUnicode(c.byte), c.code) << int(c.byte);
        EXPECT_EQ(EncodeWindows1251(std::u16string(1, c.code)), std::string(1, static_cast<char>(c.byte)));
    }
    // The table is one to one: all 256 bytes come back.
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    std::u16string decoded;
    for (unsigned char b : all)
        decoded.push_back(Windows1251ToUnicode(b));
    EXPECT_EQ(EncodeWindows1251(decoded), all);
    EXPECT_EQ(EncodeWindows1251(u"∙"), std::nullopt);
}

TEST(ProfileEncoding, DetectedAndKept) {
    struct Case {
        const char* name;
        std::string bytes;
        TProfileEncoding encoding;
    };
    const std::u16string text = u"[INTERFACE]\r\nTopLayer=Глина (20)\r\n";
    const Case cases[] = {
        {"ASCII", "[INTERFACE]\r\nNumber=1\r\n", TProfileEncoding::Utf8},
        {"UTF-8", Utf16ToUtf8(text), TProfileEncoding::Utf8},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + Utf16ToUtf8(text), TProfileEncoding::Utf8Bom},
        {"UTF-16LE", Utf16Le(text), TProfileEncoding::Utf16Le},
        {"UTF-16LE, odd length", Utf16Le(text) + "\x41", TProfileEncoding::Utf16Le},
        {"Windows-1251", *EncodeWindows1251(text), TProfileEncoding::Windows1251},
        {"BOM then bytes that are not UTF-8", "\xEF\xBB\xBF\xC0\xE0", TProfileEncoding::Windows1251},
        {"overlong UTF-8", "\xC0\xAF", TProfileEncoding::Windows1251},
        {"UTF-8 of a surrogate", "\xED\xA0\x80", TProfileEncoding::Windows1251},
        {"cut UTF-8", "\xD0", TProfileEncoding::Windows1251},
    };
    for (const Case& c : cases) {
        const TProfileDocument document = TProfileDocument::Parse(c.bytes);
        EXPECT_EQ(document.Encoding(), c.encoding) << c.name;
        EXPECT_EQ(document.Serialize(), c.bytes) << c.name;
    }
}

TEST(ProfileEncoding, WritesInTheFileEncoding) {
    const std::u16string before = u"; Грунт\r\n[INTERFACE]\r\nTopLayer=Глина (20)\r\n";
    const std::u16string after = u"; Грунт\r\n[INTERFACE]\r\nTopLayer=Песок (500)\r\n";
    struct Case {
        const char* name;
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        {"UTF-8", Utf16ToUtf8(before), Utf16ToUtf8(after)},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + Utf16ToUtf8(before), "\xEF\xBB\xBF" + Utf16ToUtf8(after)},
        {"UTF-16LE", Utf16Le(before), Utf16Le(after)},
        {"UTF-16LE, odd length", Utf16Le(before) + "\x01", Utf16Le(after) + "\x01"},
        {"Windows-1251", *EncodeWindows1251(before), *EncodeWindows1251(after)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Written(c.before, u"INTERFACE", u"TopLayer", u"Песок (500)"), c.after) << c.name;
        EXPECT_EQ(ReadFrom(c.before, u"TopLayer"), u"Глина (20)") << c.name;
    }
}

TEST(ProfileEncoding, Windows1251FileThatCannotStaySo) {
    const std::string before = *EncodeWindows1251(u"[INTERFACE]\r\nTopLayer=Глина (20)\r\n");

    // A character that the code page lacks: the whole file goes over to UTF-8, losing nothing.
    const std::string widened = Written(before, u"INTERFACE", u"TopLayer", u"Глина 20 Ом∙м");
    EXPECT_EQ(widened, Utf16ToUtf8(u"[INTERFACE]\r\nTopLayer=Глина 20 Ом∙м\r\n"));

    // The bytes left would read as UTF-8 ("Рџ" in Windows-1251 is "П" in UTF-8): UTF-8 it is, too,
    // so that the rest reads back as it was.
    const std::string ambiguous = *EncodeWindows1251(u"; Рџ\r\n[INTERFACE]\r\n") + "TopLayer=\xFF\r\n";
    const std::string rewritten = Written(ambiguous, u"INTERFACE", u"TopLayer", u"x");
    const TProfileDocument back = TProfileDocument::Parse(rewritten);
    EXPECT_EQ(back.Text(), u"; Рџ\r\n[INTERFACE]\r\nTopLayer=x\r\n");
}

} // namespace
