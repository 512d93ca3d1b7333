#include "test_support.h"

#include <QDir>
#include <QScreen>
#include <QWidget>

#include "Zent_internal.h"

namespace zent::test {

std::string PictureDir() {
    QDir().mkpath(ZENT_TEST_OUTPUT_DIR);
    return ZENT_TEST_OUTPUT_DIR;
}

std::string SavePicture(const QImage& Image, const std::string& Name) {
    const std::string Path = PictureDir() + "/" + Name + ".png";
    Image.save(QString::fromStdString(Path), "PNG");
    return Path;
}

TColor PixelAt(const QImage& Image, int X, int Y) {
    if (X < 0 || Y < 0 || X >= Image.width() || Y >= Image.height()) return TColor(0xFFFFFFFF);
    return PixelToRGB(Image.pixel(X, Y));
}

const QImage& ImageOf(const TBitmap& Bitmap) {
    return TPlatformAccess::Image(Bitmap);
}

QImage Grab(QWidget& Widget) {
    return Widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage OnScreen(const QWidget& Control) {
    const QWidget* Window = Control.window();
    const QPoint At = Control.mapTo(Window, QPoint(0, 0));
    return Window->screen()
        ->grabWindow(Window->winId(), At.x(), At.y(), Control.width(), Control.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

}  // namespace zent::test
