// The unit framework. Every unit type (the window itself, label, button, ...)
// is a Unit subclass plus a UnitTypeInfo that names it, lists its properties
// and creates it. The window system reaches a type only through the
// interface function of its data-type entry, which hands out the operations
// by code (create, property changed, get all own data, get property, wants
// key, default-button filter); the generic operations forward to the Unit's
// virtual methods.
//
// Adding a unit type: make a folder units/<type>/ with a CMakeLists.txt that
// adds its sources to qyunits (units/CMakeLists.txt picks the folder up), a
// byte-level own-data record in <type>_data.h (fields walked as in
// window/own_data.h), and <type>.h/.cpp with the Unit subclass and a
// `const UnitTypeInfo` holding the names, state flags, the own-property table
// (type codes of PropertyKind) and a create function; then add one line for
// it to kRegistrations in units/unit_types.cpp. Events are raised with
// Unit::RaiseEvent; the parent window reflects WM_COMMAND, WM_NOTIFY,
// WM_CTLCOLOR*, WM_DRAWITEM and scroll messages to the unit's Reflect.
#pragma once
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "window/byte_io.h"
#include "window/protocol.h"

namespace qy {

enum UnitOperation {
    kOpCreate = 1,
    kOpPropertyChanged = 4,
    kOpGetAllData = 5,
    kOpGetProperty = 6,
    kOpGetIcon = 7,
    kOpWantsKey = 8,
    kOpEnumerateTexts = 9,
    kOpIsDefaultButton = 10,
};

enum UnitTypeFlag : uint32_t {
    kTypeMayRaiseEvents4 = 0x04,
    kTypeNoWindow = 0x10,
    kTypeMayRaiseEvents = 0x40,
    kTypeContainer = 0x80,
    kTypeTabContainer = 0x100,
    kTypeRadioMember = 0x400,
    kTypeToggleOnMnemonic = 0x1000,
    kTypeNeverShownAtLoad = 0x8000,
    kTypeDragsWindow = 0x20000,
    kTypeNotifyParent = 0x100000,
};

// Property type codes of the property tables.
enum PropertyKind : uint32_t {
    kPropInt = 1000,
    kPropInt2 = 1001,
    kPropDouble = 1002,
    kPropLogical = 1003,
    kPropDateTime = 1004,
    kPropText = 1005,
    kPropChoice = 1006,
    kPropFileName = 1007,
    kPropTextChoice = 1008,
    kPropPicture = 1009,
    kPropIcon = 1010,
    kPropMousePointer = 1011,
    kPropMusic = 1012,
    kPropFont = 1013,
    kPropColour = 1014,
    kPropColourOrTransparent = 1015,
    kPropHelpFile = 1016,
    kPropBackColour = 1017,
    kPropDataSource = 1018,
    kPropDataColumn = 1020,
    kPropCustomData = 1023,
    kPropCustomData2 = 1024,
};

struct PropertyInfo {
    const char* name;
    uint32_t kind;
};

// A property value as units take and give it: integers, choices, logicals
// and colours in i; doubles and date-times in d; texts in text (never null);
// byte sets, pictures and 60-byte fonts as data and size. Values a unit
// gives out stay owned by the unit.
struct PropertyValue {
    int32_t i = 0;
    double d = 0;
    const char* text = "";
    const uint8_t* data = nullptr;
    int32_t size = 0;
};

// Private notifications the window system sends while loading a window.
constexpr UINT kUnitLoadedMessage = WM_APP + 0x310;
constexpr UINT kWindowLayoutMessage = WM_APP + 0x311;
constexpr UINT kUnitShownMessage = WM_APP + 0x312;

class Unit;
struct UnitTypeInfo;

// Arguments of the create operation.
struct UnitCreation {
    const uint8_t* data;
    int size;
    DWORD style;
    HWND parent;
    UINT controlId;
    HMENU menu;
    int left, top, width, height;
    uint32_t windowId, unitId;
};

typedef Unit* (*CreateUnitOp)(const uint8_t* data, int size, DWORD style, HWND parent, UINT controlId, HMENU menu,
                              int left, int top, int width, int height, uint32_t windowId, uint32_t unitId,
                              int designer1, int designer2);
// What a unit answers to a changed property: applied in place, or asking to be re-created.
enum PropertyChangeResult : int { kPropertyApplied = 0, kRecreateUnit = 1 };
typedef int (*PropertyChangedOp)(Unit* unit, int own, const PropertyValue* value);
typedef HGLOBAL (*GetAllDataOp)(Unit* unit);
typedef int (*GetPropertyOp)(Unit* unit, int own, PropertyValue* out);
typedef int (*WantsKeyOp)(Unit* unit, int key);
typedef int (*IsDefaultButtonOp)(Unit* unit);
typedef void (*UnitTextCallback)(const char* text, void* context);
typedef void (*EnumerateTextsOp)(Unit* unit, UnitTextCallback callback, void* context);

struct UnitTypeInfo {
    const char* name;
    const char* englishName;
    uint32_t flags;
    const PropertyInfo* ownProperties;
    int ownPropertyCount;
    // Builds the unit from its own data; null on failure (bad version, no window).
    Unit* (*create)(const UnitCreation& creation);
};

class Unit;

// A unit type whose own-property count is that of its property table.
template <size_t N>
constexpr UnitTypeInfo MakeUnitType(const char* name, const char* englishName, uint32_t flags,
                                    const PropertyInfo (&ownProperties)[N], Unit* (*create)(const UnitCreation&)) {
    return {name, englishName, flags, ownProperties, static_cast<int>(N), create};
}

class Unit {
public:
    Unit(const UnitTypeInfo& type, uint32_t windowId, uint32_t unitId)
        : type_(type), windowId_(windowId), unitId_(unitId) {}
    virtual ~Unit();

