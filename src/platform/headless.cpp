// The headless backend: events from an in-process queue and a script, the virtual
// clock (10 ms per idle event), counters of bells and clicks, and PNG screenshots.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <sstream>

#include "base/clock.h"
#include "base/log.h"
#include "platform/platform_headless.h"
#include "platform/platform_internal.h"
#include "platform/png_writer.h"
#include "platform/text_codes.h"

namespace {

std::deque<MXEvent> queue;
std::vector<MXPScriptCommand> script;
size_t script_pos = 0;
bool script_mode = false;  // running out of input ends the program
long pending_idles = 0;    // from a wait command
int bells = 0, clicks = 0;
void (*screenshot_taker)(const char* path) = nullptr;

MXEvent make_event(int type, int key, int x, int y) {
  return {static_cast<int8_t>(type), static_cast<int8_t>(key), static_cast<int16_t>(x),
          static_cast<int16_t>(y)};
}

// Named keys of the script.
struct NamedKey {
  const char* name;
  int code;
};
constexpr NamedKey kNamedKeys[] = {
    {"backspace", 8}, {"delete", 8},  {"tab", 9},     {"return", 13}, {"enter", 13},
    {"escape", 27},   {"esc", 27},    {"space", 32},  {"left", 28},   {"right", 29},
    {"up", 30},       {"down", 31},   {"pageup", 30}, {"pagedown", 31}, {"f1", 0},
};

bool parse_long(const std::string& word, long lo, long hi, long* value) {
  if (word.empty() || word.size() > 12) return false;
  size_t i = word[0] == '-' ? 1 : 0;
  if (i == word.size()) return false;
  for (size_t k = i; k < word.size(); ++k)
    if (!std::isdigit(static_cast<unsigned char>(word[k]))) return false;
  const long v = std::strtol(word.c_str(), nullptr, 10);
  if (v < lo || v > hi) return false;
  *value = v;
  return true;
}

// Script text in UTF-8 (as editors write it) becomes the 8-bit codes of key
// events; text that is not valid UTF-8 is taken byte by byte.
std::string key_codes(const std::string& text) {
  bool ascii = true, valid = true;
  for (size_t i = 0; i < text.size() && valid;) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const size_t len = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (len == 0 || i + len > text.size()) valid = false;
    for (size_t k = 1; valid && k < len; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) valid = false;
    ascii = ascii && len == 1;
    i += len == 0 ? 1 : len;
  }
  if (ascii || !valid) return text;
  std::vector<unsigned char> codes(text.size());
  const int n = MXPtext_input_codes(text.c_str(), codes.data(), static_cast<int>(codes.size()));
  return std::string(codes.begin(), codes.begin() + n);
}

bool parse_key(const std::string& word, long* code) {
  if (parse_long(word, 0, 255, code)) return true;
  std::string lower;
  for (char c : word) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const NamedKey& k : kNamedKeys)
    if (lower == k.name) {
      *code = k.code;
      return true;
    }
  if (lower.size() == 6 && lower.compare(0, 5, "ctrl-") == 0 && lower[5] >= 'a' && lower[5] <= 'z') {
    *code = lower[5] - 'a' + 1;
    return true;
  }
  const std::string one = key_codes(word);
  if (one.size() == 1) {
    *code = static_cast<unsigned char>(one[0]);
    return true;
  }
  return false;
}

void write_screenshot(const std::string& path) {
  if (screenshot_taker != nullptr) return screenshot_taker(path.c_str());
  if (!MXPwrite_screen_png(path.c_str()))
    MXelog(0, "Could not write the screenshot %s.\n", path.c_str());
}

