// TBufferedControl: a windowless control that keeps its picture between
// paints and renews only what its setters marked stale.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "Zent_controls.h"
#include "Zent_graphics.h"

namespace zent {

// What a paint must renew, least to most; each level includes those before it.
enum class TStale : uint8_t {
    None,     // nothing kept is out of date, but the paint runs (a label makes its text afresh)
    Content,  // what the control shows inside its frame: a label's value box, a display's cells
    Picture,  // the whole picture
    Sources,  // what the picture is drawn from (a display's glyphs), and then the whole picture
};

// When a change reaches the screen: as the repaint policy says, or at Qt's
// next paint of the window whatever the policy (Invalidate).
enum class TRepaint : uint8_t { AsPolicy, Later };

// The picture is composed off screen at the screen's device pixel ratio and
// copied to the control in one operation, so the screen never shows half a
// picture. Setters mark what is stale through Changed; one fixed Paint then
// brings the picture up to date (Compose), shows it (Transfer), and when
// the picture cannot be had in memory, draws straight onto the control
// (PaintWithoutBuffer).
//
// Besides what Changed marks, the picture is renewed whole when it was made
// for another size, device pixel ratio or font, and with its sources when a
// colour resolves otherwise (a system colour follows the palette).
//
// A control without a parent, or hidden, stores every value and paints when
// it is shown: Qt needs no window to hold a widget's state. A setter called
// during the control's own paint (from an event handler the paint raises)
// never nests a second paint: its change is shown by a paint that follows.
class TBufferedControl : public TGraphicControl {
    Q_OBJECT
public:
    explicit TBufferedControl(QWidget* Owner = nullptr);
    ~TBufferedControl() override;

    // Stale, then compose, then transfer to the screen; or the fallback.
    void Paint() override;

    // What the next paint renews.
    TStale Stale() const { return FStale; }

protected:
    // Marks What stale, then repaints When says.
    void Changed(TStale What, TRepaint When = TRepaint::AsPolicy);
    // The sources were renewed outside a paint (on request): the next paint
    // need not renew them again.
    void SourcesRenewed();
    // The canvas of the kept picture, where texts are measured as they are drawn.
    TCanvas& PictureCanvas() const { return FPicture->Canvas(); }
    // A change of content within Area (control coordinates) alone: only
    // that part of the control is repainted, and a paint that covers no
    // more than the areas so marked may draw it through PaintContent.
    void ContentChanged(const TRect& Area);

    // The device pixel ratio of the picture on a screen of ScreenRatio.
    virtual int32_t PictureRatio(int32_t ScreenRatio) const { return ScreenRatio; }
    // The colours the picture is drawn in, as set (system colours
    // included; unused entries 0); the picture is renewed whole when one
    // resolves otherwise.
    using TPictureColors = std::array<TColor, 6>;
    virtual TPictureColors PictureColors() const = 0;
    // Draws the marked content straight onto the screen, without touching
    // the picture; false, with nothing drawn, to go the usual way. Called
    // only while no more than Content is stale and the paint covers no
    // more than the areas ContentChanged marked.
    virtual bool PaintContent(TCanvas& Screen, const TRect& Area);
    // Brings the picture (Canvas, sized and at its ratio) up to date: What
    // is stale on it, at least Picture the first time.
    virtual void Compose(TCanvas& Canvas, TStale What) = 0;
    // Shows the picture on the control; by default an opaque copy.
    virtual void Transfer(TCanvas& Screen, const TBitmap& Picture);
    // Draws the control straight onto the screen: the picture is too large
    // for memory.
    virtual void PaintWithoutBuffer(TCanvas& Screen) = 0;

private:
    // What the picture was made for beyond what Changed marks.
    struct TPictureKey {
        int32_t Width = 0, Height = 0, Ratio = 1;
        TFont Font;
        TPictureColors Colors{};
        friend bool operator==(const TPictureKey&, const TPictureKey&) = default;
    };
    TPictureKey CurrentKey(int32_t Ratio) const;

    std::unique_ptr<TBitmap> FPicture;
    TPictureKey FBuiltFor;
    TStale FStale = TStale::Sources;
    // The areas ContentChanged marked since the last paint.
    TRect FRenewArea;
};

}  // namespace zent
