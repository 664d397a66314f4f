// qizi: the composer of 砌字成图 from a command line. Reads the choices
// (arguments arrive as UTF-16 and are taken into GBK, the composer's texts),
// composes on the core with the window's GDI drawing, and writes text, HTML or ANSI colour in
// UTF-8 or GBK to standard output or a file.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "app/cli/cli_compose.h"
#include "core/choices.h"
#include "app/cli/encoding.h"
#include "core/writers.h"

namespace cli {
namespace {

enum ExitCode { kDone = 0, kFileFailed = 1, kBadLine = 2 };

// Pictures larger than this are refused before decoding.
constexpr size_t kMaxPictureBytes = 256u << 20;
// Console writes go in pieces that every console takes whole.
constexpr size_t kConsoleChunk = 8192;

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode) != 0;
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

bool WriteConsoleAll(HANDLE handle, const std::wstring& wide) {
    size_t done = 0;
    while (done < wide.size()) {
        size_t chunk = std::min(wide.size() - done, kConsoleChunk);
        // A surrogate pair stays in one piece.
        if (chunk < wide.size() - done && IS_HIGH_SURROGATE(wide[done + chunk - 1])) --chunk;
        DWORD written = 0;
        if (!WriteConsoleW(handle, wide.data() + done, static_cast<DWORD>(chunk), &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

// A console shows UTF-16 whatever its code page; anything else gets UTF-8.
bool WriteWide(DWORD which, const std::wstring& wide) {
    HANDLE handle = GetStdHandle(which);
    if (IsConsole(handle)) return WriteConsoleAll(handle, wide);
    return WriteAll(handle, Narrow(wide, CP_UTF8));
}
bool WriteStream(DWORD which, const std::string& text) { return WriteWide(which, Widen(text, kGbk)); }

std::string Encoded(const std::string& text, Encoding encoding) {
    return encoding == Encoding::kGbk ? text : Narrow(Widen(text, kGbk), CP_UTF8);
}

void Complain(const std::wstring& line) { WriteWide(STD_ERROR_HANDLE, L"qizi: " + line + L"\n"); }
void Complain(const std::string& line) { Complain(Widen(line, kGbk)); }

std::string SystemReason(DWORD error) {
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   error, MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason = text ? Narrow(text, kGbk) : "error " + std::to_string(error);
    if (text) LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.')) reason.pop_back();
    return reason;
}

// The command line in GBK, the composer's encoding. An argument (or an
// option's value) GBK cannot hold becomes a numbered mark, so a file name
// keeps its UTF-16 spelling and a text is refused by its option's name.
struct Arguments {
    std::vector<std::string> gbk;
    std::vector<std::wstring> unheld;  // what each mark stands for
};
constexpr char kMark = '\x01';
std::string Marked(size_t index) { return std::string(1, kMark) + std::to_string(index) + kMark; }

Arguments ReadArguments() {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    Arguments args;
    for (int i = 1; wide && i < count; ++i) {
        std::wstring arg = wide[i];
        // The value of --name=VALUE or -xVALUE is marked alone, so the option stays readable.
        size_t valueAt = 0;
        if (arg.size() > 2 && arg[0] == L'-' && arg[1] == L'-') {
            size_t equals = arg.find(L'=');
            valueAt = equals == std::wstring::npos ? 0 : equals + 1;
        } else if (arg.size() > 2 && arg[0] == L'-') {
            valueAt = 2;
        }
        std::wstring value = arg.substr(valueAt);
        BOOL lossy = FALSE;
        std::string narrow;
        int n = value.empty() ? 0
                              : WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, value.data(), static_cast<int>(value.size()),
                                                    nullptr, 0, nullptr, &lossy);
        if (n > 0) {
            narrow.resize(static_cast<size_t>(n));
            WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, value.data(), static_cast<int>(value.size()), &narrow[0], n,
                                nullptr, &lossy);
        }
        if (lossy || (!value.empty() && n <= 0) || narrow.find(kMark) != std::string::npos) {
            narrow = Marked(args.unheld.size());
            args.unheld.push_back(value);
        }
        args.gbk.push_back(Narrow(arg.substr(0, valueAt), kGbk) + narrow);
    }
    if (wide) LocalFree(wide);
    return args;
}

// A GBK text with each mark spelled out again.
std::wstring Unmarked(const Arguments& args, const std::string& gbk) {
    std::wstring out;
    size_t start = 0;
    for (size_t at; (at = gbk.find(kMark, start)) != std::string::npos;) {
        size_t end = gbk.find(kMark, at + 1);
        if (end == std::string::npos) break;
        out += Widen(gbk.substr(start, at - start), kGbk);
        size_t index = std::strtoul(gbk.c_str() + at + 1, nullptr, 10);
        if (index < args.unheld.size()) out += args.unheld[index];
        start = end + 1;
    }
    return out + Widen(gbk.substr(start), kGbk);
}

// The UTF-16 name behind a file option's value.
std::wstring FileName(const Arguments& args, const std::string& value) {
    for (size_t k = 0; k < args.unheld.size(); ++k)
        if (value == Marked(k)) return args.unheld[k];
    return Widen(value, kGbk);
}

// The composer's boxes hold GBK only: the option whose text has more, if any.
std::string BeyondGbk(const Choices& c) {
    const std::pair<const char*, const std::string*> texts[] = {
        {"the TEXT", &c.text}, {"--fill", &c.fill}, {"--blank", &c.blank}, {"--ramp", &c.ramp}, {"--font", &c.font}};
    for (const auto& [name, text] : texts)
        if (text->find(kMark) != std::string::npos) return std::string(name) + " has characters that GBK cannot hold";
    return std::string();
}

// A name made absolute against the caller's folder, before anything moves it.
std::wstring FullPath(const std::wstring& name) {
    DWORD n = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (n == 0) return name;
    std::wstring full(n, L'\0');
    DWORD got = GetFullPathNameW(name.c_str(), n, &full[0], nullptr);
    if (got == 0 || got >= n) return name;
    full.resize(got);
    return full;
}

// A device such as NUL or CON, which is written directly and never renamed onto.
bool IsDevice(const std::wstring& full) { return full.rfind(L"\\\\.\\", 0) == 0; }

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

bool ReadPicture(const std::wstring& name, std::string* bytes, std::string* reason) {
    if (name == L"-") {
        HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
        if (IsConsole(input)) {
            *reason = "is a console; pipe a picture in or name its file";
            return false;
        }
        return ReadAll(input, bytes, reason);
    }
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *reason = SystemReason(GetLastError());
        return false;
    }
    bool read = ReadAll(file, bytes, reason);
    CloseHandle(file);
    return read;
}

// The temporary file being written, for the Ctrl+C handler to remove.
CRITICAL_SECTION temporaryLock;
std::wstring temporaryName;

BOOL WINAPI OnInterrupt(DWORD) {
    EnterCriticalSection(&temporaryLock);
    if (!temporaryName.empty()) DeleteFileW(temporaryName.c_str());
    temporaryName.clear();
    LeaveCriticalSection(&temporaryLock);
    return FALSE;  // the default handler then ends the process
}

void SetTemporary(const std::wstring& name) {
    EnterCriticalSection(&temporaryLock);
    temporaryName = name;
    LeaveCriticalSection(&temporaryLock);
}

// Sixteen hex digits no other run is likely to pick.
std::wstring RandomSuffix() {
    static uint64_t state = 0;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    state ^= static_cast<uint64_t>(now.QuadPart) * 0x9E3779B97F4A7C15ull ^ GetCurrentProcessId() ^
             (reinterpret_cast<uintptr_t>(&now) << 20);
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    wchar_t text[17];
    swprintf(text, 17, L"%08lx%08lx", static_cast<unsigned long>(state >> 32), static_cast<unsigned long>(state));
    return text;
}

// Writes the bytes to a file of its own beside the target and renames it
// over the target, so that the target is whole or untouched.
bool WriteFileWhole(const std::wstring& target, const std::string& bytes, std::string* reason) {
    if (IsDevice(target)) {
        HANDLE device = CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        bool written = device != INVALID_HANDLE_VALUE && WriteAll(device, bytes);
        if (!written) *reason = SystemReason(GetLastError());
        if (device != INVALID_HANDLE_VALUE) CloseHandle(device);
        return written;
    }
    std::wstring temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = target + L".qizi-" + RandomSuffix();
        SetTemporary(temporary);
        file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS &&
            GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    if (file == INVALID_HANDLE_VALUE) {
        *reason = SystemReason(GetLastError());
        SetTemporary(L"");
        return false;
    }
    bool written = WriteAll(file, bytes) && FlushFileBuffers(file);
    DWORD error = written ? 0 : GetLastError();
    CloseHandle(file);
    if (written &&
        !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        written = false;
        error = GetLastError();
    }
    if (!written) {
        DeleteFileW(temporary.c_str());
        *reason = SystemReason(error);
    }
    SetTemporary(L"");
    return written;
}

int Run() {
    Arguments args = ReadArguments();
    ParsedLine line = ParseCommandLine(args.gbk);
    if (!line.error.empty()) {
        Complain(Unmarked(args, line.error));
        WriteStream(STD_ERROR_HANDLE, std::string(kUsage) + "\n");
        return kBadLine;
    }
    Choices c = line.choices;
    if (c.help) return WriteStream(STD_OUTPUT_HANDLE, HelpText()) ? kDone : kFileFailed;
    if (c.version) return WriteStream(STD_OUTPUT_HANDLE, std::string(kVersion) + "\n") ? kDone : kFileFailed;
    if (std::string beyond = BeyondGbk(c); !beyond.empty()) {
        Complain(beyond);
        return kBadLine;
    }

    // Names are taken against the caller's folder, as the user typed them.
    bool toStandardOutput = c.output.empty() || c.output == "-";
    std::wstring outputName = toStandardOutput ? L"" : FileName(args, c.output);
    std::wstring outputPath = toStandardOutput ? L"" : FullPath(outputName);
    std::wstring pictureName = c.picture.empty() ? L"" : FileName(args, c.picture);
    std::wstring shownName = pictureName == L"-" ? L"standard input" : pictureName;
    std::string pictureBytes, reason;
    if (!pictureName.empty() && !ReadPicture(pictureName == L"-" ? pictureName : FullPath(pictureName), &pictureBytes, &reason)) {
        Complain(shownName + L": " + Widen(reason, kGbk));
        return kFileFailed;
    }

    bool notAPicture = false;
    Composed composed = ComposeChoices(c, pictureName.empty() ? nullptr : &pictureBytes, &notAPicture);
    if (notAPicture) {
        Complain(shownName + L": not a picture that can be decoded");
        return kFileFailed;
    }
    if (!composed.error.empty()) {
        Complain(composed.error);
        return composed.exitCode;
    }
    pictureBytes = std::string();
    const core::Grid& grid = composed.grid;
    auto render = [&](Format format) {
        Choices written = c;
        written.format = format;
        return Write(grid, written);
    };

    if (toStandardOutput) {
        HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
        if (IsConsole(out)) {
            Format format = c.format;
            DWORD mode = 0;
            bool restore = false;
            if (format == Format::kAnsi) {
                // Escapes only where the console takes them; elsewhere the plain text.
                restore = GetConsoleMode(out, &mode) &&
                          SetConsoleMode(out, mode | ENABLE_PROCESSED_OUTPUT | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
                DWORD now = 0;
                if (!restore || !GetConsoleMode(out, &now) || !(now & ENABLE_VIRTUAL_TERMINAL_PROCESSING))
                    format = Format::kText;
            }
            bool written = WriteStream(STD_OUTPUT_HANDLE, render(format));
            if (restore) SetConsoleMode(out, mode);
            if (!written) Complain("standard output: " + SystemReason(GetLastError()));
            return written ? kDone : kFileFailed;
        }
        std::string gbk = render(c.format);
        bool written = WriteAll(out, Encoded(gbk, c.encoding));
        if (!written) Complain("standard output: " + SystemReason(GetLastError()));
        return written ? kDone : kFileFailed;
    }
    std::string gbk = render(c.format);
    if (!WriteFileWhole(outputPath, Encoded(gbk, c.encoding), &reason)) {
        Complain(outputName + L": " + Widen(reason, kGbk));
        return kFileFailed;
    }
    return kDone;
}

}  // namespace
}  // namespace cli

int main() {
    InitializeCriticalSection(&cli::temporaryLock);
    SetConsoleCtrlHandler(cli::OnInterrupt, TRUE);
    UINT code;
    try {
        code = static_cast<UINT>(cli::Run());
    } catch (const std::bad_alloc&) {
        cli::Complain(std::string("out of memory"));
        code = 1;
    }
    // The composition's fonts and surfaces are gone; the rest goes with the process.
    ExitProcess(code);
}
