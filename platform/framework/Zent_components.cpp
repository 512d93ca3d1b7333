#include "Zent_components.h"

#include <algorithm>

#include "Zent_forms.h"

namespace zent {

namespace {
TLayoutLoading* ActiveLoading = nullptr;  // GUI thread only
}  // namespace

TComponent::TComponent() {
    // Controls that a LayoutLoaded creates are not part of the layout.
    if (!ActiveLoading || ActiveLoading->FFinished) return;
    BeginLoading();
    ActiveLoading->FCreated.push_back(this);
}

TComponent::~TComponent() {
    if (ActiveLoading) std::replace(ActiveLoading->FCreated.begin(), ActiveLoading->FCreated.end(), this,
                                    static_cast<TComponent*>(nullptr));
}

void TComponent::SetDesigning(bool Value) {
    if (Value)
        FComponentState |= csDesigning;
    else
        FComponentState &= uint8_t(~csDesigning);
}

TLayoutLoading::TLayoutLoading() {
    ActiveLoading = this;
}

TLayoutLoading::~TLayoutLoading() {
    // A destructor must not throw: a LayoutLoaded that fails here is reported.
    if (!FFinished) Guarded([this] { Finish(); });
    ActiveLoading = nullptr;
}

void TLayoutLoading::Finish() {
    if (FFinished) return;
    FFinished = true;
    // By index: a LayoutLoaded that destroys a later control leaves a null here.
    for (std::size_t i = 0; i < FCreated.size(); ++i)
        if (TComponent* C = FCreated[i]) C->LayoutLoaded();
    FCreated.clear();
}

}  // namespace zent
