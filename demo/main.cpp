// Until the demonstration window exists: a window with a framed surface
// drawn through the platform layer.
#include <QApplication>
#include <QWidget>

#include "Zent_controls.h"
#include "Zent_zentbase.h"

namespace {
class TFramedSurface : public zent::TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    void Paint() override {
        zent::TBitmap Buffer;
        Buffer.SetSize(Width(), Height());
        auto& C = Buffer.Canvas();
        C.Pen.Color = 0x333333;
        C.Brush.SetColor(0x333333);
        C.Rectangle(0, 0, Width(), Height());
        zent::DrawFrame(C, zent::fsLowered, 0, 0, Width() - 1, Height() - 1);
        Canvas().CopyMode = zent::SRCCOPY;
        Canvas().Draw(0, 0, Buffer);
    }
};
}  // namespace

int main(int argc, char** argv) {
    QApplication App(argc, argv);
    QApplication::setApplicationDisplayName("Seven Segment Display");
    QWidget Window;
    Window.setWindowTitle("Seven Segment Display");
    Window.resize(400, 200);
    TFramedSurface Surface(&Window);
    Surface.SetBounds(10, 10, 374, 96);
    Window.show();
    return App.exec();
}
