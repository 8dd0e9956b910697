// Tests of the screen dumps of the program's own screen, on the headless display
// with a small interface file: the choice of a new numbered file name, the BMP and
// GIF files taken apart byte by byte (the GIF also read back by giflib), the
// PostScript files printed by Ghostscript (with and without its colorimage), the
// progress marks, pen and window restored and the repaint after every writer, and
// failures reported in error.log.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "base/log.h"
#include "picture_test_support.h"
#include "pictures/screen_dump.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "startup/filenames.h"
#include "ui/interface.h"
#include "ui/interface_model.h"

namespace {

namespace fs = std::filesystem;

constexpr int W = 640;
constexpr int H = 480;

// What the application shows: noise in the sixteen colours, every colour
// everywhere, nothing a format could compress into a few kilobytes. Its repaint
// counts the rows that still carry the progress mark (white points at both edges)
// and puts the content back.
unsigned char g_content[H][W];
int g_repaints = 0, g_marked_rows = 0;

int repaint(int, int, int, const char*) {
  ++g_repaints;
  g_marked_rows = 0;
  for (int y = 0; y < H; ++y) {
    bool marked = true;
    for (int x : {0, 4, W - 4, W - 1}) marked = marked && MXPget_pixel(x, y) == MXconvertcolor("white");
    g_marked_rows += marked;
    MXPfastrow(0, y, g_content[y], W);
  }
  return 1;
}

// Component k (0 red, 1 green, 2 blue) of a colour as the screen shows it: four
// times the interface file's 6-bit value.
int shown(int index, int k) { return Interface_Palette[3 * index + k] * 4; }

std::vector<uint8_t> read_bytes(const std::string& name) {
  const std::string s = read_text_file(name);
  return std::vector<uint8_t>(s.begin(), s.end());
}

std::vector<std::string> lines_of(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// "" when ok(x, y) holds for every screen pixel, else the first pixel where it fails.
template <class Check>
std::string first_wrong_pixel(Check ok) {
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      if (!ok(x, y)) return std::to_string(x) + "," + std::to_string(y);
  return "";
}

// The library started once, headless; every test runs in a directory of its own;
// error.log lives in the directory above, open for the whole run.
fs::path g_root;

class DumpEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    char pattern[] = "/tmp/screen_dump_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    g_root = pattern;
    fs::current_path(g_root);
    ASSERT_EQ(init_error_log("w"), 1);
    std::ofstream("dump.inf") << "palette\n(ink 0 0 63)\n(leaf 10 50 20)\n(sand 63 48 32)\nend\n"
                                 "redrawfunc(repaint)\n"
                                 "window (root 0 0 640 480 black lgray black 0 1 0)\n"
                                 "window (panel 100 100 200 150 black peach black 3 1 0)\n";
    static const IntrFunction table[] = {{"repaint", repaint}};
    MXPuse_headless(true);
    MXsetfunctiontable(table, 1);
    MXinterfaceinit("Demovar test", "dump.inf", 0, "a", 16);
  }
  void TearDown() override {
    closegraph();
    MXfreeinterfacetables();
    fs::current_path("/");
    fs::remove_all(g_root);
  }
};
[[maybe_unused]] const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new DumpEnvironment);

class ScreenDumpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = g_root / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::create_directories(dir_);
    fs::current_path(dir_);
    log_start_ = fs::file_size(g_root / "error.log");
    std::mt19937 rng(2050);
    for (int y = 0; y < H; ++y) {
      for (auto& p : g_content[y]) p = static_cast<unsigned char>(rng() % 16);
      MXPfastrow(0, y, g_content[y], W);
    }
    g_repaints = g_marked_rows = 0;
  }
  void TearDown() override { fs::current_path(g_root); }
  // What the dumps wrote to error.log during this test.
  std::string log() const { return read_text_file((g_root / "error.log").string()).substr(log_start_); }
  // Dumps with the base name "vkshot"; returns the chosen name ("" on failure).
  std::string dump(int type, const char* base = "vkshot") {
    char name[64];
    std::snprintf(name, sizeof name, "%s", base);
    return MXdumpscreen(name, type) ? name : "";
  }
  fs::path dir_;
  size_t log_start_ = 0;
};

