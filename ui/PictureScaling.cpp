#include "ui/PictureScaling.h"

#include <vector>

namespace ui {

PixelImage ScaleNearest(const PixelImage& source, int32_t width, int32_t height) {
    PixelImage out;
    if (source.Width <= 0 || source.Height <= 0 || width <= 0 || height <= 0)
        return out;
    CheckPictureSize(width, height);
    out.Width = width;
    out.Height = height;
    out.Pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    std::vector<int32_t> columns(static_cast<size_t>(width));
    for (int32_t x = 0; x < width; ++x)
        columns[x] = static_cast<int32_t>(static_cast<int64_t>(x) * source.Width / width);
    uint32_t* target = out.Pixels.data();
    for (int32_t y = 0; y < height; ++y) {
        const int32_t row = static_cast<int32_t>(static_cast<int64_t>(y) * source.Height / height);
        const uint32_t* from = source.Pixels.data() + static_cast<size_t>(row) * source.Width;
        for (int32_t x = 0; x < width; ++x)
            *target++ = from[columns[x]];
    }
    return out;
}

} // namespace ui
