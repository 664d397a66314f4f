// JPEG through the IJG library: a memory source, and an error manager that
// jumps back out of the library on a fatal error. Scanlines land directly in
// blue-green-red order in bottom-up rows; grey images come out as three equal
// channels.
#include <csetjmp>
#include <cstdio>

extern "C" {
#include <jpeglib.h>
#include <jerror.h>
}

#include "media/picture/picture_decoders.h"

namespace qy {

namespace {

struct JumpingErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void JumpBack(j_common_ptr info) { std::longjmp(reinterpret_cast<JumpingErrors*>(info->err)->jump, 1); }
// Messages go nowhere: the program has no console to show them on.
void Quiet(j_common_ptr) {}

// The library pads damaged or missing scan data with grey and only warns;
// such data gives no picture.
void RefuseDamage(j_common_ptr info, int level) {
    if (level >= 0) return;
    switch (info->err->msg_code) {
        case JWRN_HIT_MARKER:
        case JWRN_JPEG_EOF:
        case JWRN_MUST_RESYNC:
        case JWRN_HUFF_BAD_CODE:
        case JWRN_ARITH_BAD_CODE: JumpBack(info);
        default: break;
    }
}

// Encoders write about ten scans for a progressive image; a file with
// hundreds has every one of them decoded over the whole image.
constexpr int kMaxScans = 500;

void LimitScans(j_common_ptr info) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxScans) JumpBack(info);
}

// The whole data is one buffer. Running out of it while image rows are still
// missing is a fatal error, so a cut-off file gives no picture instead of one
// padded with grey; only the end marker may be missing once every row is in.
const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void InitSource(j_decompress_ptr) {}

boolean FillInput(j_decompress_ptr info) {
    if (info->output_height == 0 || info->output_scanline < info->output_height) ERREXIT(info, JERR_INPUT_EOF);
    info->src->next_input_byte = kEndOfImage;
    info->src->bytes_in_buffer = 2;
    return TRUE;
}

void SkipInput(j_decompress_ptr info, long count) {
    if (count <= 0) return;
    jpeg_source_mgr* source = info->src;
    while (static_cast<size_t>(count) > source->bytes_in_buffer) {
        count -= static_cast<long>(source->bytes_in_buffer);
        FillInput(info);
    }
    source->next_input_byte += count;
    source->bytes_in_buffer -= static_cast<size_t>(count);
}

void TermSource(j_decompress_ptr) {}

// Everything that must survive a jump lives here, outside the jumping frame.
struct Decompression {
    jpeg_decompress_struct info;
    JumpingErrors errors;
    jpeg_source_mgr source;
    jpeg_progress_mgr progress;
};

// Into `picture`, or into `colours` where it is given.
bool Run(Decompression& d, const uint8_t* data, size_t length, Picture& picture, std::vector<int32_t>* colours) {
    if (setjmp(d.errors.jump)) return false;
    jpeg_create_decompress(&d.info);
    d.source.next_input_byte = data;
    d.source.bytes_in_buffer = length;
    d.source.init_source = InitSource;
    d.source.fill_input_buffer = FillInput;
    d.source.skip_input_data = SkipInput;
    d.source.resync_to_restart = jpeg_resync_to_restart;
    d.source.term_source = TermSource;
    d.info.src = &d.source;

    jpeg_read_header(&d.info, TRUE);
    if (!PictureSizeAllowed(d.info.image_width, d.info.image_height)) return false;
    d.progress.progress_monitor = LimitScans;
    d.info.progress = &d.progress;
    // Other component counts (CMYK and the like) have no three-channel form.
    if (d.info.num_components != 1 && d.info.num_components != 3) return false;
    d.info.out_color_space = colours ? JCS_EXT_RGBX : JCS_EXT_BGR;
    jpeg_start_decompress(&d.info);
    int width = static_cast<int>(d.info.output_width);
    int height = static_cast<int>(d.info.output_height);
    if (d.info.output_components != (colours ? 4 : 3) || width <= 0 || height <= 0) return false;
    if (colours) {
        picture.width = width;
        picture.height = height;
        colours->resize(static_cast<size_t>(width) * height);
        while (d.info.output_scanline < d.info.output_height) {
            int32_t* values = colours->data() + static_cast<size_t>(width) * d.info.output_scanline;
            JSAMPROW row = reinterpret_cast<JSAMPROW>(values);
            jpeg_read_scanlines(&d.info, &row, 1);
            // The filler byte is the library's 0xFF.
            for (int x = 0; x < width; ++x) values[x] &= 0xFFFFFF;
        }
        jpeg_finish_decompress(&d.info);
        return true;
    }
    if (!picture.AllocatePixels(static_cast<uint64_t>(width) * height * 3)) return false;

    size_t stride = static_cast<size_t>(width) * 3;
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW row = picture.pixels.get() + stride * (height - 1 - d.info.output_scanline);
        jpeg_read_scanlines(&d.info, &row, 1);
    }
    jpeg_finish_decompress(&d.info);
    picture.kind = kPictureJpeg;
    picture.width = width;
    picture.height = height;
    return true;
}

bool Decode(const uint8_t* data, size_t length, Picture& picture, std::vector<int32_t>* colours) {
    if (!data || length < 2) return false;
    Decompression d{};
    d.info.err = jpeg_std_error(&d.errors.manager);
    d.errors.manager.error_exit = JumpBack;
    d.errors.manager.output_message = Quiet;
    d.errors.manager.emit_message = RefuseDamage;
    bool decoded = Run(d, data, length, picture, colours);
    jpeg_destroy_decompress(&d.info);
    return decoded;
}

}  // namespace

bool DecodeJpeg(const uint8_t* data, size_t length, Picture& picture) { return Decode(data, length, picture, nullptr); }

bool DecodeJpegColours(const uint8_t* data, size_t length, std::vector<int32_t>* colours, int* width, int* height) {
    Picture sizes;
    if (!Decode(data, length, sizes, colours)) return false;
    *width = sizes.width, *height = sizes.height;
    return true;
}

}  // namespace qy