// Choosing the file ------------------------------------------------------------------

TEST_F(ScreenDumpTest, TakesTheFirstFreeNumberPerExtensionAndNeverOverwrites) {
  std::ofstream("vkshot00.bmp") << "first", std::ofstream("vkshot01.bmp") << "second";
  EXPECT_EQ(dump(BMP_16), "vkshot02.bmp");
  EXPECT_EQ(read_text_file("vkshot01.bmp"), "second");
  EXPECT_EQ(dump(PS_COLOR), "vkshot00.ps");
  EXPECT_EQ(dump(GIF_16), "vkshot00.gif");
  EXPECT_EQ(dump(PS_GRAY), "vkshot01.ps");  // both PostScript kinds share ".ps"
  EXPECT_EQ(dump(GIF_16), "vkshot01.gif");
  EXPECT_EQ(dump(BMP_16), "vkshot03.bmp");
  fs::create_directory("shots");  // the directory of the base name is kept
  EXPECT_EQ(dump(GIF_16, "shots/vkshot"), "shots/vkshot00.gif");
  // A file without read permission (readable anyway when running as root) and a
  // link to a file that does not exist both hold their names.
  { std::ofstream("vkshot02.ps") << "private"; }
  fs::permissions("vkshot02.ps", fs::perms::none);
  fs::create_symlink("elsewhere.ps", "vkshot03.ps");
  EXPECT_EQ(dump(PS_GRAY), "vkshot04.ps");
  fs::permissions("vkshot02.ps", fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(read_text_file("vkshot02.ps"), "private");
  fs::create_symlink("elsewhere.gif", "vkshot02.gif");
  EXPECT_EQ(dump(GIF_16), "vkshot03.gif");
  EXPECT_FALSE(fs::exists("elsewhere.ps") || fs::exists("elsewhere.gif"));  // no link was followed
}

// Nothing is written and the screen is not touched when the type is not one of
// the four formats or the directory refuses new files (/proc does, even to root).
// (All hundred names taken: tests/app/screen_dump_dialog_test.cpp.)
TEST_F(ScreenDumpTest, ReportsDumpsThatCannotStart) {
  for (int type : {0, 5, -1}) EXPECT_EQ(dump(type), "") << type;
  EXPECT_TRUE(fs::is_empty(dir_));
  EXPECT_EQ(dump(BMP_16, "/proc/vkshot"), "");
  EXPECT_EQ(dump(GIF_16, "/proc/vkshot"), "");
  EXPECT_EQ(dump(PS_COLOR, "missing/vkshot"), "");
  const std::string not_copied = "Error:  Screen not copied to output file.\n";
  EXPECT_EQ(log(), "Invalid screen save file type.\nInvalid screen save file type.\nInvalid screen save file type.\n"
                   "Cannot open graphics output file |/proc/vkshot00.bmp|.\n" + not_copied +
                       "Cannot open graphics output file |/proc/vkshot00.gif|.\n" + not_copied +
                       "Cannot open graphics output file |missing/vkshot00.ps|.\n" + not_copied);
  EXPECT_EQ(g_repaints, 0);
}

TEST_F(ScreenDumpTest, ReportsAFullDiskForEveryFormat) {
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  auto previous = signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = fs::file_size(g_root / "error.log") + 16384;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::string bmp = dump(BMP_16), gray = dump(PS_GRAY), color = dump(PS_COLOR), gif = dump(GIF_16);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, previous);

  EXPECT_EQ(bmp + gray + color + gif, "");
  const std::string text = log();
  EXPECT_NE(text.find("Error writing Bit Map pixels to file.\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Error writing pixel RGB values to PostScript file.\n"), std::string::npos) << text;
  EXPECT_TRUE(text.find("Error compressing GIF file.\n") != std::string::npos ||
              text.find("Error closing GIF file.\n") != std::string::npos)
      << text;
  const auto lines = lines_of(text);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Error:  Screen not copied to output file."), 4);
  // The partial files stay, and every writer still repainted the screen.
  EXPECT_TRUE(fs::exists("vkshot00.bmp") && fs::exists("vkshot00.ps") && fs::exists("vkshot01.ps") &&
              fs::exists("vkshot00.gif"));
  EXPECT_EQ(g_repaints, 4);
}

