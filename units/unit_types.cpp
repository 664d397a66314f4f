// The unit types this runtime provides, entered into their libraries'
// data-type tables. Each table entry's interface function hands out the
// type's operations by code; the generic ones forward to the Unit object.
// A new unit type adds one line to kRegistrations.
#include "units/unit_types.h"

#include <vector>

#include "units/button/button.h"
#include "units/colour_picker/colour_picker.h"
#include "units/combo_box/combo_box.h"
#include "units/common_dialog/common_dialog.h"
#include "units/drawing_panel/draw_panel.h"
#include "units/edit_box/edit_box.h"
#include "units/label/label.h"
#include "units/scroll_bar/scroll_bar.h"
#include "units/transparent_label/transparent_label.h"
#include "window/template_format.h"
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
    uint32_t typeRef;
    const UnitTypeInfo* type;
    void* (*interface)(int);
};

const Registration kRegistrations[] = {
    {kWindowTypeRef, &kWindowType, &Interface<kWindowType>},
    {kDrawPanelTypeRef, &kDrawPanelType, &Interface<kDrawPanelType>},
    {kEditBoxTypeRef, &kEditBoxType, &Interface<kEditBoxType>},
    {kLabelTypeRef, &kLabelType, &Interface<kLabelType>},
    {kButtonTypeRef, &kButtonType, &Interface<kButtonType>},
    {kCheckBoxTypeRef, &kCheckBoxType, &Interface<kCheckBoxType>},
    {kComboBoxTypeRef, &kComboBoxType, &Interface<kComboBoxType>},
    {kScrollBarTypeRef, &kScrollBarType, &Interface<kScrollBarType>},
    {kTransLabelTypeRef, &kTransLabelType, &Interface<kTransLabelType>},
    {kColourPickerTypeRef, &kColourPickerType, &Interface<kColourPickerType>},
    {kCommonDialogTypeRef, &kCommonDialogType, &Interface<kCommonDialogType>},
};

const PropertyInfo kCommonProperties[8] = {
    {"Left", kPropInt},    {"Top", kPropInt},         {"Width", kPropInt},      {"Height", kPropInt},
    {"Tag", kPropText},    {"Visible", kPropLogical}, {"Disabled", kPropLogical}, {"MousePointer", kPropMousePointer},
};
}  // namespace

void EnterUnitTypes(UnitLibrary library, DataTypeEntry* entries, int count) {
    static std::vector<std::vector<PropertyInfo>> tables(sizeof kRegistrations / sizeof kRegistrations[0]);
    uint32_t libraryNumber = library == UnitLibrary::Core ? kCoreLibraryNumber : kExtendedUiLibraryNumber;
    for (size_t i = 0; i < sizeof kRegistrations / sizeof kRegistrations[0]; ++i) {
        const Registration& r = kRegistrations[i];
        int typeNumber = static_cast<int>(TypeNumber(r.typeRef));
        if (TypeLibrary(r.typeRef) != libraryNumber || typeNumber < 1 || typeNumber > count) continue;
        std::vector<PropertyInfo>& table = tables[i];
        table.assign(kCommonProperties, kCommonProperties + 8);
        table.insert(table.end(), r.type->ownProperties, r.type->ownProperties + r.type->ownPropertyCount);
        DataTypeEntry& e = entries[typeNumber - 1];
        e.name = r.type->name;
        e.englishName = r.type->englishName;
        e.stateFlags = r.type->flags;
        e.propertyCount = static_cast<int32_t>(table.size());
        e.properties = table.data();
        e.interfaceFunction = r.interface;
    }
}

}  // namespace qy
