// Writing pictures: the counterpart of PictureDecode for the one format the
// library writes, a 24-bit BMP file.
#pragma once

#include "ui/PictureDecode.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

// The bytes of a 24-bit bottom-up BMP file of the picture (72 dpi).
std::vector<uint8_t> EncodeBmp24(const PixelImage& image);
// Writes a picture as a 24-bit BMP file, replacing any file of that name;
// false when the picture is empty or the file cannot be written completely
// (a half-written file is removed).
bool SaveBmpFile(const PixelImage& image, const std::wstring& fileName);

} // namespace ui
