// Tests of the screen dumps: the choice of a new numbered file name, the BMP,
// PostScript and GIF files (taken apart byte by byte and line by line, the GIF read
// back by giflib, the PostScript's grey fallback rendered by Ghostscript), the
// progress marks and the frame around every writer, failures reported in
// error.log, and the dump of the program's own screen on the headless display.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

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
constexpr int kWhite = 15;

// The screen: what the application shows, and the pixels as they are now (with
// the progress marks). The repaint after a dump puts the content back.
unsigned char g_content[H][W];
unsigned char g_shown[H][W];
unsigned char g_palette[256 * 3];
int g_begins = 0, g_ends = 0, g_points = 0;
int g_marked_rows = 0;  // rows that carried a full mark when the writer ended

unsigned char* test_get_row(int y, unsigned char* buffer) {
  std::memcpy(buffer, g_shown[y], W);
  return buffer;
}
void test_draw_point(int x, int y) {
  ++g_points;
  if (x >= 0 && x < W && y >= 0 && y < H) g_shown[y][x] = kWhite;
}
void test_begin() { ++g_begins; }
void test_end() {
  ++g_ends;
  g_marked_rows = 0;
  for (int y = 0; y < H; ++y) {
    bool marked = true;
    for (int i = 0; i <= 4; ++i) marked = marked && g_shown[y][i] == kWhite && (i == 0 || g_shown[y][W - i] == kWhite);
    g_marked_rows += marked;
  }
  std::memcpy(g_shown, g_content, sizeof g_shown);
}

// Sixteen colours of 6-bit components; entry 1 holds 63, 0 and 32.
const unsigned char kColors[16][3] = {{0, 0, 0},    {63, 0, 32},   {0, 42, 0},    {0, 42, 42},
                                      {42, 0, 0},   {42, 0, 42},   {42, 21, 0},   {42, 42, 42},
                                      {21, 21, 21}, {21, 21, 63},  {21, 63, 21},  {21, 63, 63},
                                      {63, 21, 21}, {63, 21, 63},  {63, 63, 21},  {63, 63, 63}};

// Shows noise in the sixteen colours: every colour everywhere, nothing a format
// could compress into a few kilobytes (an unmarked row shows nine white edge pixels
// by chance once in 16^9).
void show_noise() {
  std::mt19937 rng(2050);
  for (auto& row : g_content)
    for (auto& p : row) p = static_cast<unsigned char>(rng() % 16);
  std::memcpy(g_shown, g_content, sizeof g_shown);
  g_begins = g_ends = g_points = g_marked_rows = 0;
}

