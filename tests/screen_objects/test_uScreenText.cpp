#include "picture_files.h"
#include "screen_objects/uIniValues.h"
#include "screen_objects/uScreenText.h"

#include "ui/RegionUnion.h"

#include <gtest/gtest.h>

#include <map>

namespace tp = testpics;

namespace {

// How many pixels of each colour the rendered picture holds.
std::map<COLORREF, int> ColourCounts(const TScreenText& text) {
    std::map<COLORREF, int> counts;
    for (uint32_t p : text.Picture.ToPixels().Pixels)
        ++counts[ui::ColorFromPixel(p)];
    return counts;
}

TTextFont* NewFont(COLORREF color, int32_t size = 16) {
    auto* font = new TTextFont;
    font->Color = color;
    font->Size = size;
    return font;
}

int RegionArea(HRGN region) {
    int area = 0;
    for (const RECT& r : ui::RegionRects(region))
        area += (r.right - r.left) * (r.bottom - r.top);
    return area;
}

} // namespace

TEST(TextRendering, KeyColourStepsAsideForMagentaText) {
    EXPECT_EQ(KeyColorFor(RGB(255, 0, 255)), RGB(250, 0, 250));
    EXPECT_EQ(KeyColorFor(RGB(250, 0, 250)), RGB(255, 0, 255));
    EXPECT_EQ(KeyColorFor(RGB(0, 0, 0)), RGB(255, 0, 255));

    for (COLORREF color : {RGB(255, 0, 255), RGB(250, 0, 250), RGB(0, 0, 0), RGB(10, 200, 30)}) {
        TScreenText text;
        text.AppendPoint(400, 300);
        text.SetFont(NewFont(color));
        text.SetCaption(L"Frost Wg");
        const COLORREF key = KeyColorFor(color);
        EXPECT_EQ(text.TransparentColor, key);
        // Only the three colours of the table occur: text, key, frame.
        std::map<COLORREF, int> counts = ColourCounts(text);
        EXPECT_GT(counts[color], 20) << std::hex << color;
        EXPECT_GT(counts[key], counts[color]);
        EXPECT_EQ(counts.size(), 2u) << "no other colour in a plain caption";

        // The text stays visible: its region holds exactly the text pixels.
        tp::Surface s(800, 600, RGB(1, 1, 1));
        ui::Region acc = ui::MakeEmptyRegion();
        text.Paint(s.canvas, acc.Get(), false);
        EXPECT_EQ(RegionArea(acc.Get()), counts[color]);
        const RECT r = text.PictureRect();
        EXPECT_EQ(r.left, 400 - text.Picture.Width() / 2) << "centred on the vertex";
        EXPECT_EQ(r.top, 300 - text.Picture.Height() / 2);
    }
}

TEST(TextRendering, FrameStylesAddShadowOutlineOrBox) {
    const COLORREF ink = RGB(0, 0, 128), frame = RGB(255, 255, 0);
    std::map<uint8_t, std::map<COLORREF, int>> counts;
    int32_t width = 0, height = 0;
    for (uint8_t type : {TextTypePlain, TextTypeShadow, TextTypeOutline, TextTypeBox}) {
        TScreenText text;
        text.TextType = type;
        text.SetFont(NewFont(ink));
        text.SetFontFrameColor(frame);
        text.SetCaption(L"Snow");
        counts[type] = ColourCounts(text);
        width = text.Picture.Width();
        height = text.Picture.Height();
        if (type == TextTypeBox) {
            tp::Surface s(200, 100, RGB(1, 1, 1));
            text.AppendPoint(100, 50);
            ui::Region acc = ui::MakeEmptyRegion();
            text.Paint(s.canvas, acc.Get(), false);
            EXPECT_EQ(RegionArea(acc.Get()), width * height) << "a box is visible as a whole";
        }
    }
    EXPECT_EQ(counts[TextTypePlain][frame], 0);
    EXPECT_GT(counts[TextTypeShadow][frame], 0);
    EXPECT_GT(counts[TextTypeOutline][frame], counts[TextTypeShadow][frame]);
    EXPECT_EQ(counts[TextTypeBox][RGB(255, 0, 255)], 0);
    EXPECT_EQ(counts[TextTypeBox][frame] + counts[TextTypeBox][ink], width * height);
    // The text colour wins over the frame where both fall.
    EXPECT_EQ(counts[TextTypeShadow][ink], counts[TextTypePlain][ink]);

    // A frame in the key colour is transparent: only the glyphs remain.
    TScreenText keyed;
    keyed.TextType = TextTypeBox;
    keyed.SetFont(NewFont(ink));
    keyed.SetFontFrameColor(RGB(255, 0, 255));
    keyed.SetCaption(L"Snow");
    EXPECT_EQ(ColourCounts(keyed)[ink], counts[TextTypePlain][ink]);
    EXPECT_EQ(ColourCounts(keyed).size(), 2u);
}

