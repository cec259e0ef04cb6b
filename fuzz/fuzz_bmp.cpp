// BMP files, bare device-independent bitmaps (as BITMAP resources hold them)
// and icon files: a decoder either gives a consistent picture or throws
// PictureError; it never reads outside the data.
#include "fuzz/fuzz_check.h"
#include "ui/PictureDecode.h"

namespace {

void CheckImage(const ui::PixelImage& image) {
    FUZZ_CHECK(image.Width >= 1 && image.Height >= 1);
    FUZZ_CHECK(image.Width <= ui::MaxPictureSide && image.Height <= ui::MaxPictureSide);
    FUZZ_CHECK(image.Pixels.size() == static_cast<size_t>(image.Width) * image.Height);
    for (uint32_t p : image.Pixels)
        FUZZ_CHECK((p & ~ui::PixelColorMask) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        CheckImage(ui::DecodeBmp(data, size));
    } catch (const ui::PictureError&) {
    }
    try {
        CheckImage(ui::DecodeDib(data, size));
    } catch (const ui::PictureError&) {
    }
    try {
        ui::IconImage icon = ui::DecodeIco(data, size, size > 0 ? data[0] : 32);
        FUZZ_CHECK(icon.Colors.size() == static_cast<size_t>(icon.Width) * icon.Height);
        FUZZ_CHECK(icon.Mask.size() == icon.Colors.size());
        CheckImage(ui::RenderIcon(icon, 0x00FE05FE));
    } catch (const ui::PictureError&) {
    }
    return 0;
}
