#include "factory/ObjectArray.h"

#include <algorithm>

ObjectArray::ObjectArray() : data(std::make_unique<IGraphicObject*[]>(kInitialCapacity)) {}

void ObjectArray::Append(IGraphicObject* object) {
    if (count == capacity) {
        auto grown = std::make_unique<IGraphicObject*[]>(capacity + growStep);
        std::copy(data.get(), data.get() + count, grown.get());
        data = std::move(grown);
        capacity += growStep;
    }
    data[count++] = object;
}

IGraphicObject* ObjectArray::operator[](std::size_t index) const {
    if (index >= count) throw "out of range";
    return data[index];
}
