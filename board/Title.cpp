#include "board/Title.h"

#include <string_view>

namespace vornel {

namespace {
// One row of the picture per line; "a" open, "b" letter stroke, "c" bomb.
constexpr std::string_view kRows =
    "aaaaaaaaaaaaaaaa"
    "abcccbaaaaaaaaaa"
    "abcccbaaaaaaaaaa"
    "abcccbaabbaababa"
    "aabcbaabaababbaa"
    "aabcbaabaababaaa"
    "aaabaaaabbaabaaa"
    "aaaaaaaaaaaaaaaa"
    "aaaaaaaaaaabbaaa"
    "aaaaaaaaaaaabaaa"
    "abbbaaabbaaabaaa"
    "abaababccbaabaaa"
    "abaababbbbaabaaa"
    "abaababaaaaabaaa"
    "abaabaabbbaabbaa"
    "aaaaaaaaaaaaaaaa";
static_assert(kRows.size() == 256);

constexpr std::array<Cell, 256> ToArray(std::string_view rows) {
  std::array<Cell, 256> out{};
  for (std::size_t k = 0; k < out.size(); ++k) out[k] = rows[k];
  return out;
}
}  // namespace

const std::array<Cell, 256> kTitlePicture = ToArray(kRows);

Grid MakeTitleGrid() {
  Grid grid;
  int k = 0;
  for (int y = 0; y < kBoardSize; ++y)
    for (int x = 0; x < kBoardSize; ++x) grid.set(x, y, kTitlePicture[k++]);
  return grid;
}

}  // namespace vornel