std::string read_text(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> read_bytes(const std::string& name) {
  const std::string s = read_text(name);
  return std::vector<uint8_t>(s.begin(), s.end());
}

int run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

// "" when ok(x, y) holds for every screen pixel, else the first pixel where it fails.
template <class Check>
std::string first_wrong_pixel(Check ok) {
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      if (!ok(x, y)) return std::to_string(x) + "," + std::to_string(y);
  return "";
}

bool rgb_is(const uint8_t* p, int red, int green, int blue) { return p[0] == red && p[1] == green && p[2] == blue; }

int grey_of(int index) {
  const unsigned char* c = kColors[index];
  return static_cast<int>(0.31 * (c[0] * 4) + 0.5 * (c[1] * 4) + 0.18 * (c[2] * 4));
}

// Ghostscript's rendering of an EPS file at 72 dots an inch, cropped to its box,
// as a binary PPM. Ghostscript prints the screen turned a quarter to the left, so
// in the 480 x 640 rendering screen pixel (x, y) lands at column y of row 639 - x;
// at() takes screen coordinates.
struct Raster {
  int width = 0, height = 0;
  std::vector<uint8_t> data;
  const uint8_t* at(int x, int y) const { return &data[(static_cast<size_t>(W - 1 - x) * width + y) * 3]; }
};

Raster ghostscript(const std::string& eps) {
  Raster r;
  if (run("gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -r72 -sDEVICE=ppmraw -sOutputFile=out.ppm '" + eps + "'"))
    return r;
  std::ifstream in("out.ppm", std::ios::binary);
  auto word = [&in]() {  // a header word, after blanks and "#" comment lines
    std::string w;
    while (in >> w && w[0] == '#') std::getline(in, w);
    return w;
  };
  const std::string magic = word();
  r.width = std::atoi(word().c_str());
  r.height = std::atoi(word().c_str());
  const std::string maxval = word();
  in.get();
  r.data.resize(static_cast<size_t>(r.width) * r.height * 3);
  in.read(reinterpret_cast<char*>(r.data.data()), static_cast<std::streamsize>(r.data.size()));
  if (magic != "P6" || maxval != "255" || !in) return Raster{};
  return r;
}

// Every test runs in a directory of its own; error.log lives in the directory
// above, open for the whole run.
fs::path g_root;

class DumpEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    char pattern[] = "/tmp/screen_dump_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    g_root = pattern;
    fs::current_path(g_root);
    ASSERT_EQ(init_error_log("w"), 1);
    for (int i = 0; i < 256; ++i)
      for (int k = 0; k < 3; ++k)
        g_palette[3 * i + k] = i < 16 ? kColors[i][k] : static_cast<unsigned char>((i * (k + 3)) % 64);
    const ScreenDumpSource source{test_get_row, g_palette, test_draw_point, test_begin, test_end};
    MXsetscreendumpsource(&source);
  }
  void TearDown() override {
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
    show_noise();
  }
  void TearDown() override { fs::current_path(g_root); }
  // What the dumps wrote to error.log during this test.
  std::string log() const { return read_text((g_root / "error.log").string()).substr(log_start_); }
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

TEST_F(ScreenDumpTest, TakesTheFirstFreeNumberPerExtension) {
  { std::ofstream("vkshot00.bmp") << "first"; }
  { std::ofstream("vkshot01.bmp") << "second"; }
  char name[32] = "vkshot";
  ASSERT_EQ(MXdumpscreen(name, BMP_16), 1);
  EXPECT_STREQ(name, "vkshot02.bmp");
  EXPECT_EQ(read_text("vkshot00.bmp"), "first");
  EXPECT_EQ(read_text("vkshot01.bmp"), "second");
  EXPECT_EQ(fs::file_size("vkshot02.bmp"), 118u + 153600u);

  EXPECT_EQ(dump(PS_COLOR), "vkshot00.ps");
  EXPECT_EQ(dump(GIF_16), "vkshot00.gif");
  EXPECT_EQ(dump(PS_GRAY), "vkshot01.ps");  // both PostScript kinds share ".ps"
  EXPECT_EQ(dump(GIF_16), "vkshot01.gif");
  EXPECT_EQ(dump(BMP_16), "vkshot03.bmp");
  fs::create_directory("shots");  // the directory of the base name is kept
  EXPECT_EQ(dump(GIF_16, "shots/vkshot"), "shots/vkshot00.gif");
  EXPECT_TRUE(fs::exists("shots/vkshot00.gif"));
}

