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
#include "app/cli/output.h"
#include "core/shapes.h"
#include "core/writers.h"

namespace cli {
namespace {

enum ExitCode { kDone = 0, kFileFailed = 1, kBadLine = 2 };

// Pictures larger than this are refused before decoding.
constexpr size_t kMaxPictureBytes = 256u << 20;

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
        {"the TEXT", &c.text}, {"--fill", &c.fill}, {"--blank", &c.blank}, {"--ramp", &c.ramp}, {"--font", &c.font},
        {"--symbols", &c.symbols}};
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
    std::vector<std::string> missing;
    Composed composed = ComposeChoices(c, pictureName.empty() ? nullptr : &pictureBytes, &notAPicture, &missing);
    if (c.verbose && !missing.empty()) Complain(MissingNotice(missing));
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
            // Escapes only where the console takes them; elsewhere the plain text.
            bool written = WriteConsoleDocument(out, c.format == Format::kAnsi, [&](bool escapes) {
                return Widen(render(escapes || c.format != Format::kAnsi ? c.format : Format::kText), kGbk);
            });
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
    cli::StartOutput();
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
