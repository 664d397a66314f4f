// Conversions between the composer's GBK texts, UTF-8 and UTF-16.
#pragma once
#include <string>

namespace cli {

std::wstring Widen(const std::string& text, unsigned codePage);
std::string Narrow(const std::wstring& text, unsigned codePage);
std::string GbkToUtf8(const std::string& gbk);

constexpr unsigned kGbk = 936;

}  // namespace cli