// Runs script commands until one has queued input; false when the script is used up.
bool run_script() {
  while (script_pos < script.size()) {
    const MXPScriptCommand& c = script[script_pos++];
    switch (c.kind) {
      case SCRIPT_NOTHING:
        break;
      case SCRIPT_WAIT:
        pending_idles = (c.number + 9) / 10;
        if (pending_idles > 0) return true;
        break;
      case SCRIPT_MOVE:
        queue.push_back(make_event(MX_IDLE, 0, c.x, c.y));
        return true;
      case SCRIPT_PRESS:
        queue.push_back(make_event(MX_PRESS, 0, c.x, c.y));
        return true;
      case SCRIPT_RELEASE:
        queue.push_back(make_event(MX_RELEASE, 0, c.x, c.y));
        return true;
      case SCRIPT_CLICK:
        queue.push_back(make_event(MX_PRESS, 0, c.x, c.y));
        queue.push_back(make_event(MX_RELEASE, 0, c.x, c.y));
        return true;
      case SCRIPT_KEY:
        MXPheadless_key(static_cast<int>(c.number));
        return true;
      case SCRIPT_TYPE:
        for (char ch : c.text) MXPheadless_key(static_cast<unsigned char>(ch));
        if (!c.text.empty()) return true;
        break;
      case SCRIPT_EXPOSE:
        queue.push_back(make_event(MX_EXPOSE, 0, 0, 0));
        return true;
      case SCRIPT_SCREENSHOT:
        write_screenshot(c.text);
        break;
      case SCRIPT_CLOSE:
        MXPclose_request();
        return true;
      case SCRIPT_QUIT:
        MXPquit_program();
    }
  }
  return false;
}

void idle_tick() {
  gCurEvent.type = MX_IDLE;
  MXPadvance_clock(10);
  gCurEvent.time = MXPclock_ms();
}

const char* headless_open(const char*) {
  queue.clear();
  pending_idles = 0;
  bells = clicks = 0;
  MXPuse_virtual_clock(true);
  queue.push_back(make_event(MX_EXPOSE, 0, 0, 0));
  // A program started with the variable runs its script, or nothing.
  const char* platform = std::getenv("VARNOCK_PLATFORM");
  const char* path = std::getenv("VARNOCK_SCRIPT");
  if (path != nullptr && *path != '\0') {
    std::ifstream in(path, std::ios::binary);
    if (!in) MXelog(-1, "Can't open the script file %s.\n", path);
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    if (!MXPheadless_set_script(text.str(), &error))
      MXelog(-1, "Error in the script file %s, %s.\n", path, error.c_str());
  } else if (platform != nullptr && std::strcmp(platform, "headless") == 0) {
    script.clear();
    script_pos = 0;
    script_mode = true;
  } else {
    script.clear();
    script_pos = 0;
    script_mode = false;
  }
  return nullptr;
}

void headless_close() {
  queue.clear();
  pending_idles = 0;
}

void headless_next_event() {
  if (queue.empty() && pending_idles == 0) {
    if (!run_script() && script_mode) MXPquit_program();
  }
  if (!queue.empty()) {
    const MXEvent e = queue.front();
    queue.pop_front();
    gCurEvent.type = e.type;
    gCurEvent.key = e.key;
    if (e.type != MX_KEY && e.type != MX_EXPOSE) {
      gCurEvent.mousex = e.mousex;
      gCurEvent.mousey = e.mousey;
    }
    if (e.type == MX_IDLE) MXPadvance_clock(10);
    gCurEvent.time = MXPclock_ms();
    return;
  }
  if (pending_idles > 0) --pending_idles;
  idle_tick();
}

void headless_bell() { ++bells; }
void headless_click() { ++clicks; }

}  // namespace

const MXPBackend MXPheadless_backend = {"headless", headless_open, headless_close,
                                        headless_next_event, headless_bell, headless_click,
                                        nullptr, nullptr};

void MXPheadless_post(const MXEvent& event) { queue.push_back(event); }
void MXPheadless_press(int x, int y) { queue.push_back(make_event(MX_PRESS, 0, x, y)); }
void MXPheadless_release(int x, int y) { queue.push_back(make_event(MX_RELEASE, 0, x, y)); }
void MXPheadless_move(int x, int y) { queue.push_back(make_event(MX_IDLE, 0, x, y)); }
void MXPheadless_key(int code) { queue.push_back(make_event(MX_KEY, code, 0, 0)); }

bool MXPheadless_pending() {
  return !queue.empty() || pending_idles > 0 || script_pos < script.size();
}

