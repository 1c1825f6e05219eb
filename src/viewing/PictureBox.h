#pragma once

#include "state/Context.h"

#include <string>

namespace zelvano {

// Picture1 takes the size of the picture it holds plus a sunken border of two pixels a side;
// empty, it keeps its designed 1215 x 495 twips.
inline constexpr int kPictureBoxBorder = 2;
inline constexpr PixelSize kPictureBoxDesigned{81, 33};

PixelSize PictureBoxOuterPixels(const Window& win);

// "Size: W x H": Picture1's outer size in the window's current unit.
std::string SizeText(const Context& c);

} // namespace zelvano
