#include "runtime/errors.h"

#include <windows.h>

#include "runtime/runtime_app.h"

namespace qy {

namespace msg {
const char* const kTemplateSegment = "载入窗口模板数据段出错!";
const char* const kStartupWindow = "载入启动窗口失败";
const char* const kAllocationFailed = "分配 %d 字节内存失败!";
const char* const kNotNumeric = "欲转换数据类型不是数值";
const char* const kNoSuchUnit = "指定窗口或窗口组件不存在或尚未载入";
const char* const kDllExportMissing = "无法找到指定DLL库文件中的输出命令“%s”";
const char* const kDllExportMissingInDll = "无法找到指定DLL库文件“%s”中的输出命令“%s”";
}  // namespace msg

namespace {
const char* const kMessages[] = {
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};
}  // namespace

const char* RuntimeErrorMessage(int code) {
    if (code < 1 || code > static_cast<int>(sizeof kMessages / sizeof kMessages[0])) return nullptr;
    return kMessages[code - 1];
}

std::string RuntimeErrorText(const char* message, int code) {
    std::string text = "运行时出错!\r\n\r\n";
    if (code != 0) {
        text += "错误代码：";
        text += std::to_string(code);
        text += "\r\n\r\n";
    }
    if (message && *message) {
        text += "错误信息：";
        text += message;
        text += "\r\n";
    }
    return text;
}

void ShowRuntimeError(const char* message, int code) {
    RuntimeApp& app = Runtime();
    app.HoldEvents();
    std::string text = RuntimeErrorText(message, code);
    MessageBoxA(nullptr, text.c_str(), "错误", MB_OK | MB_ICONERROR);
    app.ForgetAtExit();
    ExitProgram(-1);
}

extern "C" void __cdecl ReportError(int code) { ShowRuntimeError(RuntimeErrorMessage(code), code); }

}  // namespace qy
