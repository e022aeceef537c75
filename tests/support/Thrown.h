#pragma once

#include <string>

// What the `Exception` thrown by `action` says; "no exception" when it throws none.
template <typename Exception, typename Action>
std::string MessageOf(Action action) {
    try {
        action();
    } catch (const Exception& failure) {
        return failure.what();
    }
    return "no exception";
}
