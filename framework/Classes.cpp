#include "framework/Classes.h"

#include <algorithm>
#include <string>

TComponent::TComponent(TComponent* Owner) : FOwner(Owner)
{
    if (FOwner)
        FOwner->FComponents.push_back(this);
}

TComponent::~TComponent()
{
    // Last created goes first, so a component never outlives one it was built on.
    while (!FComponents.empty()) {
        TComponent* child = FComponents.back();
        FComponents.pop_back();
        child->FOwner = nullptr;
        delete child;
    }
    if (FOwner)
        FOwner->Remove(this);
}

void TComponent::Remove(TComponent* Component)
{
    FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), Component),
                      FComponents.end());
}

void ListIndexError(int Index)
{
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}
