#pragma once
// Object roots of the component model: every component may have an owner that frees it.
//
// Threading: components belong to the user-interface thread; none of these classes is safe
// to touch from another thread.

#include "framework/SysUtils.h"

#include <functional>
#include <vector>

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

// An object whose properties can be copied from another of its kind.
class TPersistent : public TObject {};

// How a text sits within the width it is given.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

using TNotifyEvent = std::function<void(TObject* Sender)>;

// A component is owned by its Owner (may be null), which destroys it in its own destructor
// unless the component has been destroyed first.
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* Owner);
    ~TComponent() override;

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int Index) const { return FComponents.at(Index); }

private:
    void Remove(TComponent* Component);

    TComponent* FOwner;
    std::vector<TComponent*> FComponents;
};

// An index outside the items of a list: "List index out of bounds (Index)".
class EListError : public Exception {
public:
    using Exception::Exception;
};
[[noreturn]] void ListIndexError(int Index);