TEST_F(ScreenDumpTest, NeverOverwritesANameThatExistsButCannotBeRead) {
  // A file without read permission (readable anyway when running as root) and a
  // link to a file that does not exist both hold their names.
  { std::ofstream("vkshot00.ps") << "private"; }
  fs::permissions("vkshot00.ps", fs::perms::none);
  fs::create_symlink("elsewhere.ps", "vkshot01.ps");
  EXPECT_EQ(dump(PS_GRAY), "vkshot02.ps");
  fs::permissions("vkshot00.ps", fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(read_text("vkshot00.ps"), "private");
  EXPECT_FALSE(fs::exists("elsewhere.ps"));  // the link was not followed

  fs::create_symlink("elsewhere.gif", "vkshot00.gif");
  EXPECT_EQ(dump(GIF_16), "vkshot01.gif");
  EXPECT_FALSE(fs::exists("elsewhere.gif"));
}

// Nothing is written, the name stays as it was and the screen is not touched
// when the type is not one of the four formats, all hundred names are taken, or
// the directory refuses new files (/proc does, even to root).
TEST_F(ScreenDumpTest, ReportsDumpsThatCannotStart) {
  for (int type : {0, 5, -1}) {
    char name[32] = "vkshot";
    EXPECT_EQ(MXdumpscreen(name, type), 0) << type;
    EXPECT_STREQ(name, "vkshot");
  }
  EXPECT_TRUE(fs::is_empty(dir_));
  for (int n = 0; n < 100; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "vkshot%02d.gif", n);
    std::ofstream(name) << n;
  }
  char name[32] = "vkshot";
  EXPECT_EQ(MXdumpscreen(name, GIF_16), 0);
  EXPECT_STREQ(name, "vkshot");
  EXPECT_EQ(read_text("vkshot99.gif"), "99");
  EXPECT_EQ(dump(BMP_16, "/proc/vkshot"), "");
  EXPECT_EQ(dump(GIF_16, "/proc/vkshot"), "");
  EXPECT_EQ(dump(PS_COLOR, "missing/vkshot"), "");
  const std::string not_copied = "Error:  Screen not copied to output file.\n";
  EXPECT_EQ(log(), "Invalid screen save file type.\nInvalid screen save file type.\nInvalid screen save file type.\n" +
                       not_copied + "Cannot open graphics output file |/proc/vkshot00.bmp|.\n" + not_copied +
                       "Cannot open graphics output file |/proc/vkshot00.gif|.\n" + not_copied +
                       "Cannot open graphics output file |missing/vkshot00.ps|.\n" + not_copied);
  EXPECT_EQ(g_begins, 0);
  if (geteuid() != 0) {  // permissions bind everyone but root
    fs::create_directory("locked");
    fs::permissions("locked", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(dump(GIF_16, "locked/vkshot"), "");
    fs::permissions("locked", fs::perms::owner_all);
  }
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
  size_t failures = 0;
  for (size_t at = 0; (at = text.find("Error:  Screen not copied to output file.\n", at)) != std::string::npos; ++at)
    ++failures;
  EXPECT_EQ(failures, 4u);
  // The partial files stay, and every writer still repainted the screen.
  EXPECT_TRUE(fs::exists("vkshot00.bmp") && fs::exists("vkshot00.ps") && fs::exists("vkshot01.ps") &&
              fs::exists("vkshot00.gif"));
  EXPECT_EQ(g_begins, 4);
  EXPECT_EQ(g_ends, 4);
}

// The formats --------------------------------------------------------------------------

uint32_t le(const std::vector<uint8_t>& f, size_t at, int n) {
  uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | f[at + i];
  return v;
}

TEST_F(ScreenDumpTest, BmpHeaderColourTableAndPixels) {
  ASSERT_EQ(dump(BMP_16), "vkshot00.bmp");
  // Every row marked while writing (five points at each edge, one of them just
  // off the screen), and one repaint.
  EXPECT_EQ(g_points, 480 * 10);
  EXPECT_EQ(g_marked_rows, 480);
  EXPECT_EQ(g_begins + g_ends, 2);
  EXPECT_EQ(std::memcmp(g_shown, g_content, sizeof g_shown), 0);
  const auto f = read_bytes("vkshot00.bmp");
  ASSERT_EQ(f.size(), 153718u);
  EXPECT_EQ(f[0], 'B');
  EXPECT_EQ(f[1], 'M');
  // Offset, size and value of each header field.
  const uint32_t fields[][3] = {{2, 4, 153718}, {6, 4, 0},  {10, 4, 118},  {14, 4, 40},  {18, 4, 640},
                                {22, 4, 480},   {26, 2, 1}, {28, 2, 4},    {30, 4, 0},   {34, 4, 153600},
                                {38, 4, 0},     {42, 4, 0}, {46, 4, 16},   {50, 4, 16}};
  for (const auto& field : fields) EXPECT_EQ(le(f, field[0], static_cast<int>(field[1])), field[2]) << field[0];
  EXPECT_EQ(log(),
            "Struct Sizes:\n bmfh = 14, bmih = 40, acolors = 64\n"
            "DWORD = 4, MXWORD = 2, MXBYTE = 1\n");

  // The colour table: blue, green, red, 0 at four times the components.
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(le(f, 54 + 4 * i, 4), kColors[i][2] * 4u | kColors[i][1] * 4u << 8 | kColors[i][0] * 4u << 16) << i;
  // Rows from the bottom, two pixels a byte, the left one in the high half.
  EXPECT_EQ(first_wrong_pixel([&](int x, int y) {
              return (f[118 + (H - 1 - y) * 320 + x / 2] >> (x % 2 ? 0 : 4) & 15) == g_content[y][x];
            }),
            "");
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

const std::vector<std::string> kGrayPreamble = {
    "%!PS-Adobe-2.0 EPSF-2.0", "%%Creator: Marlix Interface Library -- Project Marlix",
    "%%BoundingBox: 66 76 546 716", "%%Pages: 1", "%%DocumentFonts:", "%%EndComments", "%%EndProlog", "",
    "%%Page: 1 1", "", "% remember original state", "/origstate save def", "",
    "% build a temporary dictionary", "20 dict begin", "",
    "% define string to hold a scanline's worth of data", "/pix 640 string def", "",
    "% print in landscape mode", "90 rotate 0 -612 translate", "", "% lower left corner", "76 66 translate", "",
    "% size of image (on paper, in 1/72inch coords)", "640.00800 480.02400 scale", "",
    "640 480 8                       % dimensions of data", "[640 0 0 -480 0 480]            % mapping matrix",
    "{currentfile pix readhexstring pop}", "image", "", ""};

const std::vector<std::string> kPostamble = {
    "showpage", "", "% stop using temporary dictionary", "end", "", "% restore original state", "origstate restore",
    "",         "%%Trailer"};

// From line `first` on: the screen's pixels as hex digits, per row full lines of
// `per_line` pixels and then the rest, then the postamble.
void expect_pixel_lines(const std::vector<std::string>& lines, size_t first, int per_line, bool color) {
  std::vector<std::string> expected;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; x += per_line) {
      std::string line;
      for (int i = x; i < std::min(W, x + per_line); ++i) {
        const unsigned char* c = kColors[g_content[y][i]];
        char hex[16];
        if (color)
          std::snprintf(hex, sizeof hex, "%02x%02x%02x", c[0] * 4, c[1] * 4, c[2] * 4);
        else
          std::snprintf(hex, sizeof hex, "%02x", grey_of(g_content[y][i]));
        line += hex;
      }
      expected.push_back(line);
    }
  expected.insert(expected.end(), kPostamble.begin(), kPostamble.end());
  ASSERT_EQ(lines.size(), first + expected.size());
  for (size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(lines[first + i], expected[i]) << "line " << first + i;
}

TEST_F(ScreenDumpTest, GreyPostScriptLineByLine) {
  ASSERT_EQ(dump(PS_GRAY), "vkshot00.ps");
  EXPECT_EQ(g_marked_rows, 480);
  EXPECT_EQ(g_ends, 1);
  const std::string text = read_text("vkshot00.ps");
  ASSERT_EQ(text.back(), '\n');
  const auto lines = lines_of(text);
  ASSERT_GT(lines.size(), kGrayPreamble.size());
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 34), kGrayPreamble);
  expect_pixel_lines(lines, 34, 33, false);  // 640 grey pixels: 19 lines of 33 and one of 13
  EXPECT_EQ(log(), "");
}

