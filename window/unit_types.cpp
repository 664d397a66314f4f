// The unit types this runtime provides, entered into their libraries'
// data-type tables. Each table entry's interface function hands out the
// type's operations by code; the generic ones forward to the Unit object.
// A new unit type adds one line to kRegistrations.
#include <vector>

#include "runtime/library_runtime.h"
#include "runtime/program_image.h"
#include "units/colour_picker/colour_picker.h"
#include "units/common_dialog/common_dialog.h"
#include "units/drawing_panel/draw_panel.h"
#include "units/transparent_label/transparent_label.h"
#include "window/units/basic_units.h"
#include "window/units/combo_box.h"
#include "window/units/edit_box.h"
#include "window/units/scroll_bar.h"
#include "window/window_list.h"
#include "window/window_unit.h"

namespace qy {

namespace {
template <const UnitTypeInfo& T>
Unit* CreateOp(const uint8_t* data, int size, DWORD style, HWND parent, UINT controlId, HMENU menu, int left, int top,
               int width, int height, uint32_t windowId, uint32_t unitId, int, int) {
    UnitCreation c{data, size, style, parent, controlId, menu, left, top, width, height, windowId, unitId};
    return T.create(c);
}

int PropertyChangedOp(Unit* unit, int own, const PropertyValue* value) { return unit->PropertyChanged(own, *value); }

HGLOBAL GetAllDataOp(Unit* unit) {
    Bytes data = unit->OwnData();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, data.empty() ? 1 : data.size());
    if (!block) return nullptr;
    if (void* p = GlobalLock(block)) {
        if (!data.empty()) memcpy(p, data.data(), data.size());
        GlobalUnlock(block);
    }
    return block;
}

int GetPropertyOp(Unit* unit, int own, PropertyValue* out) { return unit->GetProperty(own, out) ? 1 : 0; }
int WantsKeyOp(Unit* unit, int key) { return unit->WantsKey(key) ? 1 : 0; }
int IsDefaultButtonOp(Unit* unit) { return unit->IsDefaultButton() ? 1 : 0; }
void EnumerateTextsOp(Unit* unit, UnitTextCallback callback, void* context) {
    if (callback) unit->EnumerateTexts(callback, context);
}

template <const UnitTypeInfo& T>
void* Interface(int operation) {
    switch (operation) {
        case kOpCreate: return reinterpret_cast<void*>(&CreateOp<T>);
        case kOpPropertyChanged: return reinterpret_cast<void*>(&PropertyChangedOp);
        case kOpGetAllData: return reinterpret_cast<void*>(&GetAllDataOp);
        case kOpGetProperty: return reinterpret_cast<void*>(&GetPropertyOp);
        case kOpWantsKey: return reinterpret_cast<void*>(&WantsKeyOp);
        case kOpIsDefaultButton: return reinterpret_cast<void*>(&IsDefaultButtonOp);
        case kOpEnumerateTexts: return reinterpret_cast<void*>(&EnumerateTextsOp);
        default: return nullptr;
    }
}

struct Registration {
    const LibraryRecord* library;
    int typeNumber;
    const UnitTypeInfo* type;
    void* (*interface)(int);
};

const Registration kRegistrations[] = {
    {&CoreLibrary, 1, &kWindowType, &Interface<kWindowType>},
    {&CoreLibrary, 8, &kDrawPanelType, &Interface<kDrawPanelType>},
    {&CoreLibrary, 5, &kEditBoxType, &Interface<kEditBoxType>},
    {&CoreLibrary, 10, &kLabelType, &Interface<kLabelType>},
    {&CoreLibrary, 11, &kButtonType, &Interface<kButtonType>},
    {&CoreLibrary, 12, &kCheckBoxType, &Interface<kCheckBoxType>},
    {&CoreLibrary, 14, &kComboBoxType, &Interface<kComboBoxType>},
    {&CoreLibrary, 17, &kScrollBarType, &Interface<kScrollBarType>},
    {&ExtendedUiLibrary, 5, &kTransLabelType, &Interface<kTransLabelType>},
    {&CoreLibrary, 28, &kColourPickerType, &Interface<kColourPickerType>},
    {&CoreLibrary, 31, &kCommonDialogType, &Interface<kCommonDialogType>},
};

const PropertyInfo kCommonProperties[8] = {
    {"Left", kPropInt},    {"Top", kPropInt},         {"Width", kPropInt},      {"Height", kPropInt},
    {"Tag", kPropText},    {"Visible", kPropLogical}, {"Disabled", kPropLogical}, {"MousePointer", kPropMousePointer},
};
}  // namespace

void RegisterUnitTypes() {
    static std::vector<std::vector<PropertyInfo>> tables(sizeof kRegistrations / sizeof kRegistrations[0]);
    for (size_t i = 0; i < sizeof kRegistrations / sizeof kRegistrations[0]; ++i) {
        const Registration& r = kRegistrations[i];
        DataTypeEntry* entries = MutableDataTypes(*r.library);
        if (!entries || r.typeNumber < 1 || r.typeNumber > r.library->dataTypeCount) continue;
        std::vector<PropertyInfo>& table = tables[i];
        table.assign(kCommonProperties, kCommonProperties + 8);
        table.insert(table.end(), r.type->ownProperties, r.type->ownProperties + r.type->ownPropertyCount);
        DataTypeEntry& e = entries[r.typeNumber - 1];
        e.name = r.type->name;
        e.englishName = r.type->englishName;
        e.stateFlags = r.type->flags;
        e.propertyCount = static_cast<int32_t>(table.size());
        e.properties = table.data();
        e.interfaceFunction = r.interface;
    }
}

}  // namespace qy
