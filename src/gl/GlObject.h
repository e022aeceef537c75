#pragma once

#include <cstdint>
#include <utility>

// Owns one OpenGL object name of a kind. `Kind` says how such a name is made and deleted:
// `static std::uint32_t Create(...)` and `static void Delete(std::uint32_t)`.
//
// A handle is empty (name 0) until Create() gives it a name, and again after it is moved
// from or released. An empty handle calls no GL function, so it can be made, moved and
// destroyed without a current context; one with a name needs the context to be deleted.
template <typename Kind>
class GlObject {
public:
    GlObject() = default;
    ~GlObject() { Release(); }

    GlObject(const GlObject&) = delete;
    GlObject& operator=(const GlObject&) = delete;

    // The name moves over; `other` is left empty.
    GlObject(GlObject&& other) noexcept : name(std::exchange(other.name, 0)) {}

    // Deletes what this handle held, then takes the name of `other` and leaves it empty.
    GlObject& operator=(GlObject&& other) noexcept {
        if (this != &other) {
            Release();
            name = std::exchange(other.name, 0);
        }
        return *this;
    }

    // A handle owning a new object, made with `args` (a shader's type, for one); needs a
    // current context. Empty if GL could not make one.
    template <typename... Args>
    [[nodiscard]] static GlObject Create(Args... args) {
        GlObject made;
        made.name = Kind::Create(args...);
        return made;
    }

    // Deletes the object now and leaves the handle empty; on an empty handle, nothing.
    void Release() {
        if (name != 0) Kind::Delete(std::exchange(name, 0));
    }

    // The GL name; 0 when empty.
    std::uint32_t Id() const { return name; }

private:
    std::uint32_t name = 0;
};
