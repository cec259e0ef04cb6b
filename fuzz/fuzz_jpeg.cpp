// JPEG streams through the decoder the card and the bitmap items use: a
// consistent picture or PictureError, never a dead process.
#include "fuzz/fuzz_check.h"
#include "ui/PictureDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        ui::PixelImage image = ui::DecodeJpeg(data, size);
        FUZZ_CHECK(image.Width >= 1 && image.Height >= 1);
        FUZZ_CHECK(static_cast<int64_t>(image.Width) * image.Height <= ui::MaxPicturePixels);
        FUZZ_CHECK(image.Pixels.size() == static_cast<size_t>(image.Width) * image.Height);
        for (uint32_t p : image.Pixels)
            FUZZ_CHECK((p & ~ui::PixelColorMask) == 0);
    } catch (const ui::PictureError&) {
    }
    return 0;
}
