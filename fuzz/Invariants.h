#pragma once
// A loaded project that breaks an invariant stops the fuzzer like a crash.

#include "model/Invariants.h"

#include <cstdio>

inline void CheckProjectInvariants(const cAnimeData& p)
{
    const std::string violation = FindInvariantViolation(p);
    if (!violation.empty()) {
        std::fprintf(stderr, "invariant broken: %s\n", violation.c_str());
        __builtin_trap();
    }
}
