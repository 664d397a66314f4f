/* The entry point of the loader's test DLLs. Each call appends the reason
   digit to an environment variable of the process ('!' when an instance
   handle was passed), so a test can read back the calls of an image that is
   gone. ENTRY_LOG names the variable; REFUSE_ATTACH makes attaching fail. */
#include <windows.h>

BOOL WINAPI LoaderDllEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    char log[64];
    DWORD length = GetEnvironmentVariableA(ENTRY_LOG, log, sizeof log - 2);
    (void)reserved;
    if (length > sizeof log - 2) length = 0;
    log[length] = instance ? '!' : (char)('0' + reason);
    log[length + 1] = 0;
    SetEnvironmentVariableA(ENTRY_LOG, log);
#ifdef REFUSE_ATTACH
    return reason != DLL_PROCESS_ATTACH;
#else
    return TRUE;
#endif
}
