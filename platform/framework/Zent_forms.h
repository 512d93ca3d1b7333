// The message-loop guard, the error report, TTimer and TForm.
#pragma once

#include <QObject>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

#include "Zent_components.h"
#include "Zent_graphics.h"

class QTimer;

namespace zent {

// Shows an error report: a message box with an error icon, titled with the
// application's title, whose text is ErrorReportText(Message). Tests replace
// it to capture the report instead of opening a box.
using TErrorReporter = std::function<void(const std::string& Title, const std::string& Text)>;
TErrorReporter SetErrorReporter(TErrorReporter Reporter);  // returns the previous one
void ShowErrorReport(const std::string& Message);

// Every call from the message loop into program code goes through Guarded:
// an exception that escapes is reported and the program goes on. No
// exception ever crosses Qt's event loop.
void Guarded(const std::function<void()>& Call) noexcept;

// Raises OnTimer about every Interval milliseconds while Enabled, with a
// non-zero Interval. A write that starts the timer raises "Not enough timers
// available" when the platform refuses it, and leaves Enabled false, so that
// enabling it again tries again.
class TTimer : public QObject {
    Q_OBJECT
public:
    explicit TTimer(QObject* Owner = nullptr);
    ~TTimer() override;

    uint32_t Interval() const { return FInterval; }
    void SetInterval(uint32_t Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);

    std::function<void(QObject* Sender)> OnTimer;
    // Raises OnTimer through the guard, as a tick from the loop does.
    void Tick();

private:
    friend struct TPlatformAccess;
    void Update();

    QTimer* FTimer;
    uint32_t FInterval = 1000;
    bool FEnabled = true;
    bool FRefused = false;  // the platform refuses to start it (set through TPlatformAccess)
};

// A top-level window. Color fills its background, Font is what its controls
// inherit, MinHeight (the size constraint) keeps its client area from
// getting shorter, and OnShow is raised each time the window becomes visible
// (when shown after being hidden; not when restored from minimised).
// Layouts write the font as FontName and FontSize (TFont's Size: points,
// negative for a pixel height).
class TForm : public QWidget, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ windowTitle WRITE setWindowTitle)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(int MinHeight READ MinHeight WRITE SetMinHeight)
    Q_PROPERTY(QString FontName READ FontNameText WRITE SetFontNameText)
    Q_PROPERTY(int FontSize READ FontSize WRITE SetFontSize)

public:
    explicit TForm(QWidget* Parent = nullptr);

    std::string Caption() const;
    void SetCaption(const std::string& Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& Value);
    // 0: no constraint; negative values are ignored.
    int32_t MinHeight() const { return minimumHeight(); }
    void SetMinHeight(int32_t Value);

    std::function<void(QObject* Sender)> OnShow;

protected:
    void showEvent(QShowEvent* Event) override;

private:
    QString FontNameText() const;
    void SetFontNameText(const QString& Value);
    int FontSize() const { return FFont.Size; }
    void SetFontSize(int Value);

    TColor FColor = clBtnFace;
    TFont FFont;
};

}  // namespace zent
