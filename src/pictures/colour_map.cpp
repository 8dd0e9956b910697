// Colour maps: country codes to palette indices through the country list.
#include "pictures/colour_map.h"

#include <cstdint>
#include <string>
#include <vector>

#include "base/log.h"
#include "pictures/run_length_picture.h"
#include "startup/country_list.h"
#include "ui/interface.h"

int convertpixel(long code) {
  if (code == 0) return Ocean;
  if (code == -1) return 0;
  if (!Country_list) return 255;
  const int entries = (Numregions > 0 ? Numregions : 0) + (Numcountries > 0 ? Numcountries : 0);
  for (int i = 0; i < entries; ++i)
    if (Country_list[i].code == code) return Country_list[i].color;
  return 255;
}

void makecmap(const char* name, int cols, int rows) {
  if (cols < 0 || rows < 0) MXelog(-1, "Not enough memory to make color map.\n");
  std::vector<uint32_t> codes(static_cast<size_t>(cols));
  std::vector<unsigned char> colours(static_cast<size_t>(cols));
  const std::string in_name = std::string(name) + ".img";
  const std::string out_name = std::string(name) + ".clr";
  FILE* in = MXopen(in_name.c_str(), "rb");
  if (!in) MXelog(-1, "Bad input file name |%s|.\n", in_name.c_str());
  FILE* out = MXopen(out_name.c_str(), "wb");
  if (!out) {
    std::fclose(in);
    MXelog(-1, "Bad output file name |%s|\n.", out_name.c_str());
  }
  for (int r = 0; r < rows; ++r) {
    // A short input would otherwise turn stale codes into colours.
    if (fread_long(codes.data(), codes.size(), in) != codes.size()) {
      std::fclose(in);
      std::fclose(out);
      MXelog(-1, "Color map input |%s| ends before row %d.\n", in_name.c_str(), r);
    }
    for (int c = 0; c < cols; ++c)
      colours[static_cast<size_t>(c)] = static_cast<unsigned char>(convertpixel(static_cast<int32_t>(codes[static_cast<size_t>(c)])));
    if (std::fwrite(colours.data(), 1, colours.size(), out) != colours.size()) {
      std::fclose(in);
      std::fclose(out);
      MXelog(-1, "Unable to write color map |%s|.\n", out_name.c_str());
    }
  }
  std::fclose(in);
  std::fclose(out);
}
