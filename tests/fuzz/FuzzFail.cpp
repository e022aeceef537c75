#include <cstdio>
#include <cstdlib>

#include "FuzzTargets.h"

namespace {

FuzzFailureHandler handler = nullptr;

}  // namespace

void SetFuzzFailureHandler(FuzzFailureHandler next) { handler = next; }

void FuzzFail(const std::string& what) {
    if (handler) handler(what);
    std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}
