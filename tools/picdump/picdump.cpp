// picdump IN OUT.ppm: loads the file IN with LoadPicture, draws the picture
// at its own size with the runtime's picture drawing onto a white 24-bit
// bitmap and writes that bitmap as a binary PPM (P6, maxval 255). Prints
// "KIND WIDTH HEIGHT", or "none" with exit status 1 when IN is no picture.
// Other failures (usage, output file) exit with status 2.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "app/abi/program_abi.h"
#include "commands/command_table.h"
#include "runtime/program_image.h"
#include "runtime/runtime_app.h"
#include "runtime/win32_handles.h"
#include "media/picture/picture_draw.h"
#include "media/picture/picture_registry.h"

namespace {

// The picture as drawn on white, top-down rows of blue-green-red.
bool DrawOnWhite(const qy::Picture& picture, std::vector<uint8_t>& rows, size_t& stride) {
    BITMAPINFO info = qy::DibInfo(picture.width, -picture.height, 24);
    void* bits = nullptr;
    qy::GdiHandle<HBITMAP> bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return false;
    qy::MemoryDc dc(nullptr, bitmap.get());
    PatBlt(dc.get(), 0, 0, picture.width, picture.height, WHITENESS);
    qy::RenderPicture(picture, dc.get(), 0, 0, -1, -1, SRCCOPY, RGB(255, 255, 255));
    GdiFlush();
    stride = (static_cast<size_t>(picture.width) * 3 + 3) & ~static_cast<size_t>(3);
    const auto* start = static_cast<const uint8_t*>(bits);
    rows.assign(start, start + stride * picture.height);
    return true;
}

bool WritePpm(const char* name, const qy::Picture& picture, const std::vector<uint8_t>& rows, size_t stride) {
    FILE* file = std::fopen(name, "wb");
    if (!file) return false;
    std::fprintf(file, "P6\n%d %d\n255\n", picture.width, picture.height);
    std::vector<uint8_t> line(static_cast<size_t>(picture.width) * 3);
    for (int y = 0; y < picture.height; ++y) {
        const uint8_t* in = rows.data() + stride * y;
        for (int x = 0; x < picture.width; ++x) {
            line[3 * x] = in[3 * x + 2];
            line[3 * x + 1] = in[3 * x + 1];
            line[3 * x + 2] = in[3 * x];
        }
        std::fwrite(line.data(), 1, line.size(), file);
    }
    return std::fclose(file) == 0;
}

int Dump(const char* in, const char* out) {
    qy::ValueRecord result =
        program::CallCore(reinterpret_cast<const void*>(qy::CoreCommandEntry(qy::CoreCommand::LoadPicture)),
                          {qy::MakeTextRecord(in)});
    const qy::Picture* picture = qy::FindPicture(static_cast<int32_t>(result.low));
    if (!picture) {
        std::printf("none\n");
        return 1;
    }
    std::printf("%d %d %d\n", static_cast<int>(picture->kind), picture->width, picture->height);
    std::fflush(stdout);
    std::vector<uint8_t> rows;
    size_t stride = 0;
    if (!DrawOnWhite(*picture, rows, stride) || !WritePpm(out, *picture, rows, stride)) {
        std::fprintf(stderr, "picdump: cannot write %s\n", out);
        return 2;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: picdump.exe IN OUT.ppm\n");
        return 2;
    }
    // The runtime moves the current directory to the program's own; relative
    // names are resolved before it starts.
    char in[MAX_PATH], out[MAX_PATH];
    if (!GetFullPathNameA(argv[1], MAX_PATH, in, nullptr) || !GetFullPathNameA(argv[2], MAX_PATH, out, nullptr)) {
        std::fprintf(stderr, "picdump: bad file name\n");
        return 2;
    }
    qy::Runtime().InitRuntime(qy::ProgramHeaderRecord);
    int status = Dump(in, out);
    // Shut-down releases the registered picture.
    qy::Runtime().Shutdown(status);
    return status;
}
