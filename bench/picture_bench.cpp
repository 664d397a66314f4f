// Decoding a large JPEG and PNG picture through LoadPicture, from picture
// data and from a file, against the same library's plain decode loop.
// Prints milliseconds per decode; usage: picture_bench [WIDTH HEIGHT RUNS]
#include <windows.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <png.h>
extern "C" {
#include <jpeglib.h>
}

#include "app/abi/program_abi.h"
#include "commands/command_table.h"
#include "runtime/memory.h"
#include "runtime/program_image.h"
#include "runtime/runtime_app.h"
#include "media/picture/picture_registry.h"
#include "tools/jpeg_writer.h"

namespace {

typedef std::vector<uint8_t> Bytes;

// Smooth gradients with some texture, so both encoders have real work.
std::vector<uint8_t> Content(int width, int height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    uint32_t noise = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245 + 12345;
            uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            p[0] = static_cast<uint8_t>(x * 255 / width + (noise >> 28));
            p[1] = static_cast<uint8_t>(y * 255 / height + ((noise >> 20) & 7));
            p[2] = static_cast<uint8_t>((x ^ y) & 0xFF);
        }
    return rgb;
}

Bytes EncodePng(const std::vector<uint8_t>& rgb, int width, int height) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    png_image_write_get_memory_size(image, size, 0, rgb.data(), 0, nullptr);
    Bytes out(size);
    png_image_write_to_memory(&image, out.data(), &size, 0, rgb.data(), 0, nullptr);
    out.resize(size);
    return out;
}

// The library's own loop: memory source, RGB scanlines into one buffer.
void PlainJpeg(const Bytes& jpeg, std::vector<uint8_t>& out) {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    size_t stride = static_cast<size_t>(info.output_width) * 3;
    out.resize(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &out[stride * info.output_scanline];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
}

struct PngSource {
    const Bytes* data;
    size_t position;
};
void ReadPng(png_structp png, png_bytep out, size_t count) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    std::memcpy(out, source->data->data() + source->position, count);
    source->position += count;
}

// The library's own loop: read the rows one by one into one buffer.
void PlainPng(const Bytes& png, std::vector<uint8_t>& out) {
    png_structp read = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(read);
    PngSource source{&png, 0};
    png_set_read_fn(read, &source, ReadPng);
    png_read_info(read, info);
    size_t stride = png_get_rowbytes(read, info);
    png_uint_32 height = png_get_image_height(read, info);
    out.resize(stride * height);
    for (png_uint_32 y = 0; y < height; ++y) png_read_row(read, &out[stride * y], nullptr);
    png_read_end(read, nullptr);
    png_destroy_read_struct(&read, &info, nullptr);
}

int32_t LoadPicture(const qy::ValueRecord& argument) {
    const void* entry = reinterpret_cast<const void*>(qy::CoreCommandEntry(qy::CoreCommand::LoadPicture));
    return static_cast<int32_t>(program::CallCore(entry, {argument}).low);
}

double Milliseconds(const std::function<void()>& work) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Figures {
    double best = 1e30, total = 0;
    int runs = 0;
    void Add(double ms) {
        best = std::min(best, ms);
        total += ms;
        ++runs;
    }
};

void Report(const char* name, const Figures& f, double megapixels, double baseline) {
    std::printf("  %-34s best %8.1f ms  mean %8.1f ms  %6.1f Mpixel/s", name, f.best, f.total / f.runs,
                megapixels / (f.best / 1000.0));
    if (baseline > 0) std::printf("  x%.2f of plain", f.best / baseline);
    std::printf("\n");
}

std::string WriteTemp(const char* name, const Bytes& bytes) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return path;
}

void Measure(const char* format, const Bytes& data, int runs, double megapixels,
             void (*plain)(const Bytes&, std::vector<uint8_t>&)) {
    std::printf("%s, %.1f KB of data\n", format, data.size() / 1024.0);
    Figures plainFigures, memoryFigures, fileFigures;
    void* block = qy::NewByteSet(data.data(), static_cast<int>(data.size()));
    qy::ValueRecord byteSet{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(block)), 0, qy::kTypeByteSet};
    std::string path = WriteTemp(format[0] == 'J' ? "qy_bench.jpg" : "qy_bench.png", data);
    int failures = 0;
    for (int i = 0; i < runs; ++i) {
        // Each decode gets fresh memory, as a loaded picture does.
        plainFigures.Add(Milliseconds([&] {
            std::vector<uint8_t> out;
            plain(data, out);
        }));
        // Registered pictures stay until shut-down, so every run holds one more.
        memoryFigures.Add(Milliseconds([&] { failures += LoadPicture(byteSet) == 0; }));
        fileFigures.Add(Milliseconds([&] { failures += LoadPicture(qy::MakeTextRecord(path.c_str())) == 0; }));
    }
    Report("plain library decode loop", plainFigures, megapixels, 0);
    Report("LoadPicture(picture data)", memoryFigures, megapixels, plainFigures.best);
    Report("LoadPicture(file name)", fileFigures, megapixels, plainFigures.best);
    if (failures) std::printf("  %d loads FAILED\n", failures);
    qy::Free(block);
    DeleteFileA(path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    int width = argc > 2 ? std::atoi(argv[1]) : 3000;
    int height = argc > 2 ? std::atoi(argv[2]) : 2000;
    int runs = argc > 3 ? std::atoi(argv[3]) : 3;
    qy::Runtime().InitRuntime(qy::ProgramHeaderRecord);
    std::vector<uint8_t> rgb = Content(width, height);
    double megapixels = width * static_cast<double>(height) / 1e6;
    std::printf("picture decoding, %d x %d (%.1f Mpixel), %d runs each\n", width, height, megapixels, runs);
    Measure("JPEG", jpegwriter::EncodeJpeg(rgb, width, height, 90), runs, megapixels, PlainJpeg);
    Measure("PNG", EncodePng(rgb, width, height), runs, megapixels, PlainPng);
    qy::Runtime().Shutdown(0);
    return 0;
}
