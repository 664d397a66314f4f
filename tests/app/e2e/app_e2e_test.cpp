// The whole program as a user meets it, run inside a virtual desktop of its
// own: each test is one step of a session and builds on the steps before.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

#include "gtest/gtest.h"
#include "tests/app/e2e/desktop.h"

namespace {
using namespace e2e;

const char kCaption[] = "砌字成图1.4版";
const char kExportFile[] = "砌字成图";
const char kShapeText[] = "我爱你";  // the shape text the program starts with
const COLORREF kBackground = 0xFFD2C8;

struct Session {
    std::string exe, folder;
    Process first;
    HWND main = nullptr, display = nullptr;
    std::string composed, exported;
    std::string ExportPath() const { return folder + "\\" + kExportFile; }
};
Session& S() {
    static Session s;
    return s;
}

Process StartProgram() { return Start("\"" + S().exe + "\"", S().folder); }

bool OwnedBy(HWND w, const Process& p) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    return owner == p.id;
}

bool IsUnit(HWND w, const char* className, const char* caption) {
    return lstrcmpiA(ClassOf(w).c_str(), className) == 0 && TextOf(w) == caption && IsWindowVisible(w);
}

HWND OnlyOne(const std::vector<HWND>& found) { return found.size() == 1 ? found.front() : nullptr; }

HWND Label(const char* caption) {
    return OnlyOne(Children(S().main, [&](HWND w) { return IsUnit(w, "_QY_Label", caption); }));
}

// Check boxes are buttons too, and one of them shares a push button's caption.
HWND PushButton(const char* caption) {
    return OnlyOne(Children(S().main, [&](HWND w) {
        LONG type = GetWindowLongA(w, GWL_STYLE) & BS_TYPEMASK;
        return IsUnit(w, "Button", caption) && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
    }));
}

// The display is the largest edit box with both scroll bars.
HWND Display() {
    HWND best = nullptr;
    long bestArea = 0;
    for (HWND w : Children(S().main, [](HWND w) { return lstrcmpiA(ClassOf(w).c_str(), "Edit") == 0; })) {
        LONG style = GetWindowLongA(w, GWL_STYLE);
        const LONG wanted = ES_MULTILINE | WS_HSCROLL | WS_VSCROLL | WS_VISIBLE;
        RECT r{};
        GetWindowRect(w, &r);
        long area = (r.right - r.left) * (r.bottom - r.top);
        if ((style & wanted) == wanted && area > bestArea) best = w, bestArea = area;
    }
    return best;
}

// A client point of the window, away from every unit of it, that also meets
// `wanted`; searched from the bottom right, in screen coordinates.
bool BarePoint(HWND window, const std::function<bool(POINT)>& wanted, POINT* screen) {
    RECT client{};
    GetClientRect(window, &client);
    for (LONG y = client.bottom - 8; y > client.top + 8; y -= 16) {
        for (LONG x = client.right - 8; x > client.left + 8; x -= 16) {
            bool bare = true;
            for (POINT d : {POINT{0, 0}, POINT{-4, -4}, POINT{4, -4}, POINT{-4, 4}, POINT{4, 4}})
                bare = bare && ChildWindowFromPointEx(window, POINT{x + d.x, y + d.y}, CWP_SKIPINVISIBLE) == window;
            POINT at{x, y};
            ClientToScreen(window, &at);
            if (bare && wanted(at)) return *screen = at, true;
        }
    }
    return false;
}

// A bare point of the main window that no other window covers.
bool BarePoint(POINT* screen) {
    return BarePoint(S().main, [](POINT at) { return WindowFromPoint(at) == S().main; }, screen);
}

// The unit of a window under a screen point, or the window itself.
HWND UnitAt(HWND window, POINT at) {
    ScreenToClient(window, &at);
    return ChildWindowFromPointEx(window, at, CWP_SKIPINVISIBLE);
}

COLORREF ScreenPixel(POINT at) {
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
        lines.push_back(text.substr(from, at - from));
    if (from < text.size()) lines.push_back(text.substr(from));
    return lines;
}

