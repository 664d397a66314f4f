// qizi.exe as a child process: the window's export bytes for the same
// choices, its errors and exit codes, standard input, the ramps, dithering,
// and the HTML, ANSI and UTF-8 outputs.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <regex>

#include "app/application.h"
#include "app/cli/cli_compose.h"
#include "app/composer.h"
#include "app/cli/encoding.h"
#include "app/cli/output.h"
#include "tests/app/main_window_fixture.h"
#include "tests/media/picture/test_pictures.h"

namespace apptest {
namespace {

struct Outcome {
    DWORD exitCode = 0xFFFFFFFF;
    std::string out, err;
};

// Drains a pipe on a thread of its own, so a full pipe cannot stall the child.
HANDLE Drain(HANDLE pipe, std::string* into) {
    struct Job { HANDLE pipe; std::string* into; };
    LPTHREAD_START_ROUTINE body = [](void* p) WINAPI -> DWORD {
        Job* job = static_cast<Job*>(p);
        char buffer[4096];
        DWORD got;
        while (ReadFile(job->pipe, buffer, sizeof buffer, &got, nullptr) && got) job->into->append(buffer, got);
        delete job;
        return 0;
    };
    return CreateThread(nullptr, 0, body, new Job{pipe, into}, 0, nullptr);
}

// Runs qizi.exe with arguments (GBK, or UTF-16 where given) and the bytes on
// its standard input (or the handle `stdIn`), in the folder `folder` when one is named.
Outcome QiziIn(const std::wstring& folder, const std::vector<std::wstring>& args, const std::string& input = "",
               HANDLE stdIn = nullptr) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(self).substr(0, std::wstring(self).find_last_of(L'\\') + 1) + L"qizi.exe\"";
    for (const std::wstring& a : args) line += L" \"" + a + L"\"";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE inRead, inWrite, outRead, outWrite, errRead, errWrite;
    CreatePipe(&inRead, &inWrite, &inherit, 0);
    CreatePipe(&outRead, &outWrite, &inherit, 0);
    CreatePipe(&errRead, &errWrite, &inherit, 0);
    for (HANDLE ours : {inWrite, outRead, errRead}) SetHandleInformation(ours, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = stdIn ? stdIn : inRead, startup.hStdOutput = outWrite, startup.hStdError = errWrite;
    PROCESS_INFORMATION process{};
    Outcome run;
    auto start = [&] {
        return CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                              folder.empty() ? nullptr : folder.c_str(), &startup, &process) != FALSE;
    };
    // Tried twice: where 32-bit code runs emulated, a start can die before the program runs (tools/env.sh).
    if (!start() && !start()) {
        ADD_FAILURE() << "qizi.exe did not start";
        return run;
    }
    for (HANDLE theirs : {inRead, outWrite, errWrite}) CloseHandle(theirs);
    HANDLE readers[] = {Drain(outRead, &run.out), Drain(errRead, &run.err)};
    DWORD written;
    if (!input.empty()) WriteFile(inWrite, input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
    CloseHandle(inWrite);
    if (WaitForSingleObject(process.hProcess, 120000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "qizi.exe hangs";
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 10000);
    }
    WaitForMultipleObjects(2, readers, TRUE, 10000);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    for (HANDLE h : {readers[0], readers[1], outRead, errRead, process.hProcess, process.hThread}) CloseHandle(h);
    return run;
}
Outcome Qizi(const std::vector<std::string>& args, const std::string& input = "") {
    std::vector<std::wstring> wide;
    for (const std::string& a : args) wide.push_back(cli::Widen(a, cli::kGbk));
    return QiziIn(L"", wide, input);
}

std::string Bytes(const pictest::Bytes& b) { return std::string(b.begin(), b.end()); }

// The picture's number in the window's registry, loaded from its bytes.
int32_t LoadPictureBytes(const std::string& bytes) {
    std::vector<uint8_t> block(8 + bytes.size());
    int32_t header[2] = {1, static_cast<int32_t>(bytes.size())};
    std::memcpy(block.data(), header, 8);
    std::memcpy(block.data() + 8, bytes.data(), bytes.size());
    return Command(CoreCommand::LoadPicture, {ByteSetValue(block.data())}).Int();
}

// A picture file in the temporary folder; its GBK path.
std::string PictureFile(const char* name, const pictest::Bytes& bytes) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + name;
    std::ofstream(path, std::ios::binary) << Bytes(bytes);
    return path;
}

struct Choice {
    bool picture;
    int source, threshold;
    const char *text, *fill, *blank;
    bool invert, pad, top;
};

TEST_F(MainWindowTest, QiziWritesTheWindowsExportBytesForTheSameChoices) {
    pictest::Bytes bmp = pictest::EncodeBmp(pictest::Pattern(60, 40, 7), 24, false);
    std::string file = PictureFile("qizi_pattern.bmp", bmp);
    const Choice choices[] = {
        {false, 0, 2, "我爱你", "顶", "", false, true, false},  {false, 1, 3, "我爱你", "", "", true, true, true},
        {false, 2, 2, "Qi", "", "", true, false, true},       {true, 0, 3, "我", "#", ".", true, false, true},
        {true, 1, 2, "我爱你", "", "", false, true, true},     {true, 2, 4, "Zi", "", "", true, true, false},
    };
    for (const Choice& c : choices) {
        SCOPED_TRACE(std::string(c.picture ? "picture" : "text") + " source " + std::to_string(c.source));
        OnDefaultsClicked(nullptr);
        if (c.picture) {
            SwitchToPictureMode();
            ReplaceCurrentPicture(LoadPictureBytes(Bytes(bmp)));
            SetPosition(W::图片宽, 30);
        }
        SetContent(kShapeTextBox, c.text), SetContent(kFillTextBox, c.fill), SetContent(kBlankTextBox, c.blank);
        SetSelection(W::别字本字, c.source), SetSelection(W::分界色组合框, c.threshold);
        SetTicked(W::反向, c.invert), SetTicked(W::补齐, c.pad), SetTicked(W::接顶, c.top);
        GenerateTextArt();
        std::string expected = Content(W::编辑框1);
        ASSERT_GT(expected.size(), 100u);

        static const char* const sources[] = {"fill", "double", "single"};
        std::vector<std::string> args = {"--encoding", "gbk", "--source", sources[c.source], "--threshold",
                                         std::to_string(c.threshold), "--fill", c.fill, "--blank", c.blank};
        if (c.invert) args.push_back("--invert");
        if (!c.pad) args.push_back("--no-pad");
        if (c.top) args.push_back("--top");
        // The window's locked grid of the 60 x 40 picture at width 30.
        if (c.picture) args.insert(args.end(), {"--picture", file, "--width", "30", "--height", "20"});
        args.push_back(c.text);
        Outcome run = Qizi(args);
        EXPECT_EQ(run.exitCode, 0u) << run.err;
        EXPECT_EQ(run.out, expected);
    }
}

TEST_F(MainWindowTest, QiziReportsBadLinesAndFilesWithTheirExitCodes) {
    struct Case {
        std::vector<std::string> args;
        DWORD code;
        const char* says;
    } cases[] = {
        {{"--colour", "x"}, 2, "unknown option --colour"},
        {{"--width", "0", "x"}, 2, "--width must be"},
        {{"--threshold", "灰"}, 2, "--threshold must be"},
        {{"--format"}, 2, "needs a value"},
        {{}, 2, "a TEXT or --picture FILE is needed"},
        {{"--picture", "no such picture.png"}, 1, "no such picture.png: "},
        {{"--picture", PictureFile("qizi_text.png", pictest::Bytes{'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'})}, 1,
         "not a picture"},
        {{"--output", "no such folder\\out.txt", "x"}, 1, "no such folder\\out.txt: "},
    };
    for (const Case& c : cases) {
        Outcome run = Qizi(c.args);
        EXPECT_EQ(run.exitCode, c.code) << c.says;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "") << c.says;
        if (c.code == 2) { EXPECT_NE(run.err.find("Usage: qizi"), std::string::npos) << run.err; }
    }
    Outcome help = Qizi({"--help"});
    EXPECT_EQ(help.exitCode, 0u);
    for (const char* option : {"--picture", "--dither", "--encoding", "--output", "(44)"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
}

TEST_F(MainWindowTest, QiziReadsAPictureFromStandardInputAndWritesUtf8) {
    pictest::Bytes png = pictest::EncodePng(pictest::Pattern(50, 50, 3));
    std::string file = PictureFile("qizi_pattern.png", png);
    Outcome fromFile = Qizi({"--picture", file, "--encoding", "gbk"});
    Outcome fromInput = Qizi({"--picture", "-", "--encoding", "gbk"}, Bytes(png));
    EXPECT_EQ(fromInput.exitCode, 0u) << fromInput.err;
    EXPECT_GT(fromFile.out.size(), 1000u);
    EXPECT_EQ(fromInput.out, fromFile.out);
    Outcome utf8 = Qizi({"--picture", "-"}, Bytes(png));
    EXPECT_EQ(utf8.out, cli::GbkToUtf8(fromFile.out));
    EXPECT_NE(utf8.out, fromFile.out);

    // A file output replaces the old file whole and leaves nothing beside it.
    std::string target = PictureFile("qizi_output.txt", pictest::Bytes{'o', 'l', 'd'});
    EXPECT_EQ(Qizi({"--picture", file, "--output", target}).exitCode, 0u);
    std::ifstream written(target, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}), utf8.out);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((target + ".qizi-*").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a temporary file is left: " << found.cFileName;
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

// Ink coverage of a character drawn by GDI itself in the panel's face.
double Coverage(const std::string& character) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(100, 100, 1, 1, nullptr);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HFONT font = CreateFontA(-48, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, "宋体");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SIZE size;
    GetTextExtentPoint32A(dc, character.c_str(), static_cast<int>(character.size()), &size);
    PatBlt(dc, 0, 0, 100, 100, WHITENESS);
    TextOutA(dc, 0, 0, character.c_str(), static_cast<int>(character.size()));
    int ink = 0;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) ink += GetPixel(dc, x, y) == 0;
    SelectObject(dc, oldFont), SelectObject(dc, oldBitmap);
    DeleteObject(font), DeleteObject(bitmap), DeleteDC(dc);
    return size.cx > 0 && size.cy > 0 ? static_cast<double>(ink) / (size.cx * size.cy) : 0;
}

