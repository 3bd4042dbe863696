#pragma once
// The owning lists of the measured-data and settings trees: elements held by
// unique_ptr, looked up by index with no access past either end.

#include <algorithm>
#include <memory>
#include <vector>

namespace OwnedList {

template <typename T>
using List = std::vector<std::unique_ptr<T>>;

// nullptr for an index outside the list.
template <typename T>
T* At(const List<T>& list, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= list.size())
        return nullptr;
    return list[static_cast<size_t>(index)].get();
}

// Takes ownership and returns the element; a null element is ignored.
template <typename T, typename U>
U* Append(List<T>& list, std::unique_ptr<U> element)
{
    if (!element)
        return nullptr;
    U* added = element.get();
    list.push_back(std::move(element));
    return added;
}

// Destroys the element the pointer names; false when it is not in the list.
template <typename T, typename P>
bool Erase(List<T>& list, const P* element)
{
    // P is T or one of its bases, so the pointers compare as the same object.
    const auto found = std::find_if(list.begin(), list.end(),
                                    [element](const auto& own) { return own.get() == element; });
    if (element == nullptr || found == list.end())
        return false;
    list.erase(found);
    return true;
}

// Destroys every element, last first.
template <typename T>
void Clear(List<T>& list)
{
    while (!list.empty())
        list.pop_back();
}

} // namespace OwnedList
