#pragma once
// The one rule of every property setter in this system: store the value, and act on it (ask for
// a repaint, notify the owner, re-apply a setting to an open device) only when it changed.
// Setting a property to the value it already holds is free and invisible, so callers may set
// whole groups of properties without caring which of them differ.
//
// Values compare with ==, so a NaN never equals itself and always counts as a change.

#include <utility>

// Stores Value in Field; true when that was a change.
template <class T, class U>
[[nodiscard]] bool StoreChanged(T& Field, U&& Value)
{
    if (Field == Value)
        return false;
    Field = std::forward<U>(Value);
    return true;
}

// Stores Value in Field and calls OnChange when that was a change.
template <class T, class U, class F>
void SetProperty(T& Field, U&& Value, F&& OnChange)
{
    if (StoreChanged(Field, std::forward<U>(Value)))
        std::forward<F>(OnChange)();
}
