#include "platform/Random.h"

#include <chrono>
#include <ctime>

namespace orv {

int64_t UtcMilliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

int64_t UptimeMilliseconds() {
  timespec ts{};
  clock_gettime(CLOCK_BOOTTIME, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

int32_t RandomGenerator::Between(int32_t low, int32_t high) {
  if (high <= low) return low;
  return std::uniform_int_distribution<int32_t>(low, high)(engine_);
}

}  // namespace orv
