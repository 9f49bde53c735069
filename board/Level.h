#pragma once
// The four difficulty levels, in menu order: the only place that knows their
// names and bomb counts.

#include <array>

namespace vornel {

struct LevelInfo {
  const char* caption;  // UTF-8, exactly as the menu shows it
  int bombs;
};

inline constexpr std::array<LevelInfo, 4> kLevels{{
    {"簡単", 20},
    {"普通", 30},
    {"難しい", 50},
    {"超むず", 70},
}};

inline constexpr int kLevelCount = static_cast<int>(kLevels.size());
inline constexpr int kStartLevel = 1;  // "普通" at every start

}  // namespace vornel