    const UnitTypeInfo& type() const { return type_; }
    HWND hwnd() const { return hwnd_; }
    uint32_t windowId() const { return windowId_; }
    uint32_t unitId() const { return unitId_; }

    // Operation 4: answers kRecreateUnit to ask the window system to re-create the unit.
    virtual int PropertyChanged(int own, const PropertyValue& value) = 0;
    // Operation 6.
    virtual bool GetProperty(int own, PropertyValue* out) = 0;
    // Operation 5: the unit's current own-data block.
    virtual Bytes OwnData() const = 0;
    // Operation 8: the unit keeps this key from dialog navigation.
    virtual bool WantsKey(int key) { (void)key; return false; }
    // Operation 10.
    virtual bool IsDefaultButton() const { return false; }
    // Operation 9: hands each of the unit's texts and font face names to the callback.
    virtual void EnumerateTexts(UnitTextCallback callback, void* context) const { (void)callback, (void)context; }
    // Composite controls (a combo box with its edit field) report focus
    // changes from their own notifications instead of their window's.
    virtual bool ReportsFocusItself() const { return false; }
    // The caption that Alt mnemonics look in; empty when the unit has none.
    virtual std::string MnemonicCaption() const { return std::string(); }
    // A mnemonic or Enter chose this unit: checks, toggles or clicks it.
    virtual void Activate() {}
    virtual bool IsChecked() const { return false; }
    virtual void SetChecked(bool) {}

    // A notification its parent received for this unit's window.
    virtual bool Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Raises an event with 32-bit arguments; true when a subroutine returned
    // a value, which is then in *result.
    bool RaiseEvent(int event, std::initializer_list<int32_t> args = {}, int32_t* result = nullptr);

    // Takes over a created window: own-class windows route to WindowProc
    // from creation, platform classes are subclassed here.
    void Attach(HWND hwnd);
    static Unit* FromHandle(HWND hwnd);
    // Whether `unit` still answers for `hwnd`; false once a subroutine run
    // by an event destroyed the window, and the unit with it. Compares the
    // pointer only, so it is safe to call with a unit that is gone.
    static bool StillOwns(HWND hwnd, const Unit* unit) { return IsWindow(hwnd) && FromHandle(hwnd) == unit; }
    // A helper window of the unit (an edit box's spin control) answers to
    // the unit: its notifications reach Reflect and input on it raises the
    // unit's events. Release it before destroying it.
    void AdoptPart(HWND part);
    static void ReleasePart(HWND part);
    // Routes a child's notification to the child's unit.
    static bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Class procedure for own window classes; pass `this` as creation parameter.
    static LRESULT CALLBACK ClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // A property read's answer; a text or bytes stay valid until the next such call.
    void GiveText(PropertyValue* out, const std::string& text);
    void GiveBytes(PropertyValue* out, const Bytes& bytes);
    void GiveInt(PropertyValue* out, int32_t value) { out->i = value; }

protected:
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT Route(Unit* unit, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    const UnitTypeInfo& type_;
    uint32_t windowId_, unitId_;
    HWND hwnd_ = nullptr;
    WNDPROC original_ = nullptr;
    std::string givenText_;
    Bytes givenBytes_;
};

// Helpers every unit type uses.
std::string TextOf(const PropertyValue& value);
Bytes BytesOf(const PropertyValue& value);
// A font object from a 60-byte LOGFONTA, or null for the default GUI font.
HFONT CreateUnitFont(const Bytes& logFont);
HGDIOBJ FontOrDefault(HFONT font);
COLORREF ResolveColour(uint32_t colour);

// Registers an own window class of units (procedure ClassProc, the arrow
// cursor) unless the program has it already; false when that fails.
bool RegisterUnitClass(const char* className, UINT classStyle, HBRUSH background = nullptr);
// Creates the unit's child window of an own class at the creation's place,
// with the creation's style and `extraStyle`, the control id and the unit as
// creation parameter. On failure the unit is deleted and false returned.
bool CreateUnitWindow(Unit* unit, const UnitCreation& creation, DWORD exStyle, const char* className,
                      const char* text, DWORD extraStyle);

// The extended style of a border kind; 0 for none and for the single line.
DWORD BorderExStyle(int32_t border);
// The single line as the system's thin border, for units that leave it to
// the system rather than drawing it themselves.
inline DWORD LineBorderStyle(int32_t border) { return border == kLineBorder ? WS_BORDER : 0; }
// Replaces a live window's border styles with those of a kind (the single
// line only where `systemLine`); RedrawFrame then shows the new frame.
void SetBorderStyles(HWND hwnd, int32_t border, bool systemLine);
// Has the system recompute and repaint a window's frame after a style change.
void RedrawFrame(HWND hwnd);

}  // namespace qy
