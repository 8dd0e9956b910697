// Colour maps: the palette index of a country code (by the country list), and the
// conversion of a raw grid of 32-bit country codes (name.img) into a grid of
// palette indices (name.clr).
#pragma once

// Palette index of the sea in colour maps.
constexpr int Ocean = 7;

// The colour of a country code: Ocean for 0, 0 for -1, otherwise the color of the
// first list entry with that code, 255 when no entry has it.
int convertpixel(long code);

// Converts name.img (rows x cols little-endian 32-bit codes, no header) into
// name.clr (one palette index byte per code). Failures end the program.
void makecmap(const char* name, int cols, int rows);
