// Raising an event: the one way the library calls a handler held in an event
// member (OnClick, OnChange, OnResize, ...).
#pragma once

#include <QString>
#include <concepts>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>

class QObject;

namespace zent {

// Calls Handler (a std::function event) with Arguments when it is set. A
// copy runs: a handler that replaces or clears its own event while it runs
// destroys the stored handler, never the running one. Arguments pass as
// given, so by-reference parameters (a name, a size, an Accept flag) reach
// the caller's variables. Exceptions from the handler propagate.
template <class Handler, class... Args>
void Raise(const Handler& Event, Args&&... Arguments) {
    if (!Event) return;
    const Handler Running = Event;
    Running(std::forward<Args>(Arguments)...);
}

// An event whose handler may rewrite a text (a label's value text, a
// colour's name). It takes a handler of either face: one that sees the text
// as a Latin-1 byte string, the library's own API, or one that sees it as a
// Unicode QString. A Latin-1 handler sees characters outside Latin-1 as '?',
// and what it leaves is read back as Latin-1.
class TTextEvent {
public:
    using TLatin1Handler = std::function<void(QObject* Sender, std::string& Text)>;
    using TUnicodeHandler = std::function<void(QObject* Sender, QString& Text)>;

    TTextEvent() = default;
    TTextEvent(std::nullptr_t) {}
    // A handler taking QString& (a generic one too), else one taking std::string&.
    template <class F>
    requires std::invocable<F&, QObject*, QString&> || std::invocable<F&, QObject*, std::string&> TTextEvent(
        F Handler) {
        // An empty std::function or a null pointer leaves the event empty.
        if constexpr (std::is_pointer_v<F> || requires { typename F::result_type; })
            if (!Handler) return;
        if constexpr (std::invocable<F&, QObject*, QString&>)
            FHandler = std::move(Handler);
        else
            FHandler = FromLatin1(std::move(Handler));
    }

    explicit operator bool() const { return static_cast<bool>(FHandler); }
    // The handler held when it is a Unicode handler of type F, as
    // std::function::target gives it; nullptr otherwise (also for a Latin-1
    // handler, which the event holds wrapped). Lets a binding find the
    // objects its own handlers keep.
    template <class F>
    const F* Target() const {
        return FHandler.template target<F>();
    }
    void operator()(QObject* Sender, QString& Text) const { FHandler(Sender, Text); }
    // The text as the Latin-1 face sees it.
    void operator()(QObject* Sender, std::string& Text) const;

private:
    static TUnicodeHandler FromLatin1(TLatin1Handler Handler);
    TUnicodeHandler FHandler;
};

}  // namespace zent
