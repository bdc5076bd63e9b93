#pragma once
// The invariants every project satisfies, checked from outside (tests, fuzzing).

#include <string>

class cAnimeData;

/** A description of the first invariant the project breaks; empty when it keeps all:
 *  cell count 1..255, every existing frame with exactly cellCount slots, the fixed
 *  picture table with cellCount entries, every stored cell within its ranges, effects
 *  a dense prefix sorted by frame. */
std::string FindInvariantViolation(const cAnimeData& project);
