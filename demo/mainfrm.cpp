#include "mainfrm.h"

#include "Zent_stringl.h"

using namespace zent;

namespace {
constexpr int32_t LowestDisplay = 50;  // pixels the splitter leaves the display at least
constexpr uint32_t TickInterval = 100;
constexpr int32_t DigitsWhenShown = 8;
}  // namespace

TForm1::TForm1(QWidget* Parent) : TForm(Parent) {
    {
        TLayoutLoading Loading;
        setupUi(this);
        Timer1 = new TTimer(this);
        Timer1->SetEnabled(false);
        Timer1->SetInterval(TickInterval);
        AttachHandlers();
        Loading.Finish();
    }
    // uic sizes a top-level window but leaves its place to the window system.
    move(393, 273);
}

TForm1::~TForm1() = default;

template <class... TArgs>
std::function<void(QObject*, TArgs...)> TForm1::Attach(void (TForm1::*Handler)(QObject*, TArgs...)) {
    return [this, Handler](QObject* Sender, TArgs... Args) {
        ++FHandlerRuns;
        (this->*Handler)(Sender, std::forward<TArgs>(Args)...);
    };
}

void TForm1::AttachHandlers() {
    CSelText->OnChange = Attach(&TForm1::CSelTextChange);
    CSelBakg->OnChange = Attach(&TForm1::CSelBakgChange);
    SBarInterdig->OnChange = Attach(&TForm1::SBarInterdigChange);
    EdCaption->OnChange = Attach(&TForm1::EdCaptionChange);
    SBarMargin->OnChange = Attach(&TForm1::SBarMarginChange);
    SBarNumDig->OnChange = Attach(&TForm1::SBarNumDigChange);
    Splitter1->OnCanResize = Attach(&TForm1::Splitter1CanResize);
    RGDisplayMode->OnClick = Attach(&TForm1::RGDisplayModeClick);
    Timer1->OnTimer = Attach(&TForm1::Timer1Timer);
    OnShow = Attach(&TForm1::FormShow);
}

void TForm1::CSelTextChange(QObject*) {
    My7Seg->SetColorText(CSelText->SelColor());
}

void TForm1::CSelBakgChange(QObject*) {
    My7Seg->SetColorBackGnd(CSelBakg->SelColor());
}

void TForm1::SBarNumDigChange(QObject*) {
    My7Seg->SetNumDigits(SBarNumDig->Position());
    NLabNumDig->SetValue(SBarNumDig->Position());
}

void TForm1::SBarMarginChange(QObject*) {
    My7Seg->SetMargin(SBarMargin->Position());
    NLabMargin->SetValue(SBarMargin->Position());
}

void TForm1::SBarInterdigChange(QObject*) {
    My7Seg->SetInterDigDist(SBarInterdig->Position());
    NLabInterDigDist->SetValue(SBarInterdig->Position());
}

void TForm1::EdCaptionChange(QObject*) {
    My7Seg->SetCaption(EdCaption->Text());
}

void TForm1::Splitter1CanResize(QObject*, int32_t& NewSize, bool& Accept) {
    if (NewSize < LowestDisplay) Accept = false;
}

void TForm1::FormShow(QObject*) {
    My7Seg->SetNumDigits(DigitsWhenShown);
}

void TForm1::RGDisplayModeClick(QObject*) {
    switch (RGDisplayMode->ItemIndex()) {
        case dmStatic:
            Timer1->SetEnabled(false);
            EdCaption->SetEnabled(true);
            My7Seg->SetCaption(EdCaption->Text());
            break;
        case dmClock:
        case dmCounter:
            // The timer first: when it cannot start, the edit box stays usable.
            Timer1->SetEnabled(true);
            EdCaption->SetEnabled(false);
            break;
        default:
            break;
    }
}

void TForm1::Timer1Timer(QObject*) {
    switch (RGDisplayMode->ItemIndex()) {
        case dmStatic:
            Timer1->SetEnabled(false);
            break;
        case dmClock:
            My7Seg->SetCaption(DateTimeToText("HH:MM:SS", FClock.Now(),
                                              FClock.Settings ? *FClock.Settings : FormatSettings()));
            break;
        case dmCounter:
            // Seconds since midnight, multiplied in extended precision.
            My7Seg->SetCaption(FormatFixed(6, 3, static_cast<long double>(FClock.TimeOfDay()) * 86400));
            break;
        default:
            break;
    }
}