// The formats --------------------------------------------------------------------------

TEST_F(ScreenDumpTest, BmpHeaderColourTableAndPixels) {
  ASSERT_EQ(dump(BMP_16), "vkshot00.bmp");
  EXPECT_EQ(g_marked_rows, H);  // every row marked while writing, and one repaint
  EXPECT_EQ(g_repaints, 1);
  const auto f = read_bytes("vkshot00.bmp");
  ASSERT_EQ(f.size(), 153718u);
  const auto le = [&f](size_t at, int n) {  // the n-byte little-endian number at offset at
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = v << 8 | f[at + i];
    return v;
  };
  EXPECT_EQ(std::string(f.begin(), f.begin() + 2), "BM");
  // Offset, size and value of each header field.
  const uint32_t fields[][3] = {{2, 4, 153718}, {6, 4, 0},  {10, 4, 118},  {14, 4, 40},  {18, 4, 640},
                                {22, 4, 480},   {26, 2, 1}, {28, 2, 4},    {30, 4, 0},   {34, 4, 153600},
                                {38, 4, 0},     {42, 4, 0}, {46, 4, 16},   {50, 4, 16}};
  for (const auto& field : fields) EXPECT_EQ(le(field[0], static_cast<int>(field[1])), field[2]) << field[0];
  EXPECT_EQ(log(),
            "Struct Sizes:\n bmfh = 14, bmih = 40, acolors = 64\n"
            "DWORD = 4, MXWORD = 2, MXBYTE = 1\n");

  // The colour table: blue, green, red, 0 at four times the components.
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(le(54 + 4 * i, 4), static_cast<uint32_t>(shown(i, 2) | shown(i, 1) << 8 | shown(i, 0) << 16)) << i;
  // Rows from the bottom, two pixels a byte, the left one in the high half.
  EXPECT_EQ(first_wrong_pixel([&](int x, int y) {
              return (f[118 + (H - 1 - y) * 320 + x / 2] >> (x % 2 ? 0 : 4) & 15) == g_content[y][x];
            }),
            "");
}

// Ghostscript's rendering of an EPS file at 72 dots an inch, cropped to its box,
// as a binary PPM. Ghostscript prints the screen turned a quarter to the left, so
// in the 480 x 640 rendering screen pixel (x, y) lands at column y of row 639 - x.
std::vector<uint8_t> ghostscript(const std::string& eps) {
  if (std::system(("gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -r72 -sDEVICE=ppmraw -sOutputFile=out.ppm '" + eps +
                   "' >/dev/null 2>&1").c_str()))
    return {};
  const std::vector<uint8_t> ppm = read_bytes("out.ppm");
  const size_t n = 480u * 640 * 3;  // after the header, which ends with the size and the largest value
  if (ppm.size() <= n + 12 || std::string(ppm.end() - n - 12, ppm.end() - n) != "480 640\n255\n") return {};
  return std::vector<uint8_t>(ppm.end() - n, ppm.end());
}