TEST_F(MainWindowTest, RampsFollowInkCoverageAndDitheringMixesTwoCharacters) {
    for (bool wide : {false, true}) {
        cli::Ramp ramp = cli::FontRamp(cli::Choices{}, wide);
        ASSERT_GE(ramp.characters.size(), wide ? 8u : 20u);
        // Rank correlation with coverage measured here by GDI: the two
        // renderings differ in detail, not in order.
        std::vector<double> coverage;
        for (const std::string& character : ramp.characters) coverage.push_back(Coverage(character));
        double n = static_cast<double>(coverage.size()), squares = 0;
        for (size_t k = 0; k < coverage.size(); ++k) {
            double rank = static_cast<double>(std::count_if(coverage.begin(), coverage.end(),
                                                            [&](double c) { return c < coverage[k]; }));
            squares += (rank - k) * (rank - k);
            if (k > 0) { EXPECT_LT(ramp.levels[k], ramp.levels[k - 1]); }
        }
        EXPECT_GT(1 - 6 * squares / (n * (n * n - 1)), 0.95) << "Spearman's rank correlation";
        EXPECT_LT(Coverage(ramp.characters.front()), 0.02);
        EXPECT_GT(Coverage(ramp.characters.back()), 0.2);
    }

    std::string grey = PictureFile("qizi_grey.bmp", pictest::EncodeBmp(pictest::Halves(64, 64, {128, 128, 128, 255}, {128, 128, 128, 255}), 24, false));
    for (bool dither : {false, true}) {
        std::vector<std::string> args = {"--picture", grey, "--source", "ramp", "--ramp", ".#", "--width", "40", "--height", "40"};
        if (dither) args.push_back("--dither");
        std::string out = Qizi(args).out;
        size_t light = std::count(out.begin(), out.end(), '.'), dark = std::count(out.begin(), out.end(), '#');
        ASSERT_EQ(light + dark, 1600u) << out;
        // 40 rows of 40 cells, no margin.
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 40);
        if (dither) {
            EXPECT_NEAR(static_cast<double>(dark) / 1600, 0.5, 0.05);
        } else {
            EXPECT_TRUE(light == 0 || dark == 0);
        }
    }
}

