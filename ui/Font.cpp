#include "ui/Font.h"

namespace ui {

Font MakeFont(const FontSpec& font, int dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -ScaleToDpi(font.height > 0 ? font.height : 1, dpi); // negative: character height
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    lstrcpynW(lf.lfFaceName, font.face.c_str(), LF_FACESIZE);
    return Font(::CreateFontIndirectW(&lf));
}

} // namespace ui
