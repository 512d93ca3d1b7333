// Raising an event: the one way the library calls a handler held in an event
// member (OnClick, OnChange, OnResize, ...).
#pragma once

#include <utility>

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

}  // namespace zent
