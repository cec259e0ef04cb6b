#include "screen_objects/uScreenText.h"

#include "screen_objects/uIniValues.h"

#include <cwchar>

namespace {

// Room around the caption for the shadow and the outline.
constexpr int32_t TextMargin = 2;

void FillAll(HDC dc, int32_t width, int32_t height, COLORREF color) {
    ui::Brush brush(::CreateSolidBrush(color));
    RECT all{0, 0, width, height};
    ::FillRect(dc, &all, brush.Get());
}

void DrawCaption(HDC dc, int32_t x, int32_t y, const std::wstring& caption) {
    ::TextOutW(dc, x, y, caption.c_str(), static_cast<int>(caption.size()));
}

} // namespace

ui::Font TTextFont::CreateHandle() const {
    LOGFONTW lf{};
    ui::WindowDC screen(nullptr);
    lf.lfHeight = -::MulDiv(Size, ::GetDeviceCaps(screen.Get(), LOGPIXELSY), 72);
    lf.lfWeight = Bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = Italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    std::wcsncpy(lf.lfFaceName, Name.c_str(), LF_FACESIZE - 1);
    return ui::Font(::CreateFontIndirectW(&lf));
}

TScreenText::TScreenText() : Font(std::make_unique<TTextFont>()) {
    SetCapacity(1);
    TypeCode = TypeCodeText;
}

void TScreenText::SetCaption(const std::wstring& text) {
    Caption = text;
    RenderText();
}

void TScreenText::SetFont(TTextFont* font) {
    if (!font)
        return;
    if (font != Font.get())
        Font.reset(font);
    RenderText();
}

void TScreenText::SetFont(std::unique_ptr<TTextFont> font) {
    SetFont(font.release());
}

void TScreenText::SetFontFrameColor(COLORREF color) {
    FontFrameColor = color;
    RenderText();
}

void TScreenText::RenderText() {
    ui::Font font = Font->CreateHandle();
    ui::MemoryDC dc(::CreateCompatibleDC(nullptr));
    if (!dc)
        throw ui::PictureError("no device context for rendering the caption");
    ui::Selection fontSelected(dc.Get(), font.Get());
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.Get(), Caption.c_str(), static_cast<int>(Caption.size()), &extent);
    const int32_t w = extent.cx + TextMargin, h = extent.cy + TextMargin;
    if (w > ui::MaxPictureSide || h > ui::MaxPictureSide)
        throw ui::PictureError("caption too large to render");

    const COLORREF key = KeyColorFor(Font->Color);
    SetTransparentColor(key);

    // A 4-bit picture whose colour table holds text colour, key and frame colour.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[16];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = w;
    info.header.biHeight = h;
    info.header.biPlanes = 1;
    info.header.biBitCount = 4;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = 3;
    const COLORREF entries[3] = {Font->Color, key, FontFrameColor};
    for (int i = 0; i < 3; ++i)
        info.colors[i] =
            RGBQUAD{GetBValue(entries[i]), GetGValue(entries[i]), GetRValue(entries[i]), 0};
    void* bits = nullptr;
    ui::Bitmap working(::CreateDIBSection(dc.Get(), reinterpret_cast<BITMAPINFO*>(&info),
                                          DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!working)
        throw ui::PictureError("no memory for rendering the caption");
    {
        ui::Selection bitmapSelected(dc.Get(), working.Get());
        FillAll(dc.Get(), w, h, key);
        ::SetBkMode(dc.Get(), TRANSPARENT);
        ::SetTextColor(dc.Get(), FontFrameColor);
        switch (TextType) {
        case TextTypeShadow:
            DrawCaption(dc.Get(), 2, 2, Caption);
            break;
        case TextTypeOutline:
            for (int32_t x = 0; x <= 2; ++x)
                for (int32_t y = 0; y <= 2; ++y)
                    DrawCaption(dc.Get(), x, y, Caption);
            break;
        case TextTypeBox:
            FillAll(dc.Get(), w, h, FontFrameColor);
            break;
        default:
            break;
        }
        ::SetTextColor(dc.Get(), Font->Color);
        DrawCaption(dc.Get(), 1, 1, Caption);
        ::GdiFlush();
    }
    SetPicture(working.Get());
}

void TScreenText::GetHint(bool english, std::wstring& text) {
    text = RasterHint(english, L"Right mouse button to delete the text.",
                      L"Click mit der rechten Maustaste um den Text zu löschen.");
}

void TScreenText::GetMenuCaption(bool english, std::wstring& text) {
    text = english ? L"delete text" : L"Text löschen";
}

void TScreenText::GetPlacementPrompt(bool english, int32_t step, std::wstring& text) {
    text = RasterPlacementPrompt(english, step,
                                 L"Click on the position, where you want to place your text.",
                                 L"Klicken Sie auf die Stelle, an die Sie den Text setzen wollen.");
}

void TScreenText::GetInfoText(std::wstring& text) {
    text.clear();
}

bool TScreenText::LoadFromIni(const std::wstring& fileName, const std::wstring& section) {
    const bool result = TScreenImage::LoadFromIni(fileName, section);
    try {
        Font->Name = ReadIniString(fileName, section, L"FontName", Font->Name);
        Font->Color = static_cast<COLORREF>(
            ReadIniInteger(fileName, section, L"FontColor", static_cast<int32_t>(Font->Color)));
        SetFontFrameColor(static_cast<COLORREF>(ReadIniInteger(
            fileName, section, L"FontFrameColor", static_cast<int32_t>(FontFrameColor))));
        Font->Size = ReadIniInteger(fileName, section, L"FontSize", Font->Size);
        const int32_t type = ReadIniInteger(fileName, section, L"TextType", TextType);
        if (type >= TextTypePlain && type <= TextTypeBox)
            TextType = static_cast<uint8_t>(type);
        SetCaption(ReadIniString(fileName, section, L"Caption", Caption));
    } catch (const ui::PictureError&) {
        // A caption that cannot be rendered (absurd font size) loads as a failure.
        return false;
    }
    return result;
}

void TScreenText::SaveToIni(const std::wstring& fileName, const std::wstring& section,
                            std::vector<std::wstring>* fileList) {
    TScreenImage::SaveToIni(fileName, section, fileList);
    WriteIniString(fileName, section, L"FontName", Font->Name);
    WriteIniInteger(fileName, section, L"FontColor", static_cast<int32_t>(Font->Color));
    WriteIniInteger(fileName, section, L"FontFrameColor", static_cast<int32_t>(FontFrameColor));
    WriteIniInteger(fileName, section, L"FontSize", Font->Size);
    WriteIniInteger(fileName, section, L"TextType", TextType);
    WriteIniString(fileName, section, L"Caption", Caption);
}
