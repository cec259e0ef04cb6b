// The scene's bitmaps for screens of more than 96 DPI: read from the program's
// resources and enlarged by nearest neighbour, so the pixel art stays crisp
// and the transparent colours stay exact.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

class TScreenBitmap;

// The bitmap resource `name` of `module` at its size for `dpi` (each side
// scaled by dpi / 96 and rounded), centred on position, with the transparent
// colour key; null when the resource is missing or unreadable.
std::unique_ptr<TScreenBitmap> MakeScaledSceneBitmap(POINT position, HMODULE module,
                                                     const std::string& name, COLORREF key,
                                                     int dpi);
