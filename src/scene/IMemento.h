#pragma once

#include <string>

// A description record: what the scene file says about one resource or object, filled
// attribute by attribute before anything is built from it.
class IMemento {
public:
    // Applies one attribute of the scene file; names the record does not know are ignored.
    virtual void SetAttribute(const std::string& name, const std::string& value) = 0;

protected:
    // Records are owned by their concrete type; never deleted through this interface.
    ~IMemento() = default;
};
