#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The bodies of the fuzz targets. Each takes one input, runs it through the code under
// test and checks what must hold whatever the input; it returns 0 (libFuzzer's "keep
// going"). The fuzzers call them from LLVMFuzzerTestOneInput, and the replay tests call
// them on every kept input, so a failure found once stays a test.
int FuzzObj(const std::uint8_t* data, std::size_t size);
int FuzzR(const std::uint8_t* data, std::size_t size);
int FuzzRA(const std::uint8_t* data, std::size_t size);
int FuzzValues(const std::uint8_t* data, std::size_t size);
int FuzzScene(const std::uint8_t* data, std::size_t size);

// A broken invariant: `what` says which, and with what values. By default the message
// goes to stderr and the process aborts, which libFuzzer reports as a crash and keeps the
// input for; the replay tests install a handler that throws instead, so the test can name
// the input file. A handler that returns still ends in abort().
[[noreturn]] void FuzzFail(const std::string& what);
using FuzzFailureHandler = void (*)(const std::string& what);
void SetFuzzFailureHandler(FuzzFailureHandler handler);

// Fails with the message unless `condition` holds. A macro, so that the message, often
// built with number formatting, costs nothing while the check passes: the fuzzers run
// checks millions of times.
#define FUZZ_CHECK(condition, message)       \
    do {                                     \
        if (!(condition)) FuzzFail(message); \
    } while (false)
