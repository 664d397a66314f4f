// The own-data readers under fuzzing, one per unit type, with the type
// reference whose records carry that block. Re-pointing the own-data fuzz
// target at another reader API means changing ReadOwnData below only.
#pragma once
#include <cstddef>
#include <cstdint>

#include "units/button/button_data.h"
#include "units/colour_picker/colour_picker_data.h"
#include "units/combo_box/combo_box_data.h"
#include "units/common_dialog/common_dialog_data.h"
#include "units/drawing_panel/draw_panel_data.h"
#include "units/edit_box/edit_box_data.h"
#include "units/label/label_data.h"
#include "units/scroll_bar/scroll_bar_data.h"
#include "units/transparent_label/transparent_label_data.h"
#include "window/own_data.h"
#include "window/template_format.h"

namespace qyfuzz {

template <typename Data>
void ReadOwnData(const qy::Bytes& block) {
    // Writing back what was read walks every field the reader filled in.
    Data::Read(block).Write();
}

struct OwnDataReader {
    uint32_t typeRef;
    void (*read)(const qy::Bytes& block);
    qy::Bytes (*defaults)();
};

template <typename Data>
constexpr OwnDataReader Reader(uint32_t typeRef) {
    return {typeRef, &ReadOwnData<Data>, [] { return Data().Write(); }};
}

// The first input byte picks the reader, modulo the count.
inline const OwnDataReader kOwnDataReaders[] = {
    Reader<qy::WindowData>(qy::kWindowTypeRef),          Reader<qy::EditBoxData>(qy::kEditBoxTypeRef),
    Reader<qy::DrawPanelData>(qy::kDrawPanelTypeRef),    Reader<qy::LabelData>(qy::kLabelTypeRef),
    Reader<qy::ButtonData>(qy::kButtonTypeRef),          Reader<qy::CheckBoxData>(qy::kCheckBoxTypeRef),
    Reader<qy::ComboBoxData>(qy::kComboBoxTypeRef),      Reader<qy::ScrollBarData>(qy::kScrollBarTypeRef),
    Reader<qy::ColourPickerData>(qy::kColourPickerTypeRef), Reader<qy::CommonDialogData>(qy::kCommonDialogTypeRef),
    Reader<qy::TransLabelData>(qy::kTransLabelTypeRef),
};
constexpr size_t kOwnDataReaderCount = sizeof kOwnDataReaders / sizeof kOwnDataReaders[0];

}  // namespace qyfuzz
