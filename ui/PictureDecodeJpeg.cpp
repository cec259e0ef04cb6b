// JPEG streams, decoded by libjpeg with its fatal errors turned into
// PictureError.
#include "ui/PictureDecode.h"
#include "ui/PictureDecodeParts.h"

#include <csetjmp>
#include <cstdio>
#include <string>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>
#include <jerror.h>

namespace ui {

namespace {

// The decoder's error manager: fatal errors jump back into RunJpegDecoder
// instead of ending the process, and no message goes to stderr.
struct JpegFailure {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr cinfo) {
    auto* failure = reinterpret_cast<JpegFailure*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, failure->message);
    std::longjmp(failure->jump, 1);
}

void JpegOutputMessage(j_common_ptr) {}

void JpegEmitMessage(j_common_ptr cinfo, int level) {
    if (level >= 0)
        return;
    // A stream that ends early is a truncated file, not a picture.
    if (cinfo->err->msg_code == JWRN_JPEG_EOF)
        JpegErrorExit(cinfo);
    ++cinfo->err->num_warnings;
}

uint32_t CmykToPixel(const uint8_t* p, bool inverted) {
    uint32_t c = p[0], m = p[1], y = p[2], k = p[3];
    if (!inverted) {
        c = 255 - c;
        m = 255 - m;
        y = 255 - y;
        k = 255 - k;
    }
    return ((c * k / 255) << 16) | ((m * k / 255) << 8) | (y * k / 255);
}

// Only plain C data lives in this frame between setjmp and longjmp; the
// output image belongs to the caller.
bool RunJpegDecoder(const uint8_t* data, size_t size, PixelImage* out, JpegFailure* failure) {
    jpeg_decompress_struct cinfo;
    cinfo.err = jpeg_std_error(&failure->manager);
    failure->manager.error_exit = JpegErrorExit;
    failure->manager.output_message = JpegOutputMessage;
    failure->manager.emit_message = JpegEmitMessage;
    failure->message[0] = '\0';
    if (setjmp(failure->jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    const int64_t w = cinfo.image_width, h = cinfo.image_height;
    if (w < 1 || h < 1 || w > MaxPictureSide || h > MaxPictureSide || w * h > MaxPicturePixels) {
        std::snprintf(failure->message, sizeof failure->message, "picture is too large");
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_start_decompress(&cinfo);
    const size_t width = cinfo.output_width;
    try {
        out->Width = static_cast<int32_t>(cinfo.output_width);
        out->Height = static_cast<int32_t>(cinfo.output_height);
        out->Pixels.assign(width * cinfo.output_height, 0);
    } catch (...) {
        std::snprintf(failure->message, sizeof failure->message, "no memory for the picture");
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        uint32_t* row = out->Pixels.data() + static_cast<size_t>(cinfo.output_scanline) * width;
        JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(row)};
        jpeg_read_scanlines(&cinfo, rows, 1);
        for (size_t x = 0; x < width; ++x)
            row[x] = cmyk ? CmykToPixel(reinterpret_cast<const uint8_t*>(row + x),
                                        cinfo.saw_Adobe_marker)
                          : row[x] & PixelColorMask;
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

} // namespace

PixelImage DecodeJpeg(const uint8_t* data, size_t size) {
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        decode_detail::Fail("not a JPEG file");
    PixelImage image;
    JpegFailure failure;
    if (!RunJpegDecoder(data, size, &image, &failure))
        throw PictureError(std::string("JPEG: ") + failure.message);
    return image;
}

} // namespace ui
