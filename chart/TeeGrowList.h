#pragma once
// The growable sequence behind every per-point store of a series (values, colours, labels).
// It grows in fixed steps rather than doubling, so that a long series wastes at most a quarter
// of its storage, and an emptied sequence gives its memory back at once.

#include "framework/Classes.h"

#include <utility>
#include <vector>

// Capacity of a full sequence after it grows: +4 up to 8, +16 up to 64, then +25 %.
constexpr int GrowCapacity(int Capacity)
{
    if (Capacity <= 8)
        return Capacity + 4;
    if (Capacity <= 64)
        return Capacity + 16;
    return Capacity + Capacity / 4;
}

template <class T>
class TGrowList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    int Capacity() const { return static_cast<int>(FItems.capacity()); }

    const T& operator[](int Index) const { return FItems[std::size_t(Index)]; }
    T& operator[](int Index) { return FItems[std::size_t(Index)]; }
    const T& At(int Index) const
    {
        CheckIndex(Index);
        return FItems[std::size_t(Index)];
    }
    T& At(int Index)
    {
        CheckIndex(Index);
        return FItems[std::size_t(Index)];
    }

    // Index may be Count (append).
    void Insert(int Index, T Value)
    {
        if (FItems.size() == FItems.capacity())
            FItems.reserve(std::size_t(GrowCapacity(Capacity())));
        FItems.insert(FItems.begin() + Index, std::move(Value));
    }
    void Append(T Value) { Insert(Count(), std::move(Value)); }
    void Delete(int Index)
    {
        CheckIndex(Index);
        FItems.erase(FItems.begin() + Index);
    }
    void Clear() { std::vector<T>().swap(FItems); }

private:
    void CheckIndex(int Index) const
    {
        if (Index < 0 || Index >= Count())
            ListIndexError(Index);
    }

    std::vector<T> FItems;
};
