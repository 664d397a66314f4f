// The window system: the parsed window records, loading windows with their
// units, re-creating and destroying them, property access and event
// dispatch. RuntimeApp reaches it through the WindowSystem interface; unit
// types and library commands use the lookups below.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "runtime/program_image.h"
#include "runtime/win32_handles.h"
#include "runtime/window_system.h"
#include "window/template_format.h"
#include "window/unit.h"

namespace qy {

class WindowUnit;

// One window of the template segment, alive from start-up to exit.
struct WindowRecord {
    uint32_t id = 0;
    uint32_t stamp = 0, key = 0;
    std::string textA, textB;
    UnitTable units;     // the live table: object and cursor slots, written properties
    UnitTable snapshot;  // taken at the start of every load
    bool freshlyLoaded = false;
    bool modal = false;
    // Top-level windows a modal load disabled, with their former enabled state.
    std::vector<std::pair<HWND, bool>> disabledByModal;
    MenuHandle menu;
    AcceleratorHandle accelerators;
};

// A request to load a window (kNotifyLoadWindow): window id, owner window
// handle (0 = none), modal flag.
struct LoadRequestRecord {
    uint32_t windowId;
    uint32_t owner;
    uint32_t modal;
};

class WindowList : public WindowSystem {
public:
    // WindowSystem
    void LoadSegment(LoadingArchive& archive) override;
    void RelocateHandlers(uintptr_t codeBase) override;
    void DestroyAll() override;
    bool LoadStartupWindow(uint32_t windowId) override;
    bool AnyWindowExists() override;
    void* Collection() override;
    int LoadRequest(void* request) override;
    void* LiveObject(uint32_t windowId, uint32_t unitId, bool report) override;
    void WindowDestroyed(uint32_t windowId) override;
    int RaiseEvent(uint32_t* record, bool longRecord) override;
    bool IdleEvents(uint32_t elapsedMs, std::vector<uint32_t>& doneWindows) override;
    uint64_t ReadProperty(uint32_t windowId, uint32_t unitId, int property, int arrayIndex) override;
    void WriteProperty(uint32_t windowId, uint32_t unitId, int property, int arrayIndex, uint32_t low,
                       uint32_t high) override;

    // Lookups. A window id that is not valid is never found.
    WindowRecord* FindWindow(uint32_t windowId);
    // Index of a unit in the window's table; 0 also names the window's own unit.
    int FindUnit(const WindowRecord& window, uint32_t unitId) const;
    Unit* Object(const WindowRecord& window, int index) const;
    WindowUnit* LiveWindow(const WindowRecord& window) const;
    // The live unit for a library command; with report, a missing one is the
    // runtime error "指定窗口或窗口组件不存在或尚未载入".
    Unit* FindUnitObject(uint32_t windowId, uint32_t unitId, bool report);

    // Loads a window (reactivate, modal, owner); the post-load handling of a
    // load request included when postLoad is set.
    bool LoadWindow(WindowRecord& window, bool reactivate, bool modal, HWND owner, bool postLoad);
    // What a load request and writing Visible = 1 on a window do after loading.
    void AfterLoad(WindowRecord& window);
    void RecreateUnit(WindowRecord& window, int index);
    // A unit's platform window is gone: its cursor and slots are released
    // (ignored while the unit is being re-created).
    void UnitDestroyed(uint32_t windowId, uint32_t unitId);
    // Removes the window's modal state, giving the windows it disabled their state back.
    void EndModal(WindowRecord& window);

    // Whether a subroutine is bound to the unit's event (through its event
    // source); false for a unit that is not found.
    bool HandlesEvent(uint32_t windowId, uint32_t unitId, int event);

    // The cursor built for a unit when its window loaded, or null.
    HCURSOR UnitCursor(uint32_t windowId, uint32_t unitId);

    // Current event source, while a subroutine runs.
    uint32_t eventWindow = 0, eventUnit = 0;

    std::vector<WindowRecord*>& windows() { return windows_; }
    // Forgets every window; for programs that load another segment.
    void Clear();

private:
    // A unit's own property goes to the unit, converted by its kind; the
    // unit may ask to be re-created. `unitId` is the id the program named it by.
    void WriteOwnProperty(WindowRecord& window, int index, uint32_t unitId, int property, int sub, uint32_t low,
                          uint32_t high);
    // The common properties: the template record and the live window.
    void WriteCommonProperty(WindowRecord& window, int index, int property, uint32_t low);
    // The steps of LoadWindow. A window already loaded comes to the front
    // (true); the window's own unit is created (null when it cannot be).
    bool BringForward(const WindowRecord& window);
    Unit* CreateWindowUnit(WindowRecord& window, bool modal, HWND owner);
    void ReparentAndStack(WindowRecord& window);
    void CreateCursors(WindowRecord& window);
    void NotifyLoaded(WindowRecord& window, HWND windowHandle, const std::vector<int>& shown);
    void DisableOthersForModal(WindowRecord& window);
    void NotifyShown(WindowRecord& window);
    void ShowLoadedWindow(WindowRecord& window);
    bool CreateUnits(WindowRecord& window, HWND parent, std::vector<int>* shown);
    void RebuildDirectory();

    std::vector<WindowRecord*> windows_;
    std::vector<uint32_t> directory_;  // W ids, then W record addresses
    bool recreating_ = false;
};

WindowList& Windows();
// Reports a window-system failure through the runtime error box.
[[noreturn]] void WindowError(const char* message);

namespace wmsg {
extern const char* const kNoWindow;         // 未载入欲访问窗口组件所在的窗口
extern const char* const kWindowNotLoaded;  // 指定窗口尚未载入
extern const char* const kNoEventWindow;    // 未找到引发事件的窗口
extern const char* const kNoEventUnit;      // 未找到引发事件的窗口组件
extern const char* const kEventUnitInvalid; // 引发事件的窗口组件无效
extern const char* const kLibraryFailed;    // 因所在支持库载入出错而无法创建
}  // namespace wmsg

// The data-type entry of a unit-type reference, or null when the library or
// type is unknown or has no interface function.
const DataTypeEntry* FindUnitEntry(uint32_t typeRef);

}  // namespace qy
