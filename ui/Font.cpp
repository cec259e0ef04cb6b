#include "ui/Font.h"

namespace ui {

Font MakeFont(const FontSpec& spec) {
    LOGFONTW lf{};
    lf.lfHeight = -(spec.height > 0 ? spec.height : 1); // negative: character height
    lf.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = spec.italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    lstrcpynW(lf.lfFaceName, spec.face.c_str(), LF_FACESIZE);
    return Font(::CreateFontIndirectW(&lf));
}

} // namespace ui