TEST(TextRendering, FontIsTakenOverAndRenderedAgain) {
    TScreenText text;
    EXPECT_TRUE(text.Picture.Empty()) << "nothing rendered before the first change";
    tp::Surface s(100, 100, RGB(0, 0, 0));
    ui::Region acc = ui::MakeEmptyRegion();
    text.AppendPoint(50, 50);
    text.Paint(s.canvas, acc.Get(), false);
    RECT box{};
    EXPECT_EQ(::GetRgnBox(acc.Get(), &box), NULLREGION);
    EXPECT_EQ(text.Font->Name, L"Arial");
    EXPECT_EQ(text.Font->Size, 16);
    EXPECT_TRUE(text.Font->Bold);

    text.SetCaption(L"Hi");
    const int32_t small = text.Picture.Height();
    TTextFont* font = NewFont(RGB(0, 0, 0), 10);
    text.SetFont(font);
    EXPECT_EQ(text.Font.get(), font);
    EXPECT_LT(text.Picture.Height(), small);
    // Changed in place and handed over again: the same object, rendered anew.
    font->Size = 40;
    text.SetFont(font);
    EXPECT_EQ(text.Font.get(), font);
    EXPECT_GT(text.Picture.Height(), small);
    text.SetFont(static_cast<TTextFont*>(nullptr));
    EXPECT_EQ(text.Font.get(), font);

    // An empty caption gives a picture of the margin only, all transparent.
    text.SetCaption(L"");
    EXPECT_EQ(text.Picture.Width(), 2);
    ui::Region none = ui::MakeEmptyRegion();
    text.Paint(s.canvas, none.Get(), false);
    EXPECT_EQ(::GetRgnBox(none.Get(), &box), NULLREGION);
    // A caption too large to render is a clear failure.
    text.Font->Size = 1500;
    EXPECT_THROW(text.SetCaption(std::wstring(40, L'W')), ui::PictureError);
}

TEST(TextPersistence, StoresFontFrameTypeAndCaption) {
    const std::wstring ini = tp::IniPath(L"text");
    ::DeleteFileW(ini.c_str());
    TScreenText text;
    text.RelativePosition = false;
    text.AppendPoint(200, 100);
    TTextFont* font = NewFont(RGB(10, 20, 30), 22);
    font->Name = L"Courier New";
    text.SetFont(font);
    text.SetFontFrameColor(RGB(1, 2, 3));
    text.TextType = TextTypeOutline;
    text.SetCaption(L"Grüße");
    text.SaveToIni(ini, L"T", nullptr);
    EXPECT_EQ(ReadIniInteger(ini, L"T", L"Type", 0), 9);
    EXPECT_EQ(ReadIniInteger(ini, L"T", L"TransparentColor", 0), RGB(255, 0, 255));
    EXPECT_EQ(ReadIniString(ini, L"T", L"FontName", L""), L"Courier New");
    EXPECT_EQ(ReadIniInteger(ini, L"T", L"TextType", 0), 2);

    TScreenText loaded;
    ASSERT_TRUE(loaded.LoadFromIni(ini, L"T"));
    EXPECT_EQ(loaded.Caption, L"Grüße");
    EXPECT_EQ(loaded.Font->Name, L"Courier New");
    EXPECT_EQ(loaded.Font->Size, 22);
    EXPECT_EQ(loaded.Font->Color, RGB(10, 20, 30));
    EXPECT_EQ(loaded.FontFrameColor, RGB(1, 2, 3));
    EXPECT_EQ(loaded.TextType, TextTypeOutline);
    EXPECT_EQ(loaded.Vertex(1).x, 200);
    EXPECT_EQ(ColourCounts(loaded), ColourCounts(text)) << "rendered with every loaded setting";

    WriteIniInteger(ini, L"T", L"TextType", 7);
    ASSERT_TRUE(loaded.LoadFromIni(ini, L"T"));
    EXPECT_EQ(loaded.TextType, TextTypeOutline);
    WriteIniInteger(ini, L"T", L"TextType", 3);
    ASSERT_TRUE(loaded.LoadFromIni(ini, L"T"));
    EXPECT_EQ(loaded.TextType, TextTypeBox);
    ::DeleteFileW(ini.c_str());
}

TEST(TextTexts, HintsCaptionsAndPrompts) {
    TScreenText text;
    std::wstring s;
    text.GetHint(true, s);
    EXPECT_EQ(s, L"Right mouse button to delete the text.\n\rLeft mouse button (keep pressed) to "
                 L"change position");
    text.UserHint = L"eigen";
    text.GetHint(false, s);
    EXPECT_EQ(s, L"Click mit der rechten Maustaste um den Text zu löschen.\n\rClick mit der linken "
                 L"Maustaste (gedrückt halten) um die Position zu verändern.\n\reigen");
    text.UserHint.clear();
    text.ShowMouseHelp = false;
    text.GetHint(false, s);
    EXPECT_TRUE(s.empty());
    text.GetMenuCaption(false, s);
    EXPECT_EQ(s, L"Text löschen");
    text.GetPlacementPrompt(false, 1, s);
    EXPECT_EQ(s,
              L"Klicken Sie auf die Stelle, an die Sie den Text setzen wollen.\n\rAbbruch mit der "
              L"rechten Maustaste.");
    text.GetPlacementPrompt(true, 0, s);
    EXPECT_TRUE(s.empty());
}
