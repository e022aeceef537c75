#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "common/Vector3.h"

// The number and vector syntax of scene attribute values.
//
// A number is read the way a standard input stream reads a float: leading blanks skipped,
// an optional sign, digits with an optional fraction, and an optional exponent. A vector is
// its components with exactly one separator character between each pair; the separator is
// any character that is not blank (a comma by convention), and blanks around it are
// allowed. Blanks alone do not separate, so a digit after blanks ends the vector. Reading
// stops at the first component that cannot be read; that one and all after it are 0.

// Reads one number starting at `pos` and moves `pos` past it; nothing when no number
// starts there (a value beyond the float range counts as unreadable).
std::optional<float> ReadNumber(std::string_view text, std::size_t& pos);

// The number at the start of the text, or 0.
float ParseFloat(std::string_view text);

// Fills `components` from a vector value; unread components are 0. Returns how many
// components were read.
std::size_t ParseComponents(std::string_view text, std::span<float> components);

// As above, and sets `end` to where the reading stopped: just past the last component
// read, or 0 when none was. What follows there is ignored.
std::size_t ParseComponents(std::string_view text, std::span<float> components, std::size_t& end);

// A three-component vector value such as "1,2,3".
Vector3 ParseVector3(std::string_view text);