TEST_F(ScreenDumpTest, ColourPostScriptLineByLineAndItsGreyFallback) {
  ASSERT_EQ(dump(PS_COLOR), "vkshot00.ps");
  const std::string text = read_text("vkshot00.ps");
  const auto lines = lines_of(text);
  std::vector<std::string> head(kGrayPreamble.begin(), kGrayPreamble.begin() + 27);
  head[17] = "/pix 1920 string def";
  ASSERT_GT(lines.size(), 40u);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 27), head);
  EXPECT_EQ(lines[27], "");
  EXPECT_EQ(lines[28], "% define 'colorimage' if it isn't defined");
  EXPECT_EQ(lines[29], "/colorimage where   % do we know about 'colorimage'?");
  EXPECT_EQ(lines[30], "  { pop }           % yes: pop off the 'dict' returned");
  size_t end = 0;
  for (size_t i = 31; i < lines.size() && !end; ++i)
    if (lines[i] == "  } ifelse          % end of 'false' case") end = i;
  ASSERT_NE(end, 0u);
  const std::vector<std::string> tail = {"", "", "", "640 480 8                       % dimensions of data",
                                         "[640 0 0 -480 0 480]            % mapping matrix",
                                         "{currentfile pix readhexstring pop}", "false 3 colorimage", "", ""};
  EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<long>(end) + 1,
                                     lines.begin() + static_cast<long>(end) + 10),
            tail);
  expect_pixel_lines(lines, end + 10, 11, true);  // 11 pixels (66 hex digits) a line; 640 = 58 x 11 + 2

  // Read by Ghostscript with its colorimage hidden, the file's own replacement
  // draws the picture in grey.
  // With the interpreter's colorimage hidden, the file's own replacement draws the
  // picture in grey.
  std::string plain = text;
  plain.replace(plain.find("/colorimage where"), 17, "/colorimage_x where");
  { std::ofstream("plain.ps", std::ios::binary) << plain; }
  const Raster r = ghostscript("plain.ps");
  ASSERT_EQ(r.width, 480) << "gs could not render the file";
  EXPECT_EQ(first_wrong_pixel([&](int x, int y) {
              const unsigned char* c = kColors[g_content[y][x]];
              const int grey = (20 * c[0] * 4 + 32 * c[1] * 4 + 12 * c[2] * 4) / 64;
              return rgb_is(r.at(x, y), grey, grey, grey);
            }),
            "");
}

