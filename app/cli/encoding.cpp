#include "app/cli/encoding.h"

#include <windows.h>

namespace cli {

std::wstring Widen(const std::string& text, unsigned codePage) {
    if (text.empty()) return std::wstring();
    int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

std::string Narrow(const std::wstring& text, unsigned codePage) {
    if (text.empty()) return std::string();
    int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &narrow[0], n, nullptr, nullptr);
    return narrow;
}

std::string GbkToUtf8(const std::string& gbk) { return Narrow(Widen(gbk, kGbk), CP_UTF8); }

}  // namespace cli
