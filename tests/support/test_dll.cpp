// Exports reached by ordinal and by name in the DLL binding tests.
extern "C" __declspec(dllexport) int __stdcall QyFive() { return 5; }
extern "C" __declspec(dllexport) int __stdcall QySeven() { return 7; }
