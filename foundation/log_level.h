#ifndef VLAU_FOUNDATION_LOG_LEVEL_H_
#define VLAU_FOUNDATION_LOG_LEVEL_H_

#include <cstdint>
#include <initializer_list>

namespace vlau {

// The level of a log message; the ordinals are the bit numbers of a
// TauLogLevels set.
enum TauLogLevel : uint8_t {
  aullWaring = 0,
  aullError = 1,
  aullUpdate = 2,
  aullDetail = 3,
};

// A set of log levels.
class TauLogLevels {
 public:
  constexpr TauLogLevels() = default;
  constexpr TauLogLevels(std::initializer_list<TauLogLevel> levels) {
    for (TauLogLevel l : levels) Include(l);
  }

  constexpr bool Contains(TauLogLevel l) const { return (bits_ >> l) & 1u; }
  constexpr void Include(TauLogLevel l) { bits_ = static_cast<uint8_t>(bits_ | (1u << l)); }
  constexpr void Exclude(TauLogLevel l) { bits_ = static_cast<uint8_t>(bits_ & ~(1u << l)); }
  constexpr bool operator==(const TauLogLevels&) const = default;

 private:
  uint8_t bits_ = 0;
};

}  // namespace vlau

#endif  // VLAU_FOUNDATION_LOG_LEVEL_H_
