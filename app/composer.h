// The composer: draws the shape on the panel, samples it cell by cell and
// writes the text picture; shared by the window program and qizi.exe.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "app/application.h"

namespace program {

// The choices of 别字本字: which characters the cells receive.
enum CharacterSource : int32_t {
    kFillTexts = 0,      // the fill and blank texts
    kOwnDoubleByte = 1,  // the shape text's own double-byte characters
    kOwnSingleByte = 2,  // the shape text's own single-byte characters
};

// The composer's state, zero at start.
extern int32_t thresholdColour;
extern int32_t drawOffsetX, drawOffsetY;
extern int32_t textGridWidth, textGridHeight;
extern int32_t pictureGridWidth, pictureGridHeight;

void GenerateTextArt();
// With 补齐 ticked, pads the fill and blank texts to one byte length.
void EqualiseFillTexts();
void MeasureTextGrid();
void MeasurePictureGrid();
// The picture grid for a requested width and height, one of them followed
// when the aspect is locked.
void SetPictureGrid(int32_t width, int32_t height, bool locked);
void DrawShapePreview();
// DrawShapePreview for the grid already measured.
void DrawMeasuredShape();
void AlignShapeToCorner(int32_t columns, int32_t rows, int32_t margin);
void ComposeTextArt(int32_t columns, int32_t rows, const char* soundTag);
// A composed grid: each cell's text, row by row, and what ends every row.
struct ComposedGrid {
    int32_t columns = 0, rows = 0;
    std::vector<std::string> cells;
    std::string rowEnd;
    std::string Text() const;
};
// The grid of the drawing on the panel, composed by the core from the units'
// choices; `dither` spreads each cell's error to its neighbours.
ComposedGrid ComposeGrid(int32_t columns, int32_t rows, bool dither = false);
// The text of a grid of the drawing on the panel, as ComposeTextArt writes it.
std::string ComposeText(int32_t columns, int32_t rows);
// The panel's colours at the cells (1..columns, 1..rows), row by row; empty
// when they cannot be read.
std::vector<int32_t> SampledColours(int32_t columns, int32_t rows);
void UpdateLockedAxis();
// Replaces currentPicture and frees the picture it held.
void ReplaceCurrentPicture(int32_t picture);

// The follow-ups most handlers end in.
inline void Regenerate() {
    GenerateTextArt();
    FocusUnit(kDisplayBox);
}
inline void Redraw() {
    DrawShapePreview();
    FocusUnit(kDisplayBox);
}

}  // namespace program
