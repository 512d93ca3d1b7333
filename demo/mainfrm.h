// TForm1: the demonstration window. A seven-segment display across the top,
// and below it the controls that change it live: digit count, margin and
// gap (scroll bars, each echoed by a numeric label), text and background
// colour (colour lists), the caption (edit box), the display's height
// (splitter) and the display mode (static text, clock or counter).
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <optional>

#include "Zent_dateutils.h"
#include "Zent_forms.h"
#include "ui_mainfrm.h"

// Where the clock and counter modes read the time. Tests put in a fixed time
// or another locale's settings.
struct TModeClock {
    std::function<double()> Now = zent::CurrentDateTime;         // the clock's date-time value
    std::function<double()> TimeOfDay = zent::CurrentTimeOfDay;  // the counter's fraction of a day
    std::optional<zent::TFormatSettings> Settings;               // none: the user's locale
};

// The window is read from its Designer layout (resources/mainfrm.ui): the
// controls are public members named as in the layout, as the handlers and
// tests refer to them. No handler runs while the layout is read; the
// handlers are attached afterwards, and each control then gets
// LayoutLoaded. When the window is first shown, FormShow sets the display to
// eight digits while the digit-count scroll bar and its label still say six.
class TForm1 : public zent::TForm, public Ui::TForm1 {
    Q_OBJECT
public:
    enum TDisplayMode : int32_t { dmStatic, dmClock, dmCounter };  // RGDisplayMode's items

    explicit TForm1(QWidget* Parent = nullptr);
    ~TForm1() override;

    zent::TTimer* Timer1;  // drives the clock and counter modes, every 100 ms

    void SetClock(TModeClock Clock) { FClock = std::move(Clock); }
    // How many times a control or the timer has called a handler below.
    int HandlerRuns() const { return FHandlerRuns; }

    void CSelTextChange(QObject* Sender);
    void CSelBakgChange(QObject* Sender);
    void SBarNumDigChange(QObject* Sender);
    void SBarMarginChange(QObject* Sender);
    void SBarInterdigChange(QObject* Sender);
    void EdCaptionChange(QObject* Sender);
    // Refuses display heights below 50 pixels.
    void Splitter1CanResize(QObject* Sender, int32_t& NewSize, bool& Accept);
    void FormShow(QObject* Sender);
    // Static: stops the timer, enables the edit box and shows its text at
    // once. Clock and counter: starts the timer and disables the edit box;
    // the first tick writes the caption.
    void RGDisplayModeClick(QObject* Sender);
    // Writes the time in the running modes; in the static mode a tick only
    // stops the timer.
    void Timer1Timer(QObject* Sender);

private:
    // A control event that calls Handler and counts the call.
    template <class... TArgs>
    std::function<void(QObject*, TArgs...)> Attach(void (TForm1::*Handler)(QObject*, TArgs...));
    void AttachHandlers();

    TModeClock FClock;
    int FHandlerRuns = 0;
};
