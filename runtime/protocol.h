// The numbered protocols between compiled code, the support libraries and
// the runtime: RuntimeNotify codes, LibraryNotify messages and OtherHelp
// function codes. Plain numbers on the wire, so this header needs nothing
// but <cstdint>.
#pragma once
#include <cstdint>

namespace qy {

// Codes of RuntimeNotify(code, argument 1, argument 2).
enum NotifyCode : int32_t {
    kNotifyProgramIcons = 1000,
    kNotifyWindowCollection = 1001,
    kNotifyDataType = 1002,
    kNotifyConvertPicture = 1003,
    kNotifyWindowDestroyed = 2000,
    kNotifyValueToInt = 2001,
    kNotifyProgramDirectory = 2003,
    kNotifyProgramFileName = 2004,
    kNotifyLoadWindow = 2005,
    kNotifyLiveObject = 2006,
    kNotifyLiveObjectOrError = 2007,
    kNotifyRaiseEvent = 2008,
    kNotifyHoldEvents = 2009,
    kNotifyReleaseEvents = 2010,
    kNotifyPlaySound = 2015,
    kNotifyCount = 2018,
    kNotifyAddSmallRecord = 2019,
    kNotifyHasSmallRecord = 2021,
    kNotifyReleaseArray = 2023,
    kNotifyAllocate = 2024,
    kNotifyFree = 2025,
    kNotifyReallocate = 2026,
    kNotifyErrorText = 2027,
    kNotifyExitProgram = 2028,
    kNotifyRunMode = 2030,
    kNotifyRaiseLongEvent = 2031,
    kNotifyReleaseComValue = 2035,
};

// Messages of a support library's LibraryNotify(message, argument 1, argument 2);
// the unit-help messages are the core library's, for unit code that asks it.
enum LibraryMessage : int32_t {
    kLibraryStartUp = 1,
    kLibraryUnitHelp = 2,
    kLibraryShutDown = 6,
    kLibraryUnitHelpFirst = 10,
    kLibraryUnitHelpLast = 13,
};

// Function codes of OtherHelp, in the order of its jump table.
enum OtherHelpCode : int32_t {
    kHelpFindFile = 0,
    kHelpEndFindFile = 1,
    kHelpMakeArrayPrivate = 2,
    kHelpRegisterAtExit = 3,
    kHelpReadObjectProperty = 4,
    kHelpWriteObjectProperty = 5,
    kHelpInitRuntime = 6,
    kOtherHelpCount
};

}  // namespace qy
