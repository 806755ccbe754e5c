// The framework's shared pseudo-random generator: the standard MT19937 Mersenne Twister behind
// the random lock. The game reseeds it for every new game, so its exact sequence matters.
#pragma once

#include <cstdint>

namespace ZethRandom {

void Seed(uint32_t seed);                  // standard MT19937 initialisation, under the random lock
uint32_t Generate();                       // one tempered output; callers hold the random lock
int32_t Range(int32_t low, int32_t high);  // low to high inclusive, from one output

}  // namespace ZethRandom
