// ReadPixel over a 100 x 100 grid of a shown drawing panel, as the text-art
// composer samples it, against a plain window-DC loop, a single DC held for
// the whole grid and one ReadPixelGrid call. Prints milliseconds per grid and
// microseconds per pixel; usage: panel_bench [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "app/abi/program_abi.h"
#include "commands/command_table.h"
#include "runtime/memory.h"
#include "runtime/program_image.h"
#include "runtime/runtime_app.h"
#include "runtime/win32_handles.h"
#include "window/own_data.h"
#include "units/drawing_panel/draw_panel_data.h"
#include "window/template_format.h"
#include "window/window_list.h"

namespace {

constexpr uint32_t kWindow = 0x52040001, kOwn = 0x06040000, kPanel = 0x16040001;
constexpr int kGrid = 100;

qy::Bytes Segment() {
    qy::WindowData wd;
    wd.caption = "ReadPixel";
    wd.position = 0;
    qy::UnitRecord own;
    own.typeRef = 0x10001;
    own.left = 40, own.top = 40, own.width = 200, own.height = 200;
    own.state = qy::kStateVisible;
    own.ownData = wd.Write();
    qy::DrawPanelData panelData;
    panelData.backColor = 0xFFFFFF;
    qy::UnitRecord panel;
    panel.typeRef = 0x10008;
    panel.left = 10, panel.top = 10, panel.width = kGrid, panel.height = kGrid;
    panel.state = qy::kStateVisible;
    panel.ownData = panelData.Write();
    qy::WindowTemplate t;
    t.id = kWindow;
    t.units = qy::UnitTable::Build({{kOwn, qy::EncodeUnit(own)}, {kPanel, qy::EncodeUnit(panel)}});
    return qy::WriteSegment({t});
}

qy::ValueRecord Call(qy::CoreCommand command, std::vector<qy::ValueRecord> args) {
    args.insert(args.begin(), qy::ValueRecord{kWindow, kPanel, 0x10008});
    return program::CallCore(reinterpret_cast<const void*>(qy::CoreCommandEntry(command)), args.data(),
                             static_cast<int>(args.size()));
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Times one pass over the grid per run; the checksum keeps the reads honest.
// readGrid fills the whole grid, row by row.
void MeasureGrid(const char* name, int runs, const std::function<void(std::vector<uint32_t>&)>& readGrid) {
    std::vector<double> times;
    uint32_t checksum = 0;
    int invalid = 0;
    std::vector<uint32_t> grid(kGrid * kGrid);
    for (int run = 0; run < runs; ++run) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        readGrid(grid);
        for (uint32_t c : grid) {
            checksum += c;
            invalid += c == CLR_INVALID;
        }
        QueryPerformanceCounter(&end);
        times.push_back(Milliseconds(start, end));
    }
    std::sort(times.begin(), times.end());
    double best = times.front(), median = times[times.size() / 2];
    std::printf("  %-34s best %8.2f ms  median %8.2f ms  (%6.2f us per pixel, checksum %08X%s)\n", name, best,
                median, best * 1000.0 / (kGrid * kGrid), checksum, invalid ? ", UNREADABLE PIXELS" : "");
}

void Measure(const char* name, int runs, const std::function<uint32_t(int, int)>& read) {
    MeasureGrid(name, runs, [&read](std::vector<uint32_t>& grid) {
        for (int y = 0; y < kGrid; ++y)
            for (int x = 0; x < kGrid; ++x) grid[y * kGrid + x] = read(x, y);
    });
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    qy::Bytes segment = Segment();
    qy::ProgramHeader header = qy::ProgramHeaderRecord;
    header.templates = segment.data();
    header.templateSize = static_cast<uint32_t>(segment.size());
    qy::Runtime().InitRuntime(header);
    if (!qy::Windows().LoadStartupWindow(kWindow)) {
        std::printf("the panel window could not be loaded\n");
        return 1;
    }
    HWND panel = qy::Windows().FindUnitObject(kWindow, kPanel, false)->hwnd();
    SetForegroundWindow(GetParent(panel));
    UpdateWindow(GetParent(panel));
    Call(qy::CoreCommand::Clear, {});
    qy::ValueRecord text = qy::MakeTextRecord("砌字成图");
    Call(qy::CoreCommand::WriteAt, {qy::MakeIntRecord(2), qy::MakeIntRecord(30), text});

    std::printf("ReadPixel over a %d x %d grid of a shown panel, %d runs each\n", kGrid, kGrid, runs);
    Measure("ReadPixel through the command frame", runs, [](int x, int y) {
        return Call(qy::CoreCommand::ReadPixel, {qy::MakeIntRecord(x), qy::MakeIntRecord(y)}).low;
    });
    Measure("GetDC + GetPixel + ReleaseDC", runs, [panel](int x, int y) {
        qy::ClientDc dc(panel);
        return static_cast<uint32_t>(GetPixel(dc.get(), x, y));
    });
    {
        qy::ClientDc held(panel);
        Measure("GetPixel on one held DC", runs,
                [&held](int x, int y) { return static_cast<uint32_t>(GetPixel(held.get(), x, y)); });
    }
    MeasureGrid("ReadPixelGrid, one call per grid", runs, [](std::vector<uint32_t>& grid) {
        void* block = reinterpret_cast<void*>(static_cast<uintptr_t>(
            Call(qy::CoreCommand::ReadPixelGrid,
                 {qy::MakeIntRecord(0), qy::MakeIntRecord(0), qy::MakeIntRecord(kGrid), qy::MakeIntRecord(kGrid)})
                .low));
        if (block && qy::ByteSetLength(block) == kGrid * kGrid * 4) {
            std::memcpy(grid.data(), qy::ByteSetData(block), grid.size() * 4);
        } else {
            std::fill(grid.begin(), grid.end(), CLR_INVALID);
        }
        qy::Free(block);
    });
    qy::Runtime().Shutdown(0);
    return 0;
}