std::vector<HWND> NotepadWindows() {
    return TopWindows([](HWND w) { return lstrcmpiA(ClassOf(w).c_str(), "Notepad") == 0; });
}

// Every Notepad window is asked to close, and its process ended if it does
// not; whether any was found.
bool CloseNotepads() {
    std::vector<HWND> pads = NotepadWindows();
    for (HWND w : pads) {
        DWORD id = 0;
        GetWindowThreadProcessId(w, &id);
        HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
        PostMessageA(w, WM_CLOSE, 0, 0);
        if (process && WaitForSingleObject(process, kPatienceMs / 4) != WAIT_OBJECT_0) TerminateProcess(process, 1);
        if (process) WaitForSingleObject(process, kPatienceMs), CloseHandle(process);
    }
    return !pads.empty();
}

// Waits for the display to settle on a text other than before.
std::string NextDisplay(const std::string& before) {
    std::string now, last;
    DWORD since = GetTickCount();
    WaitUntil([&] {
        now = TextOf(S().display);
        if (now != last) last = now, since = GetTickCount();
        return now != before && !now.empty() && GetTickCount() - since >= 300;
    });
    return now;
}

// The window a person sees in the middle of the screen is Notepad's, and
// it still is once the program is idle again.
std::string NotepadInFront() {
    HWND pad = nullptr;
    if (!WaitUntil([&] {
            std::vector<HWND> pads = NotepadWindows();
            return (pad = pads.empty() ? nullptr : pads.front()) && IsWindowVisible(pad);
        }))
        return "no Notepad window opened";
    DWORD notepad = 0;
    GetWindowThreadProcessId(pad, &notepad);
    POINT centre{GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
    auto inFront = [&] {
        DWORD atCentre = 0, foreground = 0;
        GetWindowThreadProcessId(GetAncestor(WindowFromPoint(centre), GA_ROOT), &atCentre);
        GetWindowThreadProcessId(GetForegroundWindow(), &foreground);
        return atCentre == notepad && foreground == notepad;
    };
    if (!WaitUntil(inFront, kSettleMs)) return "Notepad never came to the front";
    WaitIdle(S().main);
    Sleep(1000);
    return inFront() ? "" : "the program took the front back from Notepad";
}

// A window of the program is the foreground window and stacked above
// `below`, once the program is idle again.
std::string InFrontOf(HWND window, HWND below) {
    WaitIdle(S().main);
    HWND foreground = GetForegroundWindow();
    if (foreground != window) return "the foreground window is " + TextOf(foreground);
    for (HWND w = GetWindow(window, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w == below) return "";
    return TextOf(window) + " is under " + TextOf(below);
}

TEST(App, OpensMaximisedOnItsBackground) {
    S().first = StartProgram();
    ASSERT_TRUE(S().first.handle) << "could not start " << S().exe;
    S().main = WaitForTopWindow(S().first.id, kCaption);
    ASSERT_TRUE(S().main) << "no visible main window captioned 砌字成图1.4版";
    ASSERT_EQ(1280, GetSystemMetrics(SM_CXSCREEN)) << "not inside the 1280x1024 virtual desktop";

    EXPECT_TRUE(IsZoomed(S().main)) << "the main window does not open maximised";
    RECT work{}, window{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    auto coversWorkArea = [&] {
        GetWindowRect(S().main, &window);
        return window.left <= work.left && window.top <= work.top && window.right >= work.right &&
               window.bottom >= work.bottom;
    };
    EXPECT_TRUE(WaitUntil(coversWorkArea, kSettleMs))
        << "window (" << window.left << ", " << window.top << ")-(" << window.right << ", " << window.bottom
        << ") does not cover the work area";

    POINT bare{};
    ASSERT_TRUE(BarePoint(&bare)) << "no client point of the main window is free of units";
    COLORREF seen = CLR_INVALID;
    EXPECT_TRUE(WaitUntil([&] { return (seen = ScreenPixel(bare)) == kBackground; }, kSettleMs))
        << "background at (" << bare.x << ", " << bare.y << ") is 0x" << std::hex << seen;
}

TEST(App, GenerateComposesTheDefaultTextIntoTheDisplay) {
    if (!S().main) GTEST_SKIP() << "needs the main window";
    S().display = Display();
    ASSERT_TRUE(S().display) << "no multi-line edit box with both scroll bars";
    HWND generate = Label("生成");
    ASSERT_TRUE(generate) << "no single visible label 生成";
    ASSERT_EQ("", Act(S().main, [&] { return Click(generate); }, [] { return !TextOf(S().display).empty(); }))
        << "releasing the mouse over 生成 left the display empty";
    S().composed = NextDisplay("");

    std::set<std::string> allowed = {" "};
    for (size_t i = 0; i + 1 < sizeof kShapeText; i += 2) allowed.insert(std::string(kShapeText + i, 2));
    std::vector<std::string> lines = Lines(S().composed);
    EXPECT_GE(lines.size(), 5u) << S().composed;
    EXPECT_LE(lines.size(), 40u);
    bool inked = false;
    for (const std::string& line : lines) {
        // A cell is two bytes; only the last may come out empty.
        long uneven = static_cast<long>(line.size()) - static_cast<long>(lines.front().size());
        EXPECT_LE(std::labs(uneven), 2) << "uneven line: [" << line << "]";
        for (size_t i = 0; i < line.size();) {
            size_t n = static_cast<unsigned char>(line[i]) >= 0x81 ? 2 : 1;
            std::string c = line.substr(i, n);
            EXPECT_TRUE(allowed.count(c)) << "unexpected character [" << c << "] in [" << line << "]";
            inked = inked || c != " ";
            i += n;
        }
    }
    EXPECT_TRUE(inked) << "no character of the shape text was drawn";
}

TEST(App, NotepadButtonExportsTheDisplayAndOpensNotepad) {
    if (S().composed.empty()) GTEST_SKIP() << "needs a composed display";
    HWND notepad = PushButton("记事本");
    ASSERT_TRUE(notepad) << "no push button 记事本";
    auto saved = [] { return ReadFileBytes(S().ExportPath(), &S().exported) && S().exported == S().composed; };
    EXPECT_EQ("", Act(S().main, [&] { return Click(notepad); }, saved))
        << "the file 砌字成图 in the working directory differs from the display";
    EXPECT_EQ("", NotepadInFront());
    CloseNotepads();
    EXPECT_FALSE(CloseNotepads()) << "a Notepad window stayed open";
}

TEST(App, SecondInstanceEndsAtOnceWithoutAWindow) {
    if (!S().main) GTEST_SKIP() << "needs the main window";
    Process second = StartProgram();
    ASSERT_TRUE(second.handle);
    bool showed = false;
    bool ended = WaitUntil(
        [&] {
            showed = showed || !TopWindows([&](HWND w) { return OwnedBy(w, second) && IsWindowVisible(w); }).empty();
            return !second.Running();
        },
        kPatienceMs / 2);
    DWORD code = 0xDEAD;
    if (!ended) TerminateProcess(second.handle, 1);
    EXPECT_TRUE(ended) << "a second instance kept running beside the first";
    EXPECT_TRUE(second.WaitExit(0, &code) && code == 0) << "exit code 0x" << std::hex << code;
    EXPECT_FALSE(showed) << "the second instance showed a window";
    EXPECT_TRUE(S().first.Running() && IsWindow(S().main)) << "the first instance did not survive";
}

TEST(App, ClearEmptiesTheDisplayAndKeepsTheExport) {
    if (S().exported.empty()) GTEST_SKIP() << "needs an exported display";
    HWND clear = PushButton("清空");
    ASSERT_TRUE(clear) << "no push button 清空";
    EXPECT_EQ("", Act(S().main, [&] { return Click(clear); }, [] { return TextOf(S().display).empty(); }))
        << "the display kept its text";
    std::string now;
    EXPECT_TRUE(ReadFileBytes(S().ExportPath(), &now) && now == S().exported) << "clearing changed the exported file";
}

// Keys reach the program through the display, which holds the focus after
// every command that ends in a regeneration.
std::string FocusDisplay() {
    auto focused = [] { return GetForegroundWindow() == S().main && FocusOf(S().main) == S().display; };
    if (focused()) return "";
    std::string why = Act(S().main, [] { return Click(S().display); }, focused);
    return why.empty() ? "" : "focusing the display: " + why;
}

// A key is pressed again only when it showed no effect.
std::string PressInDisplay(WORD key, const std::function<bool()>& effect) {
    return Act(S().main, [&] {
        std::string why = FocusDisplay();
        return why.empty() ? PressKey(key) : why;
    }, effect);
}

// A click that comes while the program composes waits its turn: it is
// neither lost nor undone by the composition.
TEST(App, AClickWhileComposingIsHandledAfterIt) {
    if (!S().display || !TextOf(S().display).empty()) GTEST_SKIP() << "needs the cleared display";
    HWND clear = PushButton("清空");
    ASSERT_TRUE(clear);
    // The pointer rests on 清空 first, so the click needs no move.
    ASSERT_EQ("", Click(clear));
    ASSERT_EQ("", FocusDisplay());
    ASSERT_EQ("", PressKey(VK_F9));
    ASSERT_EQ("", Click(clear, false));
    DWORD_PTR answer = 0;
    bool busy = !SendMessageTimeoutA(S().main, WM_NULL, 0, 0, SMTO_NORMAL, 1, &answer);
    std::printf("[ info     ] the click came while the program was %s\n", busy ? "busy" : "idle");
    ASSERT_TRUE(WaitIdle(S().main));
    EXPECT_EQ("", TextOf(S().display)) << "the click on 清空 was lost";
}

TEST(App, FunctionKeysComposeInvertAndSwitchToThePicture) {
    if (!S().display) GTEST_SKIP() << "needs the display";
    ASSERT_EQ("", PressInDisplay(VK_F9, [] { return !TextOf(S().display).empty(); }));
    std::string composed = NextDisplay("");
    EXPECT_EQ(S().composed, composed) << "F9 did not compose what 生成 composed";

    ASSERT_EQ("", PressInDisplay(VK_F4, [&] { return TextOf(S().display) != composed; })) << "F4 did not regenerate";
    std::string inverted = NextDisplay(composed);
    // Inversion swaps ink and blanks on the same grid.
    EXPECT_EQ(Lines(composed).size(), Lines(inverted).size());
    auto blanks = [](const std::string& text) { return std::count(text.begin(), text.end(), ' '); };
    EXPECT_NE(blanks(composed), blanks(inverted));
    EXPECT_EQ("", PressInDisplay(VK_F4, [&] { return TextOf(S().display) == composed; }))
        << "a second F4 did not restore the text";

    HWND mode = PushButton("砌字");
    ASSERT_TRUE(mode) << "no mode button captioned 砌字";
    EXPECT_EQ("", PressInDisplay(VK_HOME, [&] { return TextOf(mode) == "成图"; }))
        << "Home left the mode at " << TextOf(mode);
    std::string picture = NextDisplay(composed);
    EXPECT_NE(picture, composed) << "the picture mode did not compose from the picture";
    S().composed = TextOf(S().display);
}

TEST(App, F3SavesAndOpensNotepadInFrontAndF1Copies) {
    if (!S().display || S().composed.empty()) GTEST_SKIP() << "needs a composed display";
    DeleteFileA(S().ExportPath().c_str());
    std::string saved;
    EXPECT_EQ("", PressInDisplay(VK_F3, [&] { return ReadFileBytes(S().ExportPath(), &saved) && saved == S().composed; }))
        << "F3 did not save the display";
    EXPECT_EQ("", NotepadInFront());
    CloseNotepads();

    if (OpenClipboard(nullptr)) EmptyClipboard(), CloseClipboard();
    std::string copied;
    EXPECT_EQ("", PressInDisplay(VK_F1, [&] { return (copied = ClipboardText()) == S().composed; }))
        << "F1 put " << copied.size() << " bytes on the clipboard";
}

TEST(App, F11EntersAndLeavesFullScreen) {
    if (!S().display) GTEST_SKIP() << "needs the display";
    HWND restore = Label("还原");
    EXPECT_FALSE(restore) << "还原 shows before full screen";
    HWND generate = Label("生成");
    ASSERT_TRUE(generate);
    ASSERT_EQ("", PressInDisplay(VK_F11, [] { return Label("还原") != nullptr; })) << "F11 did not show 还原";
    EXPECT_FALSE(IsWindowVisible(generate)) << "生成 stayed visible in full screen";
    EXPECT_EQ(GetWindowLongA(S().main, GWL_STYLE) & WS_CAPTION, 0) << "the window kept its caption";

    ASSERT_EQ("", PressInDisplay(VK_F11, [] { return Label("还原") == nullptr; })) << "a second F11 left 还原 showing";
    EXPECT_TRUE(IsWindowVisible(generate));
    EXPECT_NE(GetWindowLongA(S().main, GWL_STYLE) & WS_CAPTION, 0) << "the window did not get its caption back";
}

HWND ProgramWindow(const char* caption) { return WaitForTopWindow(S().first.id, caption, 0); }

TEST(App, F12OpensHelpInFront) {
    if (!S().display) GTEST_SKIP() << "needs the display";
    HWND help = nullptr;
    ASSERT_EQ("", PressInDisplay(VK_F12, [&] { return (help = ProgramWindow("帮助")) != nullptr; }))
        << "F12 opened no window captioned 帮助";
    EXPECT_EQ("", InFrontOf(help, S().main));
    HWND text = OnlyOne(Children(help, [](HWND w) { return lstrcmpiA(ClassOf(w).c_str(), "Edit") == 0; }));
    ASSERT_TRUE(text);
    EXPECT_NE(TextOf(text).find("F12"), std::string::npos) << "the help text lists no keys";
    PostMessageA(help, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(help); })) << "the help window did not close";
    EXPECT_TRUE(IsWindow(S().main)) << "closing help closed the program";
}

HWND ButtonOf(HWND window, const char* caption) {
    return OnlyOne(Children(window, [&](HWND w) { return IsUnit(w, "Button", caption); }));
}

// Opening the style window races nothing that could stack it under the
// main window: each of many openings leaves it in front.
TEST(App, SkinOpensTheStyleWindowInFrontEveryTime) {
    if (!S().display) GTEST_SKIP() << "needs the display";
    HWND skinButton = PushButton("皮肤");
    ASSERT_TRUE(skinButton) << "no push button 皮肤";
    for (int opening = 1; opening <= 20; ++opening) {
        HWND style = nullptr;
        ASSERT_EQ("", Act(S().main, [&] { return Click(skinButton); },
                          [&] { return (style = ProgramWindow("风格配色")) != nullptr; }))
            << "皮肤 opened no window captioned 风格配色, opening " << opening;
        ASSERT_EQ("", InFrontOf(style, S().main)) << "opening " << opening;
        if (opening == 20) break;
        PostMessageA(style, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(style); }, kSettleMs)) << "the style window did not close";
    }
}

