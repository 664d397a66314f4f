/* Refuses to attach, so the load must fail and detach it again. */
#define ENTRY_LOG "QY_REFUSING_DLL_ENTRY"
#define REFUSE_ATTACH
#include "entry_log.h"

int WINAPI Unreachable(void) { return 1; }
