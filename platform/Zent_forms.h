// The message-loop guard, the error report, and TTimer.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>

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
    void Update();

    QTimer* FTimer;
    uint32_t FInterval = 1000;
    bool FEnabled = true;
};

}  // namespace zent
