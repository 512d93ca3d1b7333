// Helpers that make pixel assertions say what they check.
#pragma once

#include <QImage>
#include <string>

#include "Zent_graphics.h"

namespace zent::test {

// Folder under the build tree where drawing tests save their pictures.
std::string PictureDir();
// Saves Image as <PictureDir>/<Name>.png and returns the path.
std::string SavePicture(const QImage& Image, const std::string& Name);
// Colour of one pixel of an image as 0x00BBGGRR.
TColor PixelAt(const QImage& Image, int X, int Y);
// The pixels of a bitmap.
const QImage& ImageOf(const TBitmap& Bitmap);
// Grabs what a widget shows, at device pixel ratio 1: a fresh paint.
QImage Grab(class QWidget& Widget);
// What the screen holds of Control (a child of a shown window), read back
// from the window's backing store, not painted anew.
QImage OnScreen(const QWidget& Control);

}  // namespace zent::test