bool MXPparse_script_line(const std::string& line, MXPScriptCommand* command, std::string* error) {
  *command = MXPScriptCommand{};
  std::istringstream in(line);
  std::string verb;
  if (!(in >> verb) || verb[0] == '#') return true;
  std::vector<std::string> args;
  for (std::string w; in >> w;) args.push_back(w);
  auto fail = [&](const std::string& why) {
    *error = why;
    return false;
  };
  auto want = [&](size_t n) {
    if (args.size() == n) return true;
    *error = "\"" + verb + "\" takes " + std::to_string(n) + (n == 1 ? " argument" : " arguments");
    return false;
  };
  auto position = [&]() {
    if (!want(2)) return false;
    long x = 0, y = 0;
    if (!parse_long(args[0], -32768, 32767, &x) || !parse_long(args[1], -32768, 32767, &y))
      return fail("bad position \"" + args[0] + " " + args[1] + "\"");
    command->x = static_cast<int>(x);
    command->y = static_cast<int>(y);
    return true;
  };
  if (verb == "wait") {
    if (!want(1)) return false;
    if (!parse_long(args[0], 0, 86400000, &command->number))
      return fail("bad time \"" + args[0] + "\"");
    command->kind = SCRIPT_WAIT;
    return true;
  }
  if (verb == "move" || verb == "press" || verb == "release" || verb == "click") {
    if (!position()) return false;
    command->kind = verb == "move"    ? SCRIPT_MOVE
                    : verb == "press" ? SCRIPT_PRESS
                    : verb == "release" ? SCRIPT_RELEASE
                                        : SCRIPT_CLICK;
    return true;
  }
  if (verb == "key") {
    if (!want(1)) return false;
    if (!parse_key(args[0], &command->number)) return fail("unknown key \"" + args[0] + "\"");
    command->kind = SCRIPT_KEY;
    return true;
  }
  if (verb == "type") {
    // The text is the rest of the line after one blank, taken as it stands.
    const size_t at = line.find("type") + 4;
    command->text = at < line.size() ? line.substr(at + 1) : "";
    if (!command->text.empty() && command->text.back() == '\r') command->text.pop_back();
    command->text = key_codes(command->text);
    command->kind = SCRIPT_TYPE;
    return true;
  }
  if (verb == "expose" || verb == "quit" || verb == "close") {
    if (!want(0)) return false;
    command->kind = verb == "expose" ? SCRIPT_EXPOSE : verb == "quit" ? SCRIPT_QUIT : SCRIPT_CLOSE;
    return true;
  }
  if (verb == "screenshot") {
    if (!want(1)) return false;
    command->text = args[0];
    command->kind = SCRIPT_SCREENSHOT;
    return true;
  }
  return fail("unknown command \"" + verb + "\"");
}

bool MXPparse_script(const std::string& text, std::vector<MXPScriptCommand>* commands,
                     std::string* error) {
  commands->clear();
  std::istringstream in(text);
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    MXPScriptCommand c;
    std::string why;
    if (!MXPparse_script_line(line, &c, &why)) {
      *error = "line " + std::to_string(number) + ": " + why;
      return false;
    }
    if (c.kind != SCRIPT_NOTHING) commands->push_back(c);
  }
  return true;
}

bool MXPheadless_set_script(const std::string& text, std::string* error) {
  std::vector<MXPScriptCommand> parsed;
  std::string why;
  if (!MXPparse_script(text, &parsed, &why)) {
    if (error != nullptr) *error = why;
    return false;
  }
  script = std::move(parsed);
  script_pos = 0;
  script_mode = true;
  return true;
}

void MXPheadless_set_screenshot_taker(void (*take)(const char* path)) { screenshot_taker = take; }

int MXPheadless_bells() { return bells; }
int MXPheadless_clicks() { return clicks; }

int MXPwrite_screen_png(const char* path) {
  uint8_t rgb[768];
  for (int i = 0; i < 256; ++i) {
    const MXPRgb c = MXPdisplay_color(i);
    rgb[3 * i] = c.r;
    rgb[3 * i + 1] = c.g;
    rgb[3 * i + 2] = c.b;
  }
  return MXPwrite_png(path, MXP_SCREEN_WIDTH, MXP_SCREEN_HEIGHT, &MXPscreen[0][0], rgb);
}
