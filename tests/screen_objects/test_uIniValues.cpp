#include "shape_surface.h"
#include "screen_objects/uIniValues.h"

#include <gtest/gtest.h>

using testshapes::ScratchIni;

TEST(IniTextConversion, DecimalHexSignsAndRejects) {
    struct Case {
        const wchar_t* text;
        bool ok;
        int32_t value;
    };
    const Case cases[] = {
        {L"0", true, 0},
        {L"42", true, 42},
        {L"-1", true, -1},
        {L"+7", true, 7},
        {L"  12", true, 12},
        {L"$1F", true, 31},
        {L"x1f", true, 31},
        {L"X10", true, 16},
        {L"0x10", true, 16},
        {L"0X7fffffff", true, 2147483647},
        {L"-$10", true, -16},
        {L"2147483647", true, 2147483647},
        {L"-2147483648", true, -2147483647 - 1},
        {L"-0x80000000", true, -2147483647 - 1},
        {L"2147483648", false, 0},
        {L"$80000000", false, 0},
        {L"99999999999999999999", false, 0},
        {L"", false, 0},
        {L"   ", false, 0},
        {L"-", false, 0},
        {L"$", false, 0},
        {L"0x", false, 0},
        {L"12abc", false, 0},
        {L"12 ", false, 0},
        {L"1 2", false, 0},
        {L"$1G", false, 0},
        {L"--1", false, 0},
        {L"1.5", false, 0},
    };
    for (const Case& c : cases) {
        int32_t value = 12345;
        EXPECT_EQ(IniTextToInteger(c.text, value), c.ok)
            << "text '" << testing::PrintToString(std::wstring(c.text)) << "'";
        EXPECT_EQ(value, c.ok ? c.value : 12345) << testing::PrintToString(std::wstring(c.text));
    }
}

TEST(IniValues, IntegersAndBooleansRoundTrip) {
    ScratchIni ini;
    const std::wstring& f = ini.Path();
    WriteIniInteger(f, L"S", L"Negative", -1);
    WriteIniInteger(f, L"S", L"Big", 2147483647);
    WriteIniBool(f, L"S", L"On", true);
    WriteIniBool(f, L"S", L"Off", false);
    WriteIniString(f, L"S", L"Hex", L"$1F");
    WriteIniString(f, L"S", L"Junk", L"12abc");
    WriteIniString(f, L"S", L"Empty", L"");
    WriteIniString(f, L"S", L"Word", L"TRUE");
    WriteIniString(f, L"S", L"Zero1", L"01");

    EXPECT_NE(ini.Contents().find("Negative=-1"), std::string::npos);
    EXPECT_NE(ini.Contents().find("On=1"), std::string::npos);
    EXPECT_NE(ini.Contents().find("Off=0"), std::string::npos);
    EXPECT_EQ(ReadIniInteger(f, L"S", L"Negative", 5), -1);
    EXPECT_EQ(ReadIniInteger(f, L"S", L"Big", 5), 2147483647);
    EXPECT_EQ(ReadIniInteger(f, L"S", L"Hex", 5), 31);
    EXPECT_EQ(ReadIniInteger(f, L"S", L"Junk", 5), 5);
    EXPECT_EQ(ReadIniInteger(f, L"S", L"Empty", 5), 5);
    EXPECT_EQ(ReadIniInteger(f, L"S", L"Missing", -77), -77);
    EXPECT_EQ(ReadIniInteger(f, L"Nowhere", L"Negative", 3), 3);

    EXPECT_TRUE(ReadIniBool(f, L"S", L"On", false));
    EXPECT_FALSE(ReadIniBool(f, L"S", L"Off", true));
    EXPECT_TRUE(ReadIniBool(f, L"S", L"Missing", true));
    EXPECT_FALSE(ReadIniBool(f, L"S", L"Missing", false));
    EXPECT_FALSE(ReadIniBool(f, L"S", L"Word", true));
    EXPECT_FALSE(ReadIniBool(f, L"S", L"Zero1", true));

    // Replacing and removing a value.
    WriteIniInteger(f, L"S", L"Negative", 8);
    EXPECT_EQ(ReadIniInteger(f, L"S", L"Negative", 0), 8);
    DeleteIniKey(f, L"S", L"Negative");
    EXPECT_EQ(ReadIniInteger(f, L"S", L"Negative", 9), 9);
}

TEST(IniValues, StringsAndTheirLengthLimits) {
    ScratchIni ini;
    const std::wstring& f = ini.Path();
    EXPECT_EQ(ReadIniString(f, L"S", L"Missing", L"the default text"), L"the default text");
    WriteIniString(f, L"S", L"Text", L"Grüße aus dem Schnee");
    std::wstring out;
    EXPECT_EQ(ReadIniString(f, L"S", L"Text", L"", out), L"Grüße aus dem Schnee");
    EXPECT_EQ(out, L"Grüße aus dem Schnee");

    // Reads stop at 298 characters.
    WriteIniString(f, L"S", L"Long", std::wstring(350, L'a'));
    EXPECT_EQ(ReadIniString(f, L"S", L"Long", L""), std::wstring(298, L'a'));
    WriteIniString(f, L"S", L"Exact", std::wstring(298, L'b'));
    EXPECT_EQ(ReadIniString(f, L"S", L"Exact", L""), std::wstring(298, L'b'));

    // Arguments are cut to 400 characters before they reach the file.
    WriteIniString(f, L"S", L"Huge", std::wstring(5000, L'c'));
    const std::string contents = ini.Contents();
    const size_t at = contents.find("Huge=");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(contents.find_first_not_of('c', at + 5) - (at + 5), 400u);
    const std::wstring longKey(600, L'k');
    WriteIniString(f, L"S", longKey, L"v");
    EXPECT_EQ(ReadIniString(f, L"S", longKey.substr(0, 400), L""), L"v");
    EXPECT_EQ(ReadIniString(f, L"S", longKey, L""), L"v");
    // A default longer than the read buffer comes back cut, not overrun.
    EXPECT_EQ(ReadIniString(f, L"S", L"Missing", std::wstring(1000, L'd')),
              std::wstring(298, L'd'));
}