// The shape source matches each cell's picture: a black cell, a cell black on
// its left half, a white cell.
TEST_F(MainWindowTest, TheShapeSourcePicksTheBlockThatLooksLikeEachCell) {
    std::string file = PictureFile("qizi_edge.bmp", pictest::EncodeBmp(pictest::Halves(48, 16, {0, 0, 0, 255},
                                                                                        {255, 255, 255, 255}), 24, false));
    Outcome out = Qizi({"--picture", file, "--source", "shape", "--width", "3", "--height", "1"});
    ASSERT_EQ(out.exitCode, 0u) << out.err;
    EXPECT_EQ(out.out, "\xe2\x96\x88\xe2\x96\x8c \r\n") << out.out;
}

TEST_F(MainWindowTest, HtmlAndAnsiColourTheCellsOfATwoColourPicture) {
    pictest::Image halves = pictest::Halves(40, 20, {255, 0, 0, 255}, {0, 0, 255, 255});
    std::string file = PictureFile("qizi_halves.bmp", pictest::EncodeBmp(halves, 24, false));
    std::vector<std::string> args = {"--picture", file, "--source", "ramp", "--width", "20", "--height", "10", "--format"};

    args.push_back("html");
    std::string page = Qizi(args).out;
    EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(page.find("</pre></body></html>"), std::string::npos);
    EXPECT_EQ(page.find("src="), std::string::npos);
    std::regex span("<span style=\"color:(#[0-9a-f]{6})\">((?:<i>[^<]*</i>)*)</span>");
    int rowsOfRed = 0;
    size_t spans = 0;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), span); it != std::sregex_iterator(); ++it, ++spans) {
        std::string colour = (*it)[1];
        EXPECT_TRUE(colour == "#ff0000" || colour == "#0000ff") << colour;
        rowsOfRed += colour == "#ff0000";
        std::string cells = (*it)[2];
        EXPECT_EQ(std::count(cells.begin(), cells.end(), '<'), 20) << "ten cells of each colour on a row";
    }
    EXPECT_EQ(spans, 20u);
    EXPECT_EQ(rowsOfRed, 10);
    // Nothing but spans and line ends inside the <pre>.
    std::string body = page.substr(page.find("<pre>") + 5, page.find("</pre>") - page.find("<pre>") - 5);
    EXPECT_EQ(std::regex_replace(body, span, ""), std::string(11, '\n'));

    args.back() = "ansi";
    std::string ansi = Qizi(args).out;
    std::string line = "\x1b\\[38;2;255;0;0m.{10}\x1b\\[38;2;0;0;255m.{10}\x1b\\[0m\r\n";
    std::string all;
    for (int i = 0; i < 10; ++i) all += line;
    EXPECT_TRUE(std::regex_match(ansi, std::regex(all))) << ansi;
}

