// A broken invariant must stop the fuzzer at once, in every build type, so that the
// input that broke it is saved.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void Require(bool holds, const char* invariant)
{
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n", invariant);
    std::abort();
}