bool rgb_is(const GifColorType& c, int red, int green, int blue) {
  return c.Red == red && c.Green == green && c.Blue == blue;
}

// giflib's reading of a dump: 640 x 480 pixels equal to content, and the colour
// table of the 6-bit palette rescaled by x * 255 / 63.
GiflibPicture expect_gif_is(const std::string& name, const unsigned char* content, const unsigned char* palette) {
  const GiflibPicture g = read_with_giflib(name);
  EXPECT_EQ(g.error, 0) << name;
  EXPECT_EQ(g.width, W);
  EXPECT_EQ(g.height, H);
  EXPECT_TRUE(g.pixels == std::vector<uint8_t>(content, content + W * H)) << name << ": pixels differ";
  EXPECT_EQ(g.colors.size(), 16u);
  for (size_t i = 0; i < std::min<size_t>(16, g.colors.size()); ++i)
    EXPECT_TRUE(rgb_is(g.colors[i], palette[3 * i] * 255 / 63, palette[3 * i + 1] * 255 / 63,
                       palette[3 * i + 2] * 255 / 63)) << i;
  return g;
}

TEST_F(ScreenDumpTest, GiflibReadsTheGifAsTheScreen) {
  ASSERT_EQ(dump(GIF_16), "vkshot00.gif");
  // The GIF callback marks a row when it starts the next one: the last row stays unmarked.
  EXPECT_EQ(g_points, 479 * 10);
  EXPECT_EQ(g_marked_rows, 479);
  EXPECT_EQ(g_begins + g_ends, 2);
  const GiflibPicture g = expect_gif_is("vkshot00.gif", &g_content[0][0], g_palette);
  ASSERT_GT(g.colors.size(), 1u);
  EXPECT_TRUE(rgb_is(g.colors[1], 255, 0, 129));  // colour 1 is (63, 0, 32)
  EXPECT_EQ(log(), "");
}

