#pragma once

#include <exception>

// The root of the system's own failures. It carries nothing itself; each kind of failure
// derives from it and says what went wrong.
class BaseException : public std::exception {};