// Seen means on the screen: the style window's own pixels show where it
// lies over the display, the skin window's where it lies over the style
// window.
TEST(App, TheStyleAndSkinWindowsShowAndASkinRecoloursTheCaptionOnly) {
    HWND style = ProgramWindow("风格配色");
    if (!style) GTEST_SKIP() << "needs the style window";
    POINT at{};
    COLORREF seen = CLR_INVALID;
    EXPECT_TRUE(WaitUntil([&] {
        auto overDisplay = [](POINT p) { return UnitAt(S().main, p) == S().display; };
        return BarePoint(style, overDisplay, &at) && (seen = ScreenPixel(at)) == kBackground;
    })) << "the style window is not in sight: (" << at.x << ", " << at.y << ") shows 0x" << std::hex << seen;

    HWND others = ButtonOf(style, "其它皮肤");
    ASSERT_TRUE(others) << "no button 其它皮肤";
    HWND skins = nullptr;
    ASSERT_EQ("", Act(S().main, [&] { return Click(others); }, [&] { return (skins = ProgramWindow("皮肤")) != nullptr; }))
        << "其它皮肤 opened no window captioned 皮肤";
    EXPECT_EQ("", InFrontOf(skins, style));
    EXPECT_TRUE(WaitUntil([&] {
        auto overStyle = [&](POINT p) { return UnitAt(style, p) == style; };
        return BarePoint(skins, overStyle, &at) && (seen = ScreenPixel(at)) != kBackground;
    })) << "the skin window is not in sight at (" << at.x << ", " << at.y << ")";

    // The middle of the main window's caption bar, clear of its text and buttons.
    POINT caption{0, 0};
    ClientToScreen(S().main, &caption);
    caption = POINT{GetSystemMetrics(SM_CXSCREEN) / 2, caption.y - GetSystemMetrics(SM_CYCAPTION) / 2};
    COLORREF before = ScreenPixel(caption);
    HWND chinaRed = ButtonOf(skins, "中国红");
    ASSERT_TRUE(chinaRed) << "no button 中国红";
    auto red = [](COLORREF c) { return GetRValue(c) > GetGValue(c) + 40 && GetRValue(c) > GetBValue(c) + 40; };
    EXPECT_EQ("", Act(S().main, [&] { return Click(chinaRed); }, [&] { return red(seen = ScreenPixel(caption)); }))
        << "the caption at (" << caption.x << ", " << caption.y << ") went from 0x" << std::hex << before << " to 0x"
        << seen << ", not red";
    EXPECT_FALSE(red(before)) << "the caption was red before any skin";
    ASSERT_TRUE(BarePoint(&at)) << "no client point of the main window is free of units";
    EXPECT_EQ(ScreenPixel(at), kBackground) << "the skin painted over the main window's own background";
    PostMessageA(style, WM_CLOSE, 0, 0);
}

