// Settings files with broken values: the value functions give their defaults
// and never write past their buffers, and items loaded from broken sections
// either refuse the section without a change or come out sound enough to
// paint without a leak.
#include "reliability/reliability_support.h"

#include "screen_objects/shape_surface.h"
#include "screen_objects/uIniValues.h"
#include "screen_objects/uScreenBitmap.h"
#include "screen_objects/uScreenRectangle.h"
#include "screen_objects/uScreenText.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using namespace reliability;

namespace {

std::wstring IniFile(const wchar_t* name) {
    const std::wstring dir = ScratchFolder(L"reliability_ini");
    return dir + L"\\" + name;
}

// Paints an item twice and drops it: nothing it made may stay.
void ExpectPaintsSafely(TScreenObject& item) {
    testshapes::Surface surface(200, 150);
    ui::Region region = ui::MakeEmptyRegion();
    for (int i = 0; i < 2; ++i) {
        HRGN r = item.Paint(surface.Canvas(), region.Get(), false);
        if (r && r != region.Get())
            region.Reset(r);
    }
    POINT p{10, 10};
    int32_t d = 0;
    item.HitTest(p, 1000, d);
    item.ContainsPoint(p);
}

TEST(SettingsValuesBroken, IntegersBooleansAndOverlongTexts) {
    const std::wstring ini = IniFile(L"values.ini");
    const wchar_t* notIntegers[] = {L"",
                                    L" ",
                                    L"12abc",
                                    L"1e5",
                                    L"0x",
                                    L"$",
                                    L"--1",
                                    L"+-1",
                                    L"1 2",
                                    L"2147483648",
                                    L"-2147483649",
                                    L"0x1FFFFFFFF",
                                    L"99999999999999999999",
                                    L"\x0661\x0662",
                                    L"0x-1",
                                    L"$ 1",
                                    L"\t"};
    for (const wchar_t* text : notIntegers) {
        WriteIniString(ini, L"S", L"Key", text);
        EXPECT_EQ(ReadIniInteger(ini, L"S", L"Key", 77), 77) << Narrow(text);
    }
    const std::pair<const wchar_t*, int32_t> integers[] = {
        {L"-2147483648", INT_MIN}, {L"2147483647", INT_MAX}, {L"0x7fffffff", INT_MAX},
        {L"-$80000000", INT_MIN},  {L"\t +12", 12},          {L"X1f", 31}};
    for (auto [text, value] : integers) {
        WriteIniString(ini, L"S", L"Key", text);
        EXPECT_EQ(ReadIniInteger(ini, L"S", L"Key", 77), value) << Narrow(text);
    }
    for (const wchar_t* text : {L"true", L"yes", L"01", L"", L"2", L"1\t1"}) {
        WriteIniString(ini, L"S", L"Flag", text);
        EXPECT_FALSE(ReadIniBool(ini, L"S", L"Flag", true)) << Narrow(text);
    }

    // The settings file drops blanks around a value; the conversion itself
    // refuses a trailing one.
    WriteIniString(ini, L"S", L"Key", L"  12  ");
    EXPECT_EQ(ReadIniInteger(ini, L"S", L"Key", 77), 12);
    int32_t v = 5;
    EXPECT_FALSE(IniTextToInteger(L"12 ", v));
    EXPECT_FALSE(IniTextToInteger(L"1\t", v));
    EXPECT_EQ(v, 5);

    // Over-long names and values are cut, never written past a buffer.
    const std::wstring huge(100000, L'v');
    WriteIniString(ini, L"S", L"Long", huge);
    std::wstring back = ReadIniString(ini, L"S", L"Long", L"");
    EXPECT_EQ(back, huge.substr(0, IniReadLength));
    WriteIniString(ini, std::wstring(5000, L's'), std::wstring(5000, L'k'), L"1");
    EXPECT_EQ(ReadIniString(ini, std::wstring(5000, L's'), std::wstring(5000, L'k'), L"d"), L"1")
        << "both sides cut the names the same way";
    EXPECT_EQ(ReadIniInteger(ini, L"S", L"Long", 5), 5);
    EXPECT_EQ(ReadIniString(ini, L"S", L"Missing", huge).size(), IniReadLength);
    WriteIniString(std::wstring(70000, L'f'), L"S", L"K", L"V"); // an impossible file name
    EXPECT_EQ(ReadIniString(std::wstring(70000, L'f'), L"S", L"K", L"dflt"), L"dflt");
}

TEST(SettingsValuesBroken, FilesThatAreNoSettings) {
    const std::wstring dir = ScratchFolder(L"reliability_ini_files");
    const std::wstring binary = dir + L"\\binary.ini";
    std::string junk(300000, '\0');
    for (size_t i = 0; i < junk.size(); ++i)
        junk[i] = static_cast<char>((i * 131) % 256);
    WriteBytes(binary, junk);
    ::CreateDirectoryW((dir + L"\\folder.ini").c_str(), nullptr);
    for (const std::wstring& file :
         {binary, dir + L"\\folder.ini", dir + L"\\missing.ini", std::wstring()}) {
        EXPECT_EQ(ReadIniInteger(file, L"S", L"Type", -4), -4);
        EXPECT_TRUE(ReadIniBool(file, L"S", L"Flag", true));
        TScreenRectangle r;
        r.AppendPoint(5, 5);
        r.AppendPoint(20, 20);
        EXPECT_FALSE(r.LoadFromIni(file, L"S"));
        EXPECT_EQ(r.PointCount, 2);
        EXPECT_EQ(r.Points[1].x, 20);
    }
}

TEST(SettingsShapesBroken, BrokenSectionsLoadSafelyOrNotAtAll) {
    {
        // Whatever painting keeps for good is made now, before the count.
        TScreenRectangle warm;
        warm.AppendPoint(1, 1);
        warm.AppendPoint(9, 9);
        ExpectPaintsSafely(warm);
    }
    const long handles = ui::LiveHandleCount();
    const std::wstring ini = IniFile(L"shapes.ini");
    auto section = [&](const std::wstring& name,
                       std::initializer_list<std::pair<const wchar_t*, std::wstring>> keys) {
        for (auto& [k, v] : keys)
            WriteIniString(ini, name, k, v);
    };

    // A type that is no number, or has a blank after it: refused, nothing changed.
    for (const wchar_t* type : {L"abc", L"3x", L"", L"0x", L"5", L"+-3"}) {
        section(type[0] ? std::wstring(L"T_") + type : L"T_empty",
                {{L"Type", type}, {L"LineWidth", L"9"}, {L"PointCount", L"2"}});
        TScreenRectangle r;
        r.AppendPoint(1, 2);
        r.AppendPoint(30, 40);
        EXPECT_FALSE(r.LoadFromIni(ini, type[0] ? std::wstring(L"T_") + type : L"T_empty"))
            << Narrow(type);
        EXPECT_EQ(r.LineWidth, 1);
        EXPECT_EQ(r.PointCount, 2);
        EXPECT_EQ(r.Points[1].y, 40);
    }

    // Absurd counts and coordinates: the count stays within the item's room,
    // the coordinates are what the text says or the default.
    const std::pair<const wchar_t*, int32_t> counts[] = {
        {L"-5", 1}, {L"0", 1}, {L"2147483647", 2}, {L"junk", 1}, {L"99999999999", 1}};
    for (auto [count, expected] : counts) {
        section(L"R", {{L"Type", L"3"},
                       {L"PointCount", count},
                       {L"PointX.1", L"2147483647"},
                       {L"PointY.1", L"-2147483648"},
                       {L"PointX.2", L"1e9"},
                       {L"PointY.2", L"$7FFFFFFF"},
                       {L"RelativePosition", L"0"},
                       {L"LineWidth", L"-2147483648"},
                       {L"PointSize", L"2147483647"}});
        TScreenRectangle r;
        ASSERT_TRUE(r.LoadFromIni(ini, L"R")) << Narrow(count);
        EXPECT_EQ(r.PointCount, expected);
        EXPECT_EQ(r.Points[0].x, INT_MAX);
        EXPECT_EQ(r.Points[0].y, INT_MIN);
        if (expected == 2) {
            EXPECT_EQ(r.Points[1].x, 0);
            EXPECT_EQ(r.Points[1].y, INT_MAX);
        }
        EXPECT_EQ(r.PointSize, 20);
        ExpectPaintsSafely(r);
    }
    // Relative positions at the ends of the range scale without overflow.
    section(L"Rel", {{L"Type", L"3"},
                     {L"PointCount", L"2"},
                     {L"RelativePosition", L"1"},
                     {L"PointX.1", L"2147483647"},
                     {L"PointY.1", L"-2147483648"},
                     {L"PointX.2", L"100000"},
                     {L"PointY.2", L"100000"}});
    {
        TScreenRectangle rel;
        ASSERT_TRUE(rel.LoadFromIni(ini, L"Rel"));
        EXPECT_GT(rel.Points[0].x, 0);
        EXPECT_LT(rel.Points[0].y, 0);
        EXPECT_EQ(rel.Points[1].x, ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
        ExpectPaintsSafely(rel);
    }
    EXPECT_EQ(ui::LiveHandleCount(), handles);
}

TEST(SettingsShapesBroken, BitmapsAndTextsFromBrokenSections) {
    const std::wstring dir = ScratchFolder(L"reliability_ini_raster");
    const std::wstring ini = dir + L"\\raster.ini";
    WriteBytes(dir + L"\\corrupt.bmp", std::string(200, 'B'));
    ::CreateDirectoryW((dir + L"\\folder.bmp").c_str(), nullptr);
    const std::wstring files[] = {dir + L"\\corrupt.bmp", dir + L"\\folder.bmp",
                                  dir + L"\\missing.bmp", L"", std::wstring(5000, L'x')};
    for (const std::wstring& file : files) {
        WriteIniString(ini, L"B", L"Type", L"8");
        WriteIniString(ini, L"B", L"PointCount", L"1");
        WriteIniString(ini, L"B", L"FileName", file);
        WriteIniString(ini, L"B", L"TransparentColor", L"not a colour");
        TScreenBitmap b;
        b.AppendPoint(50, 50);
        bool loaded = true;
        EXPECT_NO_THROW(loaded = b.LoadFromIni(ini, L"B"));
        EXPECT_FALSE(loaded) << Narrow(file.substr(0, 80));
        EXPECT_TRUE(b.Picture.Empty());
        ExpectPaintsSafely(b);
    }

    // A font size no picture can hold, a caption beyond what a value keeps,
    // an unknown text type.
    WriteIniString(ini, L"T", L"Type", L"9");
    WriteIniString(ini, L"T", L"PointCount", L"1");
    WriteIniString(ini, L"T", L"FontSize", L"2147483647");
    WriteIniString(ini, L"T", L"TextType", L"-3");
    WriteIniString(ini, L"T", L"FontName", std::wstring(300, L'N'));
    WriteIniString(ini, L"T", L"Caption", std::wstring(1000, L'c'));
    TScreenText t;
    t.AppendPoint(80, 80);
    const uint8_t type = t.TextType;
    bool loaded = false;
    EXPECT_NO_THROW(loaded = t.LoadFromIni(ini, L"T"));
    EXPECT_EQ(t.TextType, type);
    if (loaded) {
        EXPECT_LE(t.Caption.size(), IniReadLength);
    }
    ExpectPaintsSafely(t);
}

} // namespace
