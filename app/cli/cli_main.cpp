// qizi: the composer of 砌字成图 from a command line. Reads the choices
// (arguments arrive as UTF-16 and are taken into GBK, the composer's texts),
// composes on the hidden main window, and writes text, HTML or ANSI colour in
// UTF-8 or GBK to standard output or a file.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/cli/cli_compose.h"
#include "core/choices.h"
#include "app/cli/encoding.h"

namespace cli {
namespace {

enum ExitCode { kDone = 0, kFileFailed = 1, kBadLine = 2 };

// Pictures larger than this are refused before decoding.
constexpr size_t kMaxPictureBytes = 256u << 20;

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

bool WriteAll(HANDLE handle, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20)), written = 0;
        if (!WriteFile(handle, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

// A console shows UTF-16 whatever its code page; anything else gets UTF-8.
bool WriteStream(DWORD which, const std::string& gbk) {
    HANDLE handle = GetStdHandle(which);
    if (IsConsole(handle)) {
        std::wstring wide = Widen(gbk, kGbk);
        DWORD written = 0;
        return wide.empty() || WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    }
    return WriteAll(handle, GbkToUtf8(gbk));
}

void Complain(const std::string& line) { WriteStream(STD_ERROR_HANDLE, "qizi: " + line + "\n"); }

std::string SystemReason(DWORD error) {
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   error, MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason = text ? Narrow(text, kGbk) : "error " + std::to_string(error);
    if (text) LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.')) reason.pop_back();
    return reason;
}

std::vector<std::string> Arguments() {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i) args.push_back(Narrow(wide[i], kGbk));
    if (wide) LocalFree(wide);
    return args;
}

// Reads a handle to its end; false with the reason when it fails or runs too long.
bool ReadAll(HANDLE handle, std::string* bytes, std::string* reason) {
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(handle, buffer, sizeof buffer, &got, nullptr)) {
            DWORD error = GetLastError();
            if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) return true;
            *reason = SystemReason(error);
            return false;
        }
        if (got == 0) return true;
        if (bytes->size() + got > kMaxPictureBytes) {
            *reason = "larger than 256 MiB";
            return false;
        }
        bytes->append(buffer, got);
    }
}

bool ReadPicture(const std::string& name, std::string* bytes, std::string* reason) {
    if (name == "-") return ReadAll(GetStdHandle(STD_INPUT_HANDLE), bytes, reason);
    HANDLE file = CreateFileW(Widen(name, kGbk).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *reason = SystemReason(GetLastError());
        return false;
    }
    bool read = ReadAll(file, bytes, reason);
    CloseHandle(file);
    return read;
}

// Writes the bytes to a temporary file beside the target and renames it, so
// that the target is whole or untouched.
bool WriteFileWhole(const std::string& name, const std::string& bytes, std::string* reason) {
    std::wstring target = Widen(name, kGbk);
    std::wstring temporary = target + L".qizi-" + std::to_wstring(GetCurrentProcessId());
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *reason = SystemReason(GetLastError());
        return false;
    }
    bool written = WriteAll(file, bytes);
    DWORD error = written ? 0 : GetLastError();
    CloseHandle(file);
    if (written && !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        written = false;
        error = GetLastError();
    }
    if (!written) {
        DeleteFileW(temporary.c_str());
        *reason = SystemReason(error);
    }
    return written;
}

std::string Hex(const Rgb& c) {
    char text[8];
    auto channel = [](double v) { return static_cast<int>(v < 0 ? 0 : v > 255 ? 255 : v + 0.5); };
    std::snprintf(text, sizeof text, "#%02x%02x%02x", channel(c.r), channel(c.g), channel(c.b));
    return text;
}

std::string HtmlEscaped(const std::string& cell) {
    std::string out;
    for (char ch : cell) {
        switch (ch) {
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '&': out += "&amp;"; break;
            default: out += ch;
        }
    }
    return out;
}

