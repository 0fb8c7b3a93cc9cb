#pragma once
// The greatest or least of a value over the items of a list; 0 for an empty list.
#include <cstddef>

namespace core {

template <class List, class Value, class Better>
double Extent(const List& items, Value value, Better better) {
    if (items.empty()) return 0;
    double result = value(items[0]);
    for (std::size_t k = 1; k < items.size(); ++k) {
        const double v = value(items[k]);
        if (better(v, result)) result = v;
    }
    return result;
}

template <class List, class Value>
double MaxOf(const List& items, Value value) {
    return Extent(items, value, [](double a, double b) { return a > b; });
}

template <class List, class Value>
double MinOf(const List& items, Value value) {
    return Extent(items, value, [](double a, double b) { return a < b; });
}

}  // namespace core
