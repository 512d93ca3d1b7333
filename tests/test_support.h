// Helpers that make pixel assertions say what they check.
#pragma once

#include <QAccessible>
#include <QColor>
#include <QImage>
#include <QPalette>
#include <QRect>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "Zent_graphics.h"

// gtest prints a QString as its text rather than as 2-byte objects.
inline void PrintTo(const QString& Text, std::ostream* Out) {
    *Out << '"' << Text.toStdString() << '"';
}
// And a QColor as #rrggbb.
inline void PrintTo(const QColor& Colour, std::ostream* Out) {
    *Out << Colour.name().toStdString();
}

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
// The box of the pixels of Image inside R that differ from Background
// (0x00BBGGRR); empty if none.
QRect PaintedBounds(const QImage& Image, const QRect& R, TColor Background);
// The pixels of Image for which Pred(X, Y, colour as 0x00BBGGRR) holds.
int CountPixels(const QImage& Image, const std::function<bool(int, int, TColor)>& Pred);

// Sets one colour of the application palette (active, inactive and
// disabled) for the scope's lifetime; the palette before comes back after.
class TPaletteColor {
public:
    TPaletteColor(QPalette::ColorRole Role, const QColor& Color);
    ~TPaletteColor();
    TPaletteColor(const TPaletteColor&) = delete;
    TPaletteColor& operator=(const TPaletteColor&) = delete;

private:
    QPalette FKept;
};

// Records the accessibility events the widgets send while it lives, each
// with the name its sender gives at that moment. One at a time.
class TAccessibleEvents {
public:
    struct TEvent {
        const QObject* Object;
        QAccessible::Event Type;
        QString Name;
        friend bool operator==(const TEvent&, const TEvent&) = default;
        friend void PrintTo(const TEvent& E, std::ostream* Out) {
            *Out << "{" << E.Object << ", event 0x" << std::hex << int(E.Type) << std::dec << ", \""
                 << E.Name.toStdString() << "\"}";
        }
    };
    TAccessibleEvents();
    ~TAccessibleEvents();
    TAccessibleEvents(const TAccessibleEvents&) = delete;
    TAccessibleEvents& operator=(const TAccessibleEvents&) = delete;

    // Those sent for Object since the last Clear, in order.
    std::vector<TEvent> Of(const QObject* Object) const;
    void Clear();
};

}  // namespace zent::test
