// Platform internals: the QImage behind a bitmap, the painter binding of a
// canvas, and a platform that refuses timers. For the platform layer itself
// and for the project's own tests and benchmarks; this header is not
// installed, and the widgets do not use it.
#pragma once

#include <QImage>
#include <cstdint>

#include "Zent_graphics.h"

class QPainter;

namespace zent {

class TTimer;

struct TPlatformAccess {
    static QImage& Image(TBitmap& Bitmap) { return *Bitmap.FImage; }
    static const QImage& Image(const TBitmap& Bitmap) { return *Bitmap.FImage; }
    static void BindPainter(TCanvas& Canvas, QPainter* Painter, int32_t Width, int32_t Height) {
        Canvas.BindPainter(Painter, Width, Height);
    }
    static void Unbind(TCanvas& Canvas) { Canvas.Unbind(); }
    // While Refuse is true, starting Timer fails as when the platform has no
    // timer left.
    static void RefuseTimerStarts(TTimer& Timer, bool Refuse);
};

}  // namespace zent
