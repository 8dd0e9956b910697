// Drawing run-length pictures into the interface library's current window: a
// picture held in memory at any integer magnification, or a picture straight from
// its open file at scale 1. Coordinates are relative to the current window; every
// produced row reaches the screen with one MXwfastrow call.
#pragma once
#include <cstdio>

#include "pictures/run_length_picture.h"

// Draws the area of picture that starts at (srcx, srcy), each picture pixel as a
// scale x scale block, into the width x height rectangle at (x, y). Nothing is
// drawn when the start lies beyond the picture; drawing stops at its edges.
void MXwdrawpict(const MXPicture* picture, int x, int y, int width, int height, int srcx, int srcy,
                 int scale, MXPictColorFunc color);

// Draws the area of the picture in file that starts at (srcx, srcy), at scale 1.
// A file that cannot be read as a picture ends the program.
void MXwdrawfilepict(FILE* file, int x, int y, int width, int height, int srcx, int srcy,
                     MXFilePictColorFunc color);