// Where files go and what names survive: relative names against the
// caller's folder, names outside GBK, standard output and a device.
TEST_F(MainWindowTest, QiziWritesRelativeAndUnicodeNamesInTheCallersFolder) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"qizi_caller";
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW((folder + L"\\sub").c_str(), nullptr);
    std::string expected = Qizi({"Qi"}).out;
    ASSERT_GT(expected.size(), 100u);
    for (const std::wstring name : {L"rel.txt", L"sub\\a.txt", L"fa\u00e7ade\ud55c.txt"}) {
        std::wstring path = folder + L"\\" + name;
        DeleteFileW(path.c_str());
        Outcome run = QiziIn(folder, {L"-o", name, L"Qi"});
        EXPECT_EQ(run.exitCode, 0u) << run.err;
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << cli::Narrow(name, CP_UTF8) << " is not in the caller's folder";
        std::string bytes(expected.size() + 16, '\0');
        DWORD got = 0;
        ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr);
        CloseHandle(file);
        EXPECT_EQ(bytes.substr(0, got), expected);
    }
    Outcome dash = Qizi({"-o", "-", "Qi"});
    EXPECT_EQ(dash.out, expected);
    Outcome device = Qizi({"-o", "NUL", "Qi"});
    EXPECT_EQ(device.exitCode, 0u) << device.err;
    EXPECT_EQ(device.out, "");

    // A console on standard input has no picture to give: a message, not a wait.
    FreeConsole();
    bool allocated = AllocConsole();
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE console = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                 OPEN_EXISTING, 0, nullptr);
    // Wine without a console backend has none to give; the check then waits for one that has.
    if (console == INVALID_HANDLE_VALUE) std::printf("no console here: standard input as a console is not checked\n");
    if (console != INVALID_HANDLE_VALUE) {
        Outcome fromConsole = QiziIn(L"", {L"--picture", L"-"}, "", console);
        EXPECT_EQ(fromConsole.exitCode, 1u);
        EXPECT_NE(fromConsole.err.find("standard input: is a console"), std::string::npos) << fromConsole.err;
        CloseHandle(console);
    }
    if (allocated) FreeConsole();

    // A text GBK cannot hold is refused by its option's name, not turned into "?" or a stand-in.
    using Case = std::pair<std::string, std::vector<std::wstring>>;
    for (const Case& unheldCase : {Case{"--fill", {L"--source", L"fill", L"Qi"}},
                                   Case{"--symbols", {L"--source", L"shape", L"--picture", L"x.png"}}}) {
        const auto& [option, more] = unheldCase;
        std::vector<std::wstring> args{std::wstring(option.begin(), option.end()), L"\u00e7\ud55c"};
        args.insert(args.end(), more.begin(), more.end());
        Outcome unheld = QiziIn(L"", args);
        EXPECT_EQ(unheld.exitCode, 2u);
        EXPECT_NE(unheld.err.find(option + " has characters that GBK cannot hold"), std::string::npos) << unheld.err;
        EXPECT_EQ(unheld.out, "");
    }
}