// Both PostScript kinds, read by Ghostscript: grey as 0.31 red + 0.5 green + 0.18
// blue of the screen colour; colour as the screen colour; and, with the
// interpreter's colorimage hidden, the colour file's own replacement draws the
// picture in grey as (20 red + 32 green + 12 blue) / 64. Hex lines hold 33 bytes
// (66 digits): a row is 19 full lines of grey or 58 of colour and a shorter rest.
TEST_F(ScreenDumpTest, PostScriptDumpsPrintAsTheScreen) {
  const struct {
    int type;
    bool hide_colorimage;
    size_t full_lines;
    int (*grey)(int index);  // nullptr: in colour
  } cases[] = {{PS_GRAY, false, 480 * 19, [](int i) {
                  return static_cast<int>(0.31 * shown(i, 0) + 0.5 * shown(i, 1) + 0.18 * shown(i, 2));
                }},
               {PS_COLOR, false, 480 * 58, nullptr},
               {PS_COLOR, true, 480 * 58, [](int i) { return (20 * shown(i, 0) + 32 * shown(i, 1) + 12 * shown(i, 2)) / 64; }}};
  for (const auto& c : cases) {
    const std::string name = dump(c.type);
    ASSERT_NE(name, "");
    std::string text = read_text_file(name);
    EXPECT_EQ(text.substr(0, 24), "%!PS-Adobe-2.0 EPSF-2.0\n");
    EXPECT_EQ(text.substr(text.size() - 10), "%%Trailer\n");
    const auto lines = lines_of(text);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.size() == 66; }),
              static_cast<long>(c.full_lines)) << name;
    if (c.hide_colorimage) text.replace(text.find("/colorimage where"), 17, "/colorimage_x where");
    { std::ofstream("print.ps", std::ios::binary) << text; }
    const std::vector<uint8_t> r = ghostscript("print.ps");
    ASSERT_EQ(r.size(), 480u * 640 * 3) << name << ": gs could not render the file";
    EXPECT_EQ(first_wrong_pixel([&](int x, int y) {
                const int k = g_content[y][x];
                const uint8_t* p = &r[(static_cast<size_t>(W - 1 - x) * H + y) * 3];
                const int g = c.grey ? c.grey(k) : -1;
                return c.grey ? p[0] == g && p[1] == g && p[2] == g
                              : p[0] == shown(k, 0) && p[1] == shown(k, 1) && p[2] == shown(k, 2);
              }),
              "")
        << name;
  }
  EXPECT_EQ(g_marked_rows, H);
  EXPECT_EQ(g_repaints, 3);
  EXPECT_EQ(log(), "");
}

// The GIF dump with a window other than "root" current and a colour other than
// white chosen: each row is marked when the next one starts (all but the last);
// window and pen come back. Header and screen descriptor (640 x 480, a table of 16
// colours, resolution 6), the table rescaled by x * 255 / 63 and truncated, the
// image at 0, 0 with least code size 4, the clear code 16 first in 5 bits, the
// trailer last; and giflib reads the screen back.
TEST_F(ScreenDumpTest, GifBytesAndPixelsAndPenAndWindowRestored) {
  MXsetcurrentnamedwindow("panel");
  MXsetcolor(5);
  const std::string name = dump(GIF_16);
  char window[64] = "";
  MXgetcurrentwindowname(window);
  ASSERT_EQ(name, "vkshot00.gif");
  EXPECT_EQ(g_repaints, 1);
  EXPECT_EQ(g_marked_rows, H - 1);
  EXPECT_STREQ(window, "panel");
  EXPECT_EQ(MXgetcolor(), 5);
  MXsetcurrentnamedwindow("root");
  const std::vector<uint8_t> f = read_bytes(name);
  ASSERT_GT(f.size(), 74u);
  EXPECT_EQ(std::vector<uint8_t>(f.begin(), f.begin() + 13),
            (std::vector<uint8_t>{'G', 'I', 'F', '8', '7', 'a', 0x80, 0x02, 0xE0, 0x01, 0xD3, 0, 0}));
  for (int i = 0; i < 48; ++i) EXPECT_EQ(f[13 + i], Interface_Palette[i] * 255 / 63) << i;
  EXPECT_EQ(std::vector<uint8_t>(f.begin() + 61, f.begin() + 72),
            (std::vector<uint8_t>{',', 0, 0, 0, 0, 0x80, 0x02, 0xE0, 0x01, 0, 4}));
  EXPECT_EQ(f[73] & 0x1F, 16);
  EXPECT_EQ(f.back(), ';');
  const GiflibPicture g = read_with_giflib(name);
  EXPECT_EQ(g.error, 0);
  EXPECT_TRUE(g.pixels == std::vector<uint8_t>(&g_content[0][0], &g_content[0][0] + W * H)) << "pixels differ";
  EXPECT_EQ(log(), "");
}

}  // namespace
