// Resizing pictures so that pixel art stays crisp: nearest neighbour, which
// only ever copies source pixels and so never makes a colour the picture did
// not have (a transparent colour key stays exact).
#pragma once

#include "ui/PictureDecode.h"

#include <cstdint>

namespace ui {

// The picture at width x height: every target pixel (x, y) takes the source
// pixel (x * W / width, y * H / height). At whole factors each source pixel
// becomes a factor x factor block; at others some rows and columns are
// repeated once more than their neighbours. An empty source or size gives
// an empty picture.
PixelImage ScaleNearest(const PixelImage& source, int32_t width, int32_t height);

} // namespace ui