// Calls `run` for each row's runs of cells of one colour, and `end` after a row.
template <typename Run, typename End>
void ForEachRun(const Document& d, Run run, End end) {
    for (int y = 0; y < d.rows; ++y) {
        size_t row = static_cast<size_t>(y) * d.columns;
        for (int x = 0; x < d.columns;) {
            std::string colour = Hex(d.colours[row + x]), text;
            int first = x;
            while (x < d.columns && Hex(d.colours[row + x]) == colour) text += d.cells[row + x++];
            run(d.colours[row + first], text);
        }
        end();
    }
}

// One page in GBK that names its own encoding; nothing outside it is needed.
std::string Html(const Document& d, Encoding encoding) {
    std::string page = std::string("<!DOCTYPE html>\n<html><head><meta charset=\"") +
                       (encoding == Encoding::kGbk ? "gbk" : "utf-8") +
                       "\"><title>qizi</title>\n<style>body{background:#fff}pre{font-family:\"SimSun\",\"NSimSun\","
                       "monospace;line-height:1.0}</style></head>\n<body><pre>\n";
    ForEachRun(
        d, [&](const Rgb& c, const std::string& text) { page += "<span style=\"color:" + Hex(c) + "\">" + HtmlEscaped(text) + "</span>"; },
        [&] { page += "\n"; });
    return page + "</pre></body></html>\n";
}

std::string Ansi(const Document& d) {
    std::string text;
    ForEachRun(
        d,
        [&](const Rgb& c, const std::string& run) {
            auto channel = [](double v) { return std::to_string(static_cast<int>(v < 0 ? 0 : v > 255 ? 255 : v + 0.5)); };
            text += "\x1b[38;2;" + channel(c.r) + ";" + channel(c.g) + ";" + channel(c.b) + "m" + run;
        },
        [&] { text += "\x1b[0m" + d.rowEnd; });
    return text;
}

int Run() {
    ParsedLine line = ParseCommandLine(Arguments());
    if (!line.error.empty()) {
        Complain(line.error);
        WriteStream(STD_ERROR_HANDLE, std::string(kUsage) + "\n");
        return kBadLine;
    }
    Choices c = line.choices;
    if (c.font.empty()) c.font = "宋体";
    if (c.help) return WriteStream(STD_OUTPUT_HANDLE, HelpText()) ? kDone : kFileFailed;
    if (c.version) return WriteStream(STD_OUTPUT_HANDLE, std::string(kVersion) + "\n") ? kDone : kFileFailed;

    std::string pictureBytes, reason;
    std::string shownName = c.picture == "-" ? "standard input" : c.picture;
    if (!c.picture.empty() && !ReadPicture(c.picture, &pictureBytes, &reason)) {
        Complain(shownName + ": " + reason);
        return kFileFailed;
    }

    StartComposer();
    int32_t picture = 0;
    if (!c.picture.empty()) {
        picture = LoadPictureBytes(pictureBytes);
        if (picture == 0) {
            Complain(shownName + ": not a picture that can be decoded");
            return kFileFailed;
        }
    }
    Document d = Compose(c, picture);
    std::string gbk = c.format == Format::kHtml ? Html(d, c.encoding) : c.format == Format::kAnsi ? Ansi(d) : d.Text();

    if (c.output.empty()) {
        HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
        if (IsConsole(out)) {
            DWORD mode = 0;
            GetConsoleMode(out, &mode);
            if (c.format == Format::kAnsi) SetConsoleMode(out, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
            return WriteStream(STD_OUTPUT_HANDLE, gbk) ? kDone : kFileFailed;
        }
        bool written = WriteAll(out, c.encoding == Encoding::kGbk ? gbk : GbkToUtf8(gbk));
        if (!written) Complain("standard output: " + SystemReason(GetLastError()));
        return written ? kDone : kFileFailed;
    }
    if (!WriteFileWhole(c.output, c.encoding == Encoding::kGbk ? gbk : GbkToUtf8(gbk), &reason)) {
        Complain(c.output + ": " + reason);
        return kFileFailed;
    }
    return kDone;
}

}  // namespace
}  // namespace cli

int main() {
    // The composition leaves windows and pictures to the process's end.
    ExitProcess(static_cast<UINT>(cli::Run()));
}
