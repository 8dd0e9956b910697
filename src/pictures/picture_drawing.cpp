// Drawing run-length pictures: the decoding of run_length_picture.cpp, each row
// handed to the current window.
#include "pictures/picture_drawing.h"

#include "ui/interface.h"

namespace {
void to_window(int x, int y, const unsigned char* pixels, int n, void*) { MXwfastrow(x, y, pixels, n); }
}  // namespace

void MXwdrawpict(const MXPicture* picture, int x, int y, int width, int height, int srcx, int srcy,
                 int scale, MXPictColorFunc color) {
  MXdecodepictrows(picture, x, y, width, height, srcx, srcy, scale, color, to_window, nullptr);
}

void MXwdrawfilepict(FILE* file, int x, int y, int width, int height, int srcx, int srcy,
                     MXFilePictColorFunc color) {
  MXdecodefilepictrows(file, x, y, width, height, srcx, srcy, color, to_window, nullptr);
}
