// TScreenText: a one-line caption on the overlay. Whenever caption, font or
// frame colour change, the caption is rendered once into a small 4-bit picture
// on a key colour, which becomes the picture of the raster base with the key as
// its transparent colour. Painting, hit testing, positioning and the region are
// those of TScreenImage.
#pragma once

#include "screen_objects/uScreenImage.h"
#include "ui/Handles.h"

#include <windows.h>

#include <memory>
#include <string>

// The background of rendered captions, and the one used when the text itself
// has that colour.
constexpr COLORREF TextKeyColor = RGB(255, 0, 255);
constexpr COLORREF TextAlternateKeyColor = RGB(250, 0, 250);

// Frame styles (TextType).
constexpr uint8_t TextTypePlain = 0;
constexpr uint8_t TextTypeShadow = 1;
constexpr uint8_t TextTypeOutline = 2;
constexpr uint8_t TextTypeBox = 3;

// The key colour for a caption drawn in fontColor.
constexpr COLORREF KeyColorFor(COLORREF fontColor) {
    return fontColor == TextKeyColor ? TextAlternateKeyColor : TextKeyColor;
}

// A font description: face name, size in points, style and text colour.
struct TTextFont {
    std::wstring Name = L"Arial";
    int32_t Size = 16;
    bool Bold = true;
    bool Italic = false;
    COLORREF Color = RGB(0, 0, 0);

    // A system font for these settings at the screen's resolution.
    ui::Font CreateHandle() const;
};

class TScreenText : public TScreenImage {
public:
    TScreenText();

    void SetCaption(const std::wstring& text);
    // Takes the font over: the text uses this very object from now on and
    // releases the one it had (unless it is the same object, which callers
    // pass after changing it in place to render again). nullptr is ignored.
    void SetFont(TTextFont* font);
    void SetFont(std::unique_ptr<TTextFont> font);
    void SetFontFrameColor(COLORREF color);
    // Renders the caption into the picture.
    void RenderText();

    void GetHint(bool english, std::wstring& text) override;
    void GetMenuCaption(bool english, std::wstring& text) override;
    void GetPlacementPrompt(bool english, int32_t step, std::wstring& text) override;
    void GetInfoText(std::wstring& text) override;
    bool LoadFromIni(const std::wstring& fileName, const std::wstring& section) override;
    void SaveToIni(const std::wstring& fileName, const std::wstring& section,
                   std::vector<std::wstring>* fileList) override;

    std::wstring Caption;
    std::unique_ptr<TTextFont> Font;
    uint8_t TextType = TextTypePlain;
    COLORREF FontFrameColor = RGB(255, 255, 255);
};
