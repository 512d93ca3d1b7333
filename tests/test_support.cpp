#include "test_support.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QWidget>

#include "Zent_accessible.h"
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

QRect PaintedBounds(const QImage& Image, const QRect& R, TColor Background) {
    QRect Box;
    for (int y = R.top(); y <= R.bottom(); ++y)
        for (int x = R.left(); x <= R.right(); ++x)
            if (PixelAt(Image, x, y) != Background) Box |= QRect(x, y, 1, 1);
    return Box;
}

int CountPixels(const QImage& Image, const std::function<bool(int, int, TColor)>& Pred) {
    int N = 0;
    for (int Y = 0; Y < Image.height(); ++Y)
        for (int X = 0; X < Image.width(); ++X) N += Pred(X, Y, PixelAt(Image, X, Y));
    return N;
}

TPaletteColor::TPaletteColor(QPalette::ColorRole Role, const QColor& Color) : FKept(QApplication::palette()) {
    QPalette P = FKept;
    P.setColor(Role, Color);
    QApplication::setPalette(P);
}

TPaletteColor::~TPaletteColor() {
    QApplication::setPalette(FKept);
}

namespace {
// The sink is a plain function, so the record is too.
std::vector<TAccessibleEvents::TEvent> Recorded;
TAccessibleEventSink Replaced = nullptr;
}  // namespace

TAccessibleEvents::TAccessibleEvents() {
    Recorded.clear();
    Replaced = SetAccessibleEventSink([](QAccessibleEvent* E) {
        Recorded.push_back({E->object(), E->type(), E->accessibleInterface()->text(QAccessible::Name)});
    });
}

TAccessibleEvents::~TAccessibleEvents() {
    SetAccessibleEventSink(Replaced);
}

std::vector<TAccessibleEvents::TEvent> TAccessibleEvents::Of(const QObject* Object) const {
    std::vector<TEvent> Result;
    for (const TEvent& E : Recorded)
        if (E.Object == Object) Result.push_back(E);
    return Result;
}

void TAccessibleEvents::Clear() {
    Recorded.clear();
}

}  // namespace zent::test
