// The native qizi as a child process, given what a person types: where its
// files land, its standard streams, devices, a terminal on standard input,
// memory running out, and HTML whose columns line up in Debian's Chromium.
#include <fcntl.h>
#include <signal.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

namespace {

struct Outcome {
    int status = -1;
    std::string out, err;
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh folder for one test, under the build's own temporary folder.
std::string Folder(const std::string& name) {
    std::string folder = std::string(::testing::TempDir()) + "qizi_" + name + "_" + std::to_string(getpid());
    mkdir(folder.c_str(), 0777);
    return folder;
}

// Starts qizi in `folder` with `input` as standard input (-1: /dev/null) and
// an address-space limit when given; output and errors go through files.
pid_t Start(const std::vector<std::string>& args, const std::string& folder, int input = -1, rlim_t memory = 0) {
    pid_t child = fork();
    if (child == 0) {
        if (chdir(folder.c_str()) != 0) _exit(120);
        int in = input >= 0 ? input : open("/dev/null", O_RDONLY);
        dup2(in, 0);
        dup2(open(".stdout", O_WRONLY | O_CREAT | O_TRUNC, 0666), 1);
        dup2(open(".stderr", O_WRONLY | O_CREAT | O_TRUNC, 0666), 2);
        if (memory) {
            rlimit limit{memory, memory};
            setrlimit(RLIMIT_AS, &limit);
        }
        std::vector<char*> argv{const_cast<char*>(QIZI)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(QIZI, argv.data());
        _exit(121);
    }
    return child;
}

Outcome Finish(pid_t child, const std::string& folder) {
    Outcome o;
    int status = 0;
    waitpid(child, &status, 0);
    o.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    o.out = Slurp(folder + "/.stdout"), o.err = Slurp(folder + "/.stderr");
    return o;
}

Outcome Qizi(const std::vector<std::string>& args, const std::string& folder, int input = -1, rlim_t memory = 0) {
    return Finish(Start(args, folder, input, memory), folder);
}

bool LeftTemporaryFiles(const std::string& folder) {
    return system(("ls -A " + folder + " | grep -q qizi-").c_str()) == 0;
}

// A w x h picture of colour(x, y) (0xRRGGBB), as a 24-bit BMP in the folder.
template <typename Colour>
std::string Bmp(const std::string& folder, const std::string& name, int w, int h, Colour colour) {
    std::string bmp(54 + static_cast<size_t>(w) * h * 3, '\0');
    auto put32 = [&](size_t at, uint32_t v) { for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>(v >> (8 * i)); };
    bmp[0] = 'B', bmp[1] = 'M';
    put32(2, static_cast<uint32_t>(bmp.size())), put32(10, 54), put32(14, 40), put32(18, w), put32(22, -h);
    bmp[26] = 1, bmp[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            size_t p = 54 + (static_cast<size_t>(y) * w + x) * 3;
            uint32_t c = colour(x, y);
            bmp[p] = static_cast<char>(c), bmp[p + 1] = static_cast<char>(c >> 8), bmp[p + 2] = static_cast<char>(c >> 16);
        }
    std::string path = folder + "/" + name + ".bmp";
    std::ofstream(path, std::ios::binary) << bmp;
    return path;
}

// A 64 x 48 picture of soft tones.
std::string Picture(const std::string& folder) {
    return Bmp(folder, "picture", 64, 48, [](int x, int y) {
        return static_cast<uint32_t>(((x + y) * 2 & 0xFF) << 16 | (y * 5 & 0xFF) << 8 | (x * 4 & 0xFF));
    });
}

TEST(NativeQizi, FilesLandWhereTheCallerIsAndDevicesAreWrittenDirectly) {
    std::string folder = Folder("files");
    mkdir((folder + "/sub").c_str(), 0777);
    Outcome toStdout = Qizi({"-o", "-", "字"}, folder);
    EXPECT_EQ(toStdout.status, 0) << toStdout.err;
    EXPECT_NE(toStdout.out.find("字"), std::string::npos);
    Outcome relative = Qizi({"-o", "sub/a.txt", "字"}, folder);
    EXPECT_EQ(relative.status, 0) << relative.err;
    EXPECT_EQ(Slurp(folder + "/sub/a.txt"), toStdout.out);
    // A link at the target is replaced, never written through.
    std::ofstream(folder + "/kept.txt") << "kept";
    symlink("kept.txt", (folder + "/link.txt").c_str());
    EXPECT_EQ(Qizi({"-o", "link.txt", "字"}, folder).status, 0);
    EXPECT_EQ(Slurp(folder + "/kept.txt"), "kept");
    EXPECT_EQ(Slurp(folder + "/link.txt"), toStdout.out);
    EXPECT_EQ(Qizi({"-o", "/dev/null", "字"}, folder).status, 0);
    Outcome missing = Qizi({"-o", "nowhere/a.txt", "字"}, folder);
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "qizi: nowhere/a.txt: No such file or directory\n");
    EXPECT_FALSE(LeftTemporaryFiles(folder) || LeftTemporaryFiles(folder + "/sub"));
}

// Ctrl+C at ever later moments of writing 60 MB: whenever it lands, no
// temporary file stays.
TEST(NativeQizi, AnInterruptLeavesNoTemporaryFile) {
    std::string folder = Folder("interrupt");
    std::vector<std::string> args = {"-p", Picture(folder), "-S", "fill", "--fill", std::string(60, 'x'),
                                     "-W", "1000", "-H", "1000", "-o", "big.txt"};
    int interrupted = 0;
    for (int delay = 20; delay <= 400; delay += 20) {
        pid_t child = Start(args, folder);
        usleep(static_cast<useconds_t>(delay) * 1000);
        kill(child, SIGINT);
        interrupted += Finish(child, folder).status == 128 + SIGINT;
        ASSERT_FALSE(LeftTemporaryFiles(folder)) << "after an interrupt at " << delay << " ms";
    }
    EXPECT_GT(interrupted, 0);
}

TEST(NativeQizi, RefusalsNameTheirReasonAndStatus) {
    std::string folder = Folder("refusals");
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    Outcome terminal = Qizi({"--picture", "-"}, folder, slave);
    close(slave), close(master);
    EXPECT_EQ(terminal.status, 1);
    EXPECT_EQ(terminal.err, "qizi: standard input: a terminal; pipe or redirect a picture into qizi\n");
    std::string country;
    for (int i = 0; i < 300; ++i) country += "国";
    Outcome wide = Qizi({"-s", "72", "-S", "ramp", country}, folder);
    EXPECT_EQ(wide.status, 2);
    EXPECT_NE(wide.err.find("the limit is 1000 x 1000"), std::string::npos) << wide.err;
    Outcome utf8 = Qizi({"-S", "fill", "--fill", "ç한", "-o", "-", "x"}, folder);
    EXPECT_EQ(utf8.status, 0);
    EXPECT_NE(utf8.out.find("ç한"), std::string::npos);
    Outcome nothing = Qizi({"  "}, folder);
    EXPECT_EQ(nothing.status, 1);
    EXPECT_EQ(nothing.err, "qizi: nothing to compose: the shape text draws nothing\n");
    // 40 MB of address space hold the program but not 60 MB of text.
    Outcome memory = Qizi({"-p", Picture(folder), "-S", "fill", "--fill", std::string(60, 'x'), "-W", "1000", "-H", "1000"},
                          folder, -1, 40u << 20);
    EXPECT_EQ(memory.status, 1);
    EXPECT_EQ(memory.err, "qizi: out of memory\n");
}

TEST(NativeQizi, AShapeTextTakesTheTerminalsOwnColour) {
    Outcome ansi = Qizi({"-F", "ansi", "字"}, Folder("ansi"));
    EXPECT_EQ(ansi.out.find("\x1b["), std::string::npos);
}

TEST(NativeQizi, ShapesPickTheGlyphThatLooksLikeTheCell) {
    std::string folder = Folder("shape");
    // One cell of 24 x 48 pixels per picture, black ink on white.
    auto cell = [&](const std::string& name, auto ink, std::vector<std::string> more = {}) {
        std::string path = Bmp(folder, name, 24, 48, [&](int x, int y) { return ink(x, y) ? 0u : 0xFFFFFFu; });
        std::vector<std::string> args{"-p", path, "-S", "shape", "-W", "1", "-H", "1"};
        args.insert(args.end(), more.begin(), more.end());
        Outcome o = Qizi(args, folder);
        EXPECT_EQ(o.status, 0) << name << o.err;
        return o.out.substr(0, o.out.find('\r'));
    };
    EXPECT_EQ(cell("right", [](int x, int) { return x >= 12; }), "\u2590");
    EXPECT_EQ(cell("left", [](int x, int) { return x < 12; }), "\u258c");
    auto rising = [](int x, int y) { return std::abs((47 - y) / 2 - x) <= 1; };
    EXPECT_EQ(cell("rising", rising, {"--symbols", "ascii"}), "/");
    EXPECT_EQ(cell("falling", [](int x, int y) { return std::abs(y / 2 - x) <= 1; }, {"--symbols", "ascii"}), "\\");
    EXPECT_EQ(cell("black", [](int, int) { return true; }), "\u2588");
    EXPECT_EQ(cell("white", [](int, int) { return false; }), " ");
    // Bare paper stays bare with symbols that have no empty one of their own.
    for (const char* set : {"blocks", "box", "#"})
        EXPECT_EQ(cell("white", [](int, int) { return false; }, {"--symbols", set}), " ") << set;
    EXPECT_EQ(cell("inverted", [](int, int) { return false; }, {"-i"}), "\u2588");
    // A dark band through light ink takes no flat shade, which shows neither.
    std::string band = cell("band", [](int, int y) { return y >= 20 && y < 32; }, {"-i", "--symbols", "blocks"});
    EXPECT_EQ(std::string("\u2591\u2592\u2593").find(band), std::string::npos) << band;
    // Colour: the same diagonal takes black ink on a white background.
    std::string ansi = cell("colour", rising, {"--symbols", "ascii", "-F", "ansi"});
    std::smatch m;
    ASSERT_TRUE(std::regex_search(ansi, m, std::regex("\x1b\\[38;2;(\\d+);\\d+;\\d+m\x1b\\[48;2;(\\d+);\\d+;\\d+m/")))
        << ansi;
    EXPECT_LT(std::stoi(m[1]), 100);
    EXPECT_GT(std::stoi(m[2]), 200);
    // Bands of a cell each, black, white, black: every cell is flat, the dark
    // bands around the white one bleed no texture into it.
    std::string bands = Bmp(folder, "bands", 24, 144, [](int, int y) { return y / 48 == 1 ? 0xFFFFFFu : 0u; });
    Outcome flat = Qizi({"-p", bands, "-S", "shape", "-W", "1", "-H", "3", "-F", "ansi"}, folder);
    EXPECT_EQ(flat.out, "\x1b[38;2;0;0;0m\x1b[48;2;0;0;0m \x1b[0m\r\n\x1b[38;2;255;255;255m\x1b[48;2;255;255;255m \x1b[0m\r\n"
                        "\x1b[38;2;0;0;0m\x1b[48;2;0;0;0m \x1b[0m\r\n");
    Outcome missing = Qizi({"-p", Picture(folder), "-S", "shape", "--symbols", "\U0001D11E\u2591", "-W", "4", "-v"}, folder);
    EXPECT_EQ(missing.status, 0);
    EXPECT_NE(missing.err.find("lack them: \U0001D11E"), std::string::npos) << "no face here draws a G clef";
    EXPECT_EQ(Qizi({"-S", "shape", "text"}, folder).status, 2);
    // Light ink on a dark terminal: a flat grey background (a black corner
    // above it) stays blank rather than filled with strokes; a light disc takes ink.
    std::string disc = Bmp(folder, "disc", 192, 192, [](int x, int y) {
        if (x < 48 && y < 48) return 0x282828u;
        return (x - 128) * (x - 128) + (y - 104) * (y - 104) < 56 * 56 ? 0xC8C8C8u : 0x505050u;
    });
    Outcome dark = Qizi({"-p", disc, "-S", "shape", "--symbols", "ascii", "-i", "-W", "8", "-H", "4", "-f",
                         "DejaVu Sans Mono"}, folder);
    ASSERT_EQ(dark.status, 0) << dark.err;
    ASSERT_EQ(dark.out.size(), 4u * 10) << "four lines of eight and CR LF: " << dark.out;
    for (size_t row = 1; row < 4; ++row) EXPECT_EQ(dark.out.substr(row * 10, 2), "  ") << dark.out;
    EXPECT_EQ(dark.out.substr(14, 3).find(' '), std::string::npos) << dark.out;
    // Dark ink on light paper: a flat light-grey sky over a pale band stays
    // bare paper rather than a shade of strokes; the dark hill takes ink.
    std::string sky = Bmp(folder, "sky", 192, 192,
                          [](int, int y) { return y < 64 ? 0xA5A5A5u : y < 128 ? 0xD5D5D5u : 0x404040u; });
    Outcome light =
        Qizi({"-p", sky, "-S", "shape", "--symbols", "ascii", "-W", "8", "-H", "6", "-f", "DejaVu Sans Mono"}, folder);
    ASSERT_EQ(light.status, 0) << light.err;
    ASSERT_EQ(light.out.size(), 6u * 10) << light.out;
    EXPECT_EQ(light.out.substr(0, 8), std::string(8, ' ')) << light.out;
    EXPECT_EQ(light.out.substr(50, 8).find(' '), std::string::npos) << light.out;
}

// Each page gets a script that measures every cell; the n-th cell of every row
// must start at the same x.
void ExpectColumnsLineUp(const std::string& folder, const std::string& name, const std::vector<std::string>& args) {
    std::string page = folder + "/" + name + ".html";
    std::vector<std::string> all = args;
    all.insert(all.end(), {"-F", "html", "-o", page});
    ASSERT_EQ(Qizi(all, folder).status, 0);
    std::ofstream(page, std::ios::app)
        << "<script>const rows=new Map();for(const e of document.querySelectorAll('pre i,pre b')){const r=e."
           "getBoundingClientRect(),k=Math.round(r.top);if(!rows.has(k))rows.set(k,[]);rows.get(k).push(r.left)}"
           "const all=[...rows.values()];let worst=0,ragged=0;for(const row of all){if(row.length!=all[0].length)ragged++;"
           "row.forEach((x,n)=>worst=Math.max(worst,Math.abs(x-all[0][n])))}"
           "document.title='rows '+all.length+' ragged '+ragged+' worst '+worst.toFixed(2)</script>";
    std::string command = "chromium --headless --no-sandbox --disable-gpu --disable-background-networking "
                          "--user-data-dir=" + folder + "/chromium --dump-dom file://" + page + " 2>/dev/null";
    std::string dom;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) dom.append(buffer, n);
        pclose(pipe);
    }
    std::smatch m;
    ASSERT_TRUE(std::regex_search(dom, m, std::regex("<title>rows (\\d+) ragged (\\d+) worst ([0-9.]+)</title>")))
        << name << ": Chromium gave no measurement";
    EXPECT_GT(std::stoi(m[1]), 5) << name;
    EXPECT_EQ(m[2], "0") << name;
    EXPECT_LE(std::stod(m[3]), 1.0) << name << ": a column drifts";
}

TEST(NativeQizi, HtmlColumnsLineUpInChromium) {
    std::string folder = Folder("html");
    std::string picture = Picture(folder);
    ExpectColumnsLineUp(folder, "shape", {"-s", "12", "-i", "砌字成图"});
    ExpectColumnsLineUp(folder, "wide_ramp", {"-p", picture, "-S", "ramp2", "-W", "30"});
    ExpectColumnsLineUp(folder, "mixed", {"-p", picture, "-S", "fill", "--fill", "W国", "-W", "30", "-i"});
}

}  // namespace
