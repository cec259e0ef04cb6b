// Fonts by face, pixel height and style. A FontSpec describes a font and the
// colour its text is drawn in; MakeFont makes the GDI font for it.
#pragma once

#include "ui/DpiScaling.h"
#include "ui/Handles.h"

#include <string>

namespace ui {

struct FontSpec {
    std::wstring face = L"Tahoma";
    int height = 11; // character height in pixels (without internal leading)
    bool bold = false;
    bool italic = false;
    COLORREF color = RGB(0, 0, 0);

    bool operator==(const FontSpec&) const = default;
};

// The font described, its height designed for 96 DPI and scaled to `dpi`;
// an empty owner when the system refuses it.
Font MakeFont(const FontSpec& font, int dpi = DesignDpi);

} // namespace ui
