#pragma once
// The title picture shown while no game runs: "Vornel" in board tiles.

#include <array>

#include "board/Grid.h"

namespace vornel {

// 256 codes in row-major order: entry k is column k % 16, row k / 16.
extern const std::array<Cell, 256> kTitlePicture;

// A fresh grid holding the title picture; the margin stays empty.
Grid MakeTitleGrid();

}  // namespace vornel
