// Process entry of the program: hands over to the framework's main routine.
#include <windows.h>

#include "runtime/framework.h"
#include "runtime/window_system.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    qy::InstallWindowSystem(qy::StandardWindowSystem());
    return qy::FrameworkApp::Main(instance, commandLine, show);
}
