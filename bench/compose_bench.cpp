// GenerateTextArt on the real, shown main window at the largest grids that
// still compose, in each character source: (a) the composer's own work
// (drawing the shape for sampling, sampling every cell, building the text),
// (b) the whole call with the preview and the display's new content, and
// beside them per-cell ReadPixel over the same grid. Prints milliseconds;
// usage: compose_bench [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/composer.h"
#include "app/handlers.h"
#include "app/program.h"
#include "runtime/runtime_app.h"

using namespace program;

namespace {

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void Pump() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

struct Figures {
    double best, median;
};

// Runs `work` `runs` times, letting the window repaint between runs.
Figures Time(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        Pump();
        double start = Now();
        work();
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return Figures{times.front(), times[times.size() / 2]};
}

void Report(const char* mode, const char* source, int columns, int rows, int runs) {
    Figures own = Time(runs, [&] { ComposeText(columns, rows); });
    Figures whole = Time(runs, [] { GenerateTextArt(); });
    Figures perCell = Time(std::max(3, runs / 5), [&] {
        for (int y = 1; y <= rows; ++y)
            for (int x = 1; x <= columns; ++x) Method(W::画板1, CoreCommand::ReadPixel, {IntValue(x), IntValue(y)});
    });
    std::string text = ComposeText(columns, rows);
    Figures preview = Time(runs, [] { DrawShapePreview(); });
    Figures display = Time(runs, [&] {
        SetContent(W::编辑框1, "");
        SetContent(W::编辑框1, text);
    });
    Figures sound = Time(runs, [] { Command(CoreCommand::PlayAudio, {ByteSetValue(&K.textSound)}); });
    std::printf("    of the whole call, best: preview %6.2f, display %6.2f, sound %6.2f\n", preview.best, display.best, sound.best);
    std::printf("%-10s %-4s %4d x %-4d (%5d cells)  own best %6.2f median %6.2f | whole best %6.2f median %6.2f | "
                "per-cell ReadPixel best %7.2f ms\n",
                mode, source, columns, rows, columns * rows, own.best, own.median, whole.best, whole.median,
                perCell.best);
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    StartProgram();
    Pump();
    const char* sources[] = {"别字", "汉字", "字母"};

    // Shape-text mode: a long shape text at a size that gives just under 9333 cells.
    std::string shape;
    for (;;) {
        std::string longer = shape + "砌字成图";
        SetContent(W::编辑框2, longer);
        MeasureTextGrid();
        if (static_cast<double>(textGridWidth) * textGridHeight >= 9333) break;
        shape = longer;
    }
    SetContent(W::编辑框2, shape);
    MeasureTextGrid();
    int columns = textGridWidth, rows = textGridHeight;
    std::printf("%d runs; milliseconds\n", runs);
    for (int source = 0; source < 3; ++source) {
        SetSelection(W::别字本字, source);
        DrawShapePreview();
        Report("shape text", sources[source], columns, rows, runs);
    }

    OnModeClicked(nullptr);
    SetTicked(W::锁定比例, false);
    SetPosition(W::图片宽, 100);
    SetPosition(W::图片高, 100);
    for (int source = 0; source < 3; ++source) {
        SetSelection(W::别字本字, source);
        DrawShapePreview();
        Report("picture", sources[source], 102, 102, runs);
    }
    qy::Runtime().Shutdown(0);
    return 0;
}
