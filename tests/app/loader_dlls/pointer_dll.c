/* Prefers the base where the program itself lives, so the loader must
   relocate it; reads its data through an absolute pointer and imports
   qytestdll.dll's QyFive by ordinal. */
#define ENTRY_LOG "QY_POINTER_DLL_ENTRY"
#include "entry_log.h"

__declspec(dllimport) int WINAPI QyFive(void);

static const int greeting = 0x51A7E;
/* Volatile, so the value is read through the pointer the relocation moved. */
static const int* volatile greetingAddress = &greeting;

int WINAPI GreetingValue(void) { return *greetingAddress; }

int WINAPI ImportedFive(void) { return QyFive(); }