TEST(App, ClosingTheWindowLetsANewInstanceStart) {
    if (!S().main) GTEST_SKIP() << "needs the main window";
    PostMessageA(S().main, WM_CLOSE, 0, 0);
    DWORD code = 0;
    ASSERT_TRUE(S().first.WaitExit(kPatienceMs, &code)) << "closing the main window did not end the program";
    // A clean exit: the clean-up unloaded the engines it mapped without a fault.
    EXPECT_EQ(code, 0u);

    Process next = StartProgram();
    HWND main = WaitForTopWindow(next.id, kCaption);
    EXPECT_TRUE(main) << "a new instance did not pass the guard after the first ended";
    if (main) PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(next.WaitExit(kPatienceMs, &code)) << "the new instance did not end on closing";
}

// Leaves neither processes nor files behind, whatever failed.
class Cleanup : public ::testing::Environment {
public:
    void TearDown() override {
        CloseNotepads();
        EndAllStarted();
        DeleteFileA(S().ExportPath().c_str());
        DeleteFileA(S().exe.c_str());
        RemoveDirectoryA(S().folder.c_str());
    }
};
}  // namespace

// Started inside the virtual desktop with --log=FILE, where the output and,
// on the last line, the exit code go: the desktop does not hand either on.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const char kLog[] = "--log=";
    std::string log;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], kLog, sizeof kLog - 1) == 0) log = argv[i] + sizeof kLog - 1;
    if (!log.empty() && !std::freopen(log.c_str(), "w", stdout)) return 2;

    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string self = path;
    std::string built = self.substr(0, self.rfind('\\') + 1) + "砌字成图.exe";
    GetTempPathA(sizeof path, path);
    S().folder = std::string(path) + "qy_e2e_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(S().folder.c_str(), nullptr);
    // The program works in its own folder, where it saves its export file;
    // a copy of it in a fresh folder keeps the build's folder clean.
    S().exe = S().folder + "\\砌字成图.exe";
    if (!CopyFileA(built.c_str(), S().exe.c_str(), FALSE)) return 3;

    // A Notepad or an instance of the program that an earlier test program
    // left running would take the place of the ones this run starts.
    EndLeftovers({"notepad.exe", "砌字成图.exe"});
    ::testing::AddGlobalTestEnvironment(new Cleanup);
    int result = RUN_ALL_TESTS();
    std::printf("exit code %d\n", result);
    std::fflush(stdout);
    return result;
}
