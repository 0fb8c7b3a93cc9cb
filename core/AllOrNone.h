#pragma once
// A change made to a copy of every item of a list, kept only when it succeeds on all.
#include <utility>
#include <vector>

namespace core {

template <class T, class Change>
bool ChangeAllOrNone(std::vector<T>& items, Change change) {
    std::vector<T> changed = items;
    for (T& item : changed)
        if (!change(item)) return false;
    items = std::move(changed);
    return true;
}

}  // namespace core
