#include "Zent_forms.h"

#include <QApplication>
#include <QMessageBox>
#include <QShowEvent>
#include <QTimer>

#include "Zent_internal.h"
#include "Zent_events.h"
#include "Zent_latin1.h"
#include "Zent_sysutils.h"

namespace zent {

namespace {
void MessageBoxReporter(const std::string& Title, const std::string& Text) {
    QMessageBox::critical(QApplication::activeWindow(), Latin1ToQString(Title), Latin1ToQString(Text));
}

TErrorReporter& Reporter() {
    static TErrorReporter Current = MessageBoxReporter;
    return Current;
}

std::string ApplicationTitle() {
    return QStringToLatin1(QGuiApplication::applicationDisplayName());
}
}  // namespace

TErrorReporter SetErrorReporter(TErrorReporter NewReporter) {
    TErrorReporter Previous = std::move(Reporter());
    Reporter() = NewReporter ? std::move(NewReporter) : MessageBoxReporter;
    return Previous;
}

void ShowErrorReport(const std::string& Message) {
    Raise(Reporter(), ApplicationTitle(), ErrorReportText(Message));
}

void Guarded(const std::function<void()>& Call) noexcept {
    try {
        Call();
    } catch (const std::exception& E) {
        try {
            ShowErrorReport(E.what());
        } catch (...) {
            // A reporter that fails must not take the message loop down.
        }
    } catch (...) {
        try {
            ShowErrorReport("Unknown exception");
        } catch (...) {
        }
    }
}

TTimer::TTimer(QObject* Owner) : QObject(Owner), FTimer(new QTimer(this)) {
    FTimer->setTimerType(Qt::PreciseTimer);
    connect(FTimer, &QTimer::timeout, this, [this] { Tick(); });
    Update();
}

TTimer::~TTimer() = default;

void TTimer::SetInterval(uint32_t Value) {
    if (Value == FInterval) return;
    FInterval = Value;
    Update();
}

void TTimer::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    Update();
}

void TTimer::Tick() {
    Guarded([this] { Raise(OnTimer, this); });
}

void TTimer::Update() {
    FTimer->stop();
    if (!FEnabled || FInterval == 0) return;
    // QTimer takes an int; longer periods are clamped rather than wrapped.
    if (!FRefused) FTimer->start(int(std::min<uint32_t>(FInterval, uint32_t(INT32_MAX))));
    if (!FTimer->isActive()) {
        FEnabled = false;
        throw EOutOfResources("Not enough timers available");
    }
}

void TPlatformAccess::RefuseTimerStarts(TTimer& Timer, bool Refuse) {
    Timer.FRefused = Refuse;
}

namespace {
void SetPaletteColor(QWidget& Widget, std::initializer_list<QPalette::ColorRole> Roles, TColor Color) {
    QPalette P = Widget.palette();
    for (const QPalette::ColorRole Role : Roles) P.setColor(Role, QColor::fromRgb(RGBToPixel(ColorToRGB(Color))));
    Widget.setPalette(P);
}
}  // namespace

TForm::TForm(QWidget* Parent) : QWidget(Parent, Qt::Window) {
    SetPaletteColor(*this, {QPalette::Window}, FColor);
}

std::string TForm::Caption() const { return QStringToLatin1(windowTitle()); }
void TForm::SetCaption(const std::string& Value) { setWindowTitle(Latin1ToQString(Value)); }

void TForm::SetColor(TColor Value) {
    if (Value == FColor) return;
    FColor = Value;
    SetPaletteColor(*this, {QPalette::Window}, Value);
}

void TForm::SetFont(const TFont& Value) {
    if (Value == FFont) return;
    FFont = Value;
    setFont(ToQFont(Value));
    SetPaletteColor(*this, {QPalette::WindowText, QPalette::Text}, Value.Color);
}

void TForm::SetMinHeight(int32_t Value) {
    if (Value < 0) return;
    setMinimumHeight(Value);
}

QString TForm::FontNameText() const { return Latin1ToQString(FFont.Name); }

void TForm::SetFontNameText(const QString& Value) {
    TFont F = FFont;
    F.Name = QStringToLatin1(Value);
    SetFont(F);
}

void TForm::SetFontSize(int Value) {
    TFont F = FFont;
    F.Size = Value;
    SetFont(F);
}

void TForm::showEvent(QShowEvent* Event) {
    QWidget::showEvent(Event);
    // Qt also sends spontaneous show events when the window system maps or
    // restores the window; only a change of visibility counts.
    if (!Event->spontaneous()) Guarded([this] { Raise(OnShow, this); });
}

}  // namespace zent