// Limits are refused with a message naming them, before any memory runs out
// or a grid is read past its end.
TEST_F(MainWindowTest, QiziRefusesGridsAndTextsOverItsLimits) {
    const struct {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{"--size", "72", "--source", "ramp", "国国国国国国国国国国国国"}, "the limit is 1000 x 1000"},
        {{"--size", "72", "--source", "fill", "--fill", std::string(20000, 'x'), "国国国国国国国国"}, "64 MiB"},
        {{"--source", "fill", "--fill", std::string(20001, 'x'), "Qi"}, "the limit is 20000 bytes"},
    };
    for (const auto& c : cases) {
        Outcome run = Qizi(c.args);
        EXPECT_EQ(run.exitCode, 2u) << c.says;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

// A console that takes at most 3000 characters a call and refuses a call of
// more than 32 KiB, as older consoles do.
BOOL WINAPI ScantConsole(HANDLE console, const void* text, DWORD count, DWORD* written, void*) {
    if (count > 32768) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    return WriteConsoleW(console, text, std::min<DWORD>(count, 3000), written, nullptr);
}

std::wstring ShownRow(HANDLE screen, SHORT row, DWORD width) {
    std::wstring text(width, L' ');
    DWORD got = 0;
    ReadConsoleOutputCharacterW(screen, &text[0], width, COORD{0, row}, &got);
    text.resize(got);
    return text.substr(0, text.find_last_not_of(L' ') + 1);
}

// A document of many pieces arrives whole on a console that takes less than
// it is given, and colour leaves the console's mode as it found it.
TEST(QiziOutput, AConsoleShowsTheWholeDocumentAndKeepsItsMode) {
    // Wine gives a program started without a terminal a console it cannot use; a new one works.
    FreeConsole();
    AllocConsole();
    HANDLE screen = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              CONSOLE_TEXTMODE_BUFFER, nullptr);
    ASSERT_NE(screen, INVALID_HANDLE_VALUE) << "no console here";
    const SHORT kRows = 700;
    ASSERT_TRUE(SetConsoleScreenBufferSize(screen, COORD{120, kRows + 2}));
    std::wstring document;
    for (int row = 0; row < kRows; ++row) {
        std::wstring line = std::to_wstring(row) + L":";
        while (line.size() < 100) line += static_cast<wchar_t>(L'a' + (row + line.size()) % 26);
        document += line + L"\n";
    }
    ASSERT_GT(document.size(), 65536u);
    EXPECT_TRUE(cli::WriteConsoleAll(screen, document, ScantConsole));
    for (SHORT row = 0; row < kRows; ++row) {
        std::wstring line = document.substr(row * 101u, 100);
        if (ShownRow(screen, row, 120) != line) {
            ADD_FAILURE() << "row " << row << " shows " << cli::Narrow(ShownRow(screen, row, 120), CP_UTF8);
            break;
        }
    }

    DWORD before = 0, after = 0;
    ASSERT_TRUE(GetConsoleMode(screen, &before));
    bool escapes = false;
    EXPECT_TRUE(cli::WriteConsoleDocument(screen, true, [&](bool taken) {
        escapes = taken;
        return std::wstring(taken ? L"\x1b[31mred\x1b[0m\n" : L"red\n");
    }));
    GetConsoleMode(screen, &after);
    EXPECT_EQ(after, before);
    // Wine's console takes the escape mode but shows the escapes as text, so only the text is checked.
    std::printf("this console %s colour escapes\n", escapes ? "takes" : "has no");
    EXPECT_NE(ShownRow(screen, kRows, 120).find(L"red"), std::wstring::npos);
    CloseHandle(screen);
    FreeConsole();
}

