#pragma once

#include <cstddef>
#include <memory>

class IGraphicObject;

// The factory's growable array of object pointers, in creation order. It does not own the
// objects. Capacity starts at 128 and grows by 128 slots at a time.
class ObjectArray {
public:
    static constexpr std::size_t kInitialCapacity = 128;
    static constexpr std::size_t growStep = 128;

    ObjectArray();

    void Append(IGraphicObject* object);

    // The element at `index`; throws the C string "out of range" at or beyond Count().
    IGraphicObject* operator[](std::size_t index) const;

    // Forgets every pointer; the capacity stays.
    void Clear() { count = 0; }

    std::size_t Count() const { return count; }
    std::size_t Capacity() const { return capacity; }

private:
    std::unique_ptr<IGraphicObject*[]> data;
    std::size_t count = 0;
    std::size_t capacity = kInitialCapacity;
};
