#pragma once

#include <cstdint>
#include <random>

namespace orv {

// Milliseconds since 1970-01-01 00:00 UTC.
int64_t UtcMilliseconds();

// Milliseconds since the system started.
int64_t UptimeMilliseconds();

// The pseudo-random generator of one thread, seeded by the caller.
class RandomGenerator {
 public:
  void Seed(uint32_t seed) { engine_.seed(seed); }
  // Seeds from the low 32 bits of the UTC millisecond clock.
  void SeedFromClock() { Seed(static_cast<uint32_t>(UtcMilliseconds())); }
  // An integer from low to high, both included; low when high < low.
  int32_t Between(int32_t low, int32_t high);

 private:
  std::mt19937 engine_{5489u};
};

}  // namespace orv
