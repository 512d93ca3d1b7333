#include "Zent_buffered.h"

#include <algorithm>
#include <utility>

#include "Zent_sysutils.h"

namespace zent {

namespace {
bool Within(const TRect& Inner, const TRect& Outer) {
    return Inner.Left >= Outer.Left && Inner.Top >= Outer.Top && Inner.Right <= Outer.Right &&
           Inner.Bottom <= Outer.Bottom;
}
bool IsEmpty(const TRect& R) {
    return R.Left >= R.Right || R.Top >= R.Bottom;
}
TRect Union(const TRect& A, const TRect& B) {
    if (IsEmpty(A)) return B;
    if (IsEmpty(B)) return A;
    return Rect(std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
                std::max(A.Bottom, B.Bottom));
}
}  // namespace

TBufferedControl::TBufferedControl(QWidget* Owner)
    : TGraphicControl(Owner), FPicture(std::make_unique<TBitmap>()) {}

TBufferedControl::~TBufferedControl() = default;

void TBufferedControl::Changed(TStale What, TRepaint When) {
    FStale = std::max(FStale, What);
    if (When == TRepaint::Later)
        Invalidate();
    else
        RepaintChanged();
}

void TBufferedControl::ContentChanged(const TRect& Area) {
    FStale = std::max(FStale, TStale::Content);
    FRenewArea = Union(FRenewArea, Area);
    RepaintChanged(Area);
}

void TBufferedControl::SourcesRenewed() {
    if (FStale == TStale::Sources) FStale = TStale::Picture;
}

TBufferedControl::TPictureKey TBufferedControl::CurrentKey(int32_t Ratio) const {
    TPictureKey Key{Width(), Height(), Ratio, Font(), PictureColors()};
    for (TColor& Color : Key.Colors) Color = ColorToRGB(Color);
    return Key;
}

void TBufferedControl::Paint() {
    if (!Visible() && !(ComponentState() & csDesigning)) return;
    const TRect Renew = std::exchange(FRenewArea, TRect{});
    TCanvas& Screen = Canvas();
    bool Renewed = false;  // the whole picture was composed anew
    try {
        const TPictureKey Now = CurrentKey(PictureRatio(Screen.PixelRatio()));
        if (Now.Colors != FBuiltFor.Colors)
            FStale = TStale::Sources;
        else if (Now != FBuiltFor)
            FStale = std::max(FStale, TStale::Picture);
        if (FStale <= TStale::Content && !IsEmpty(Renew) && Within(Screen.PaintArea(), Renew) &&
            PaintContent(Screen, Screen.PaintArea()))
            return;
        Renewed = FStale >= TStale::Picture;
        if (Renewed) {
            if (FPicture->PixelRatio() != Now.Ratio || FPicture->Width() != Now.Width ||
                FPicture->Height() != Now.Height) {
                FPicture->SetSize(0, 0);  // a new size: no old pixels worth carrying over
                FPicture->SetPixelRatio(Now.Ratio);
                FPicture->SetSize(Now.Width, Now.Height);
            }
            FBuiltFor = Now;
        }
        Compose(FPicture->Canvas(), FStale);
        FStale = TStale::None;
    } catch (const EOutOfResources&) {
        FStale = std::max(FStale, TStale::Picture);  // the next paint tries the picture again
        PaintWithoutBuffer(Screen);
        return;
    }
    Transfer(Screen, *FPicture);
    // A new picture shown in part only (a paint of some cells or of the
    // value box): the rest of the screen follows at the next paint.
    if (Renewed && !(Screen.PaintArea() == Rect(0, 0, Width(), Height()))) update();
}

bool TBufferedControl::PaintContent(TCanvas&, const TRect&) {
    return false;
}

void TBufferedControl::Transfer(TCanvas& Screen, const TBitmap& Picture) {
    Screen.CopyMode = SRCCOPY;
    Screen.Draw(0, 0, Picture);
}

}  // namespace zent
