// What every control shares with the layout loader: the component state and
// LayoutLoaded.
#pragma once

#include <cstdint>
#include <vector>

namespace zent {

enum TComponentStateFlag : uint8_t { csLoading = 1, csDesigning = 2 };

// Mixed into every control class of the framework (windowless or not). A
// control constructed while a TLayoutLoading exists starts in the loading
// state; LayoutLoaded ends it.
class TComponent {
public:
    TComponent();
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    uint8_t ComponentState() const { return FComponentState; }
    void BeginLoading() { FComponentState |= csLoading; }
    void SetDesigning(bool Value);
    // Called once after all stored properties were applied. Overrides call
    // the base first.
    virtual void LayoutLoaded() { FComponentState &= uint8_t(~csLoading); }

private:
    uint8_t FComponentState = 0;
};

// The scope of reading one window layout: every control created inside it
// starts loading, and Finish calls LayoutLoaded on each of them in creation
// order (controls destroyed in between are skipped). Scopes do not nest.
// Call Finish yourself where an exception from a LayoutLoaded should reach
// the caller.
class TLayoutLoading {
public:
    TLayoutLoading();
    ~TLayoutLoading();  // calls Finish if it has not run, reporting what it raises
    TLayoutLoading(const TLayoutLoading&) = delete;
    TLayoutLoading& operator=(const TLayoutLoading&) = delete;

    void Finish();

private:
    friend class TComponent;
    std::vector<TComponent*> FCreated;
    bool FFinished = false;
};

}  // namespace zent
