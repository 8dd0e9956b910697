// Reading config.mcf: each known key overrides one name or switch of start-up;
// unknown keys are passed over.
#include "startup/config.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "base/log.h"
#include "base/text.h"
#include "startup/filenames.h"

namespace {

struct NameKey {
  const char* key;
  std::string* name;
  bool in_data;  // a path or file of the data directory; else a name joined to a path
};

const NameKey name_keys[] = {
    {"listname=", &Listname, false},         {"datapath=", &Datapath, true},
    {"listpath=", &Listpath, true},          {"infopath=", &Infopath, true},
    {"imagepath=", &Imagepath, true},        {"interfacefile=", &InterfaceFile, true},
    {"instructionfile=", &Introfilename, false}, {"countryfile=", &Countryfilename, false},
    {"regionfile=", &Regionfilename, false}, {"todaypath=", &Todaypath, true},
};

GraphicsFileType graphics_file_type(const char* word) {
  if (MXstricmp(word, "BMP16") == 0) return BMP_16;
  if (MXstricmp(word, "PSGREY") == 0) return PS_GRAY;
  if (MXstricmp(word, "PSCOLOR") == 0) return PS_COLOR;
  if (MXstricmp(word, "GIF16") == 0) return GIF_16;
  return NO_FILE;
}

}  // namespace

int config_reader(const char* key, ReaderStatusType status, void*) {
  if (status != READ_PROCESS) return 1;
  char value[CONFIG_VALUE_MAX + 1];
  for (const NameKey& entry : name_keys) {
    if (MXstricmp(key, entry.key) == 0) {
      if (!MXrdword(value, CONFIG_VALUE_MAX)) return 0;
      // Relative paths are relative to the data directory.
      *entry.name = entry.in_data && value[0] != '/' ? DataDir + value : std::string(value);
      return 1;
    }
  }
  if (MXstricmp(key, "bstore=") == 0) {
    Use_bstore = MXrdboolean();
  } else if (MXstricmp(key, "fpu=") == 0) {
    HasFPU = MXrdboolean();
  } else if (MXstricmp(key, "todayyear=") == 0) {
    // A second starting point must lie on the five-year grid of the data, after 1990.
    const long year = MXrdinteger();
    Todayyear = year > 1990 && year <= 2100 && year % 5 == 0 ? static_cast<int>(year) : 0;
  } else if (MXstricmp(key, "graphfileformat=") == 0) {
    if (!MXrdword(value, CONFIG_VALUE_MAX)) return 0;
    GraphFileFmt = graphics_file_type(value);
  }
  return 1;
}

int start_setting_reader(const char* key, ReaderStatusType status, void* data) {
  if (status != READ_PROCESS || !key || MXstricmp(key, "baseyear=") != 0) return 1;
  const long year = MXrdinteger();
  if (data) *static_cast<long*>(data) = year;
  return 1;
}

void configure() {
  std::string path = DataDir + "config.mcf";
  // Closed on every way out, also when a fatal entry is turned into an exception.
  std::unique_ptr<FILE, int (*)(FILE*)> file(fopen(path.c_str(), "r"), fclose);
  if (!file) {
    // Not an error in itself (the built-in names serve a program started in its data
    // directory), but the first file then missing must say why it was looked for there.
    const int err = errno;
    std::error_code ec;
    const std::filesystem::path where = std::filesystem::absolute(path, ec);
    ConfigNote = "The configuration file |" + (ec ? path : where.string()) + "| could not be read (" +
                 std::strerror(err) + "); the built-in file names are in use.\n";
    return;
  }
  int ok = MXgenreader(file.get(), config_reader, "VK_config", nullptr);
  file.reset();
  if (!ok) MXelog(-1, "Error while reading configuration file |%s|\n", path.c_str());
}