// The program's screen --------------------------------------------------------------------

struct Fatal {
  std::string text;
};
[[noreturn]] void throw_fatal(int, const char* text) { throw Fatal{text}; }

int g_repaints = 0;
int repaint(int, int, int, const char*) {
  ++g_repaints;
  return 1;
}

// The dump of the real screen: the library started headless on a small interface,
// pixels of every colour drawn through the platform layer, a window other than "root"
// current and a colour other than white chosen.
TEST_F(ScreenDumpTest, DumpsTheProgramScreenAndRestoresPenWindowAndRepaints) {
  std::ofstream("dump.inf") << "palette\n(ink 0 0 63)\n(leaf 10 50 20)\n(sand 63 48 32)\nend\n"
                               "redrawfunc(repaint)\n"
                               "window (root 0 0 640 480 black lgray black 0 1 0)\n"
                               "window (panel 100 100 200 150 black peach black 3 1 0)\n";
  static const IntrFunction table[] = {{"repaint", repaint}};
  MXsetfatalhandler(throw_fatal);
  MXPuse_headless(true);
  MXsetfunctiontable(table, 1);
  try {
    MXinterfaceinit("Demovar test", "dump.inf", 0, "a", 16);
  } catch (const Fatal& f) {
    FAIL() << f.text;
  }
  std::mt19937 rng(7);
  for (int i = 0; i < 20000; ++i) {
    MXsetcolor(static_cast<int>(rng() % 16));
    MXPdraw_pixel(static_cast<int>(rng() % W), static_cast<int>(rng() % H));
  }
  MXsetcurrentnamedwindow("panel");
  MXsetcolor(5);
  std::vector<unsigned char> before(W * H);
  for (int y = 0; y < H; ++y) MXPget_row(y, before.data() + y * W);

  MXsetscreendumpsource(nullptr);
  g_repaints = 0;
  char name[32] = "vkshot";
  const int gif = MXdumpscreen(name, GIF_16);
  // The repaint routine here leaves the progress marks, which the next dump sees.
  std::vector<unsigned char> between(W * H);
  for (int y = 0; y < H; ++y) MXPget_row(y, between.data() + y * W);
  std::snprintf(name, sizeof name, "vkshot");
  const int bmp = MXdumpscreen(name, BMP_16);
  char window[64] = "";
  MXgetcurrentwindowname(window);
  const int colour = MXgetcolor();
  const int white = MXconvertcolor("white");
  const int marked = MXPget_pixel(2, 100);
  std::vector<uint8_t> palette(Interface_Palette, Interface_Palette + 48);
  closegraph();
  MXfreeinterfacetables();
  MXsetfatalhandler(nullptr);
  const ScreenDumpSource source{test_get_row, g_palette, test_draw_point, test_begin, test_end};
  MXsetscreendumpsource(&source);

  ASSERT_EQ(gif, 1);
  ASSERT_EQ(bmp, 1);
  EXPECT_EQ(g_repaints, 2);
  EXPECT_STREQ(window, "panel");
  EXPECT_EQ(colour, 5);
  EXPECT_EQ(marked, white);
  for (int y = 0; y < H - 1; ++y)  // the GIF marks every row but the last
    for (int x : {0, 4, 636, 639}) ASSERT_EQ(between[y * W + x], white) << x << "," << y;

  expect_gif_is("vkshot00.gif", before.data(), palette.data());
  const auto f = read_bytes("vkshot00.bmp");
  ASSERT_EQ(f.size(), 153718u);
  for (int y = 0; y < H; ++y)
    for (int i = 0; i < W / 2; ++i)
      ASSERT_EQ(f[118 + (H - 1 - y) * 320 + i], between[y * W + 2 * i] << 4 | between[y * W + 2 * i + 1]) << y;
}

}  // namespace
