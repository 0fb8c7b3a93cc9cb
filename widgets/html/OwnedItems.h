#pragma once
// Index-checked work on a collection's list of items it owns; serves the picture and
// the monitor collections.
#include <cstddef>
#include <string>
#include <vector>

#include "base/Exception.h"

namespace html::owneditems {

[[noreturn]] inline void ThrowIndexError(int index)
{
    throw base::EListError("List index out of bounds (" + std::to_string(index) + ")");
}

template <class T>
T* At(const std::vector<T*>& items, int index)
{
    if (index < 0 || index >= static_cast<int>(items.size())) ThrowIndexError(index);
    return items[static_cast<std::size_t>(index)];
}

// make() builds the item only once the index is known to be good.
template <class T, class Make>
T* InsertNew(std::vector<T*>& items, int index, Make make)
{
    if (index < 0 || index > static_cast<int>(items.size())) ThrowIndexError(index);
    T* item = make();
    items.insert(items.begin() + index, item);
    return item;
}

// Takes the item out of the list before it is destroyed.
template <class T>
void Delete(std::vector<T*>& items, int index)
{
    T* item = At(items, index);
    items.erase(items.begin() + index);
    delete item;
}

template <class T>
int IndexOf(const std::vector<T*>& items, const T* item)
{
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == item) return static_cast<int>(i);
    return -1;
}

}  // namespace html::owneditems
