#include "framework/core/random.h"

#include "framework/core/lock.h"

namespace ZethRandom {
namespace {

constexpr int kWords = 624;
constexpr int kShift = 397;

CCriticalSection g_lock;
uint32_t g_state[kWords];
int g_index = kWords + 1;  // not seeded yet; an unseeded state is all zero

void Regenerate() {
    for (int i = 0; i < kWords; ++i) {
        uint32_t y = (g_state[i] & 0x80000000u) | (g_state[(i + 1) % kWords] & 0x7FFFFFFFu);
        uint32_t next = g_state[(i + kShift) % kWords] ^ (y >> 1);
        if (y & 1u) next ^= 0x9908B0DFu;
        g_state[i] = next;
    }
    g_index = 0;
}

}  // namespace

void Seed(uint32_t seed) {
    CLockScope scope(g_lock);
    g_state[0] = seed;
    for (int i = 1; i < kWords; ++i) {
        g_state[i] = 1812433253u * (g_state[i - 1] ^ (g_state[i - 1] >> 30)) + static_cast<uint32_t>(i);
    }
    g_index = kWords;
}

uint32_t Generate() {
    if (g_index >= kWords) Regenerate();
    uint32_t y = g_state[g_index++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

int32_t Range(int32_t low, int32_t high) {
    CLockScope scope(g_lock);
    uint32_t g = Generate();
    // The span is computed in 64 bits so a full int32 range cannot overflow; C++ division
    // truncates, so the remainder takes the sign of the (never negative) dividend.
    int64_t span = static_cast<int64_t>(high) - static_cast<int64_t>(low) + 1;
    if (span == 0) return low;
    int64_t value = static_cast<int64_t>(static_cast<int32_t>(g >> 1)) % span;
    return static_cast<int32_t>(value + low);
}

}  // namespace ZethRandom