std::wstring Clashing() {
    static int calls = 0;
    return calls++ == 0 ? L"taken" : L"free";
}

void Put(const std::wstring& name, const std::string& bytes) { std::ofstream(name.c_str(), std::ios::binary) << bytes; }
std::string Got(const std::wstring& name) {
    std::ifstream in(name.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A file output's temporary file takes a name no one holds, and Ctrl+C while
// it is being written removes it and leaves the target as it was.
TEST(QiziOutput, TheTemporaryFileIsNewAndCtrlCRemovesIt) {
    cli::StartOutput();
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring target = std::wstring(temp) + L"qizi_replaced.txt";
    Put(target, "old");
    Put(target + L".qizi-taken", "someone else's");
    DeleteFileW((target + L".qizi-free").c_str());
    {
        cli::Replacement file;
        std::string reason;
        ASSERT_TRUE(file.Open(target, &reason, Clashing)) << reason;
        EXPECT_EQ(cli::Narrow(file.name(), CP_UTF8), cli::Narrow(target + L".qizi-free", CP_UTF8));
        ASSERT_TRUE(file.Write(std::string(4096, 'x'), &reason)) << reason;
        cli::OnInterrupt(CTRL_C_EVENT);
        EXPECT_FALSE(file.Commit(&reason));
        EXPECT_EQ(GetFileAttributesW((target + L".qizi-free").c_str()), INVALID_FILE_ATTRIBUTES);
    }
    EXPECT_TRUE(Got(target) == "old") << "the target was replaced";
    EXPECT_EQ(Got(target + L".qizi-taken"), "someone else's");
    DeleteFileW((target + L".qizi-taken").c_str());
}

}  // namespace
}  // namespace apptest
