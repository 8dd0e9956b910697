// Fuzz target: arbitrary bytes parsed as a headless input script; every command
// that parses must hold values its runner can use.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/platform_headless.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<MXPScriptCommand> commands;
  std::string error;
  if (!MXPparse_script(text, &commands, &error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  for (const MXPScriptCommand& c : commands) {
    if (c.kind == SCRIPT_NOTHING) std::abort();
    if (c.kind == SCRIPT_KEY && (c.number < 0 || c.number > 255)) std::abort();
    if (c.kind == SCRIPT_WAIT && c.number < 0) std::abort();
    if (c.x < -32768 || c.x > 32767 || c.y < -32768 || c.y > 32767) std::abort();
    if (c.kind == SCRIPT_SCREENSHOT && c.text.empty()) std::abort();
  }
  return 0;
}
