// Process entry of the program: hands over to the framework's main routine.
#include <windows.h>

#include "runtime/framework.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    return qy::FrameworkApp::Main(instance, commandLine, show);
}
