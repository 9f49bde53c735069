#pragma once
// Code page 932 (Windows Shift-JIS), the ranking file's encoding, as two
// tables indexed by 16 bits: bytes to characters and characters to bytes.
// They are learnt from ICU when the program is built and embedded in it.

#include <array>
#include <cstdint>
#include <memory>

namespace vornel::cp932 {

inline constexpr std::size_t kTableSize = 0x10000;
inline constexpr char16_t kUnmapped = 0xFFFD;

inline bool IsLeadByte(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
inline bool IsTrailByte(unsigned b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

struct Tables {
  // A byte 0x00-0xFF alone, or lead << 8 | trail; kUnmapped where nothing.
  std::array<char16_t, kTableSize> toUnicode{};
  // One byte (0x00XX) or lead << 8 | trail; 0 where the code page has none.
  std::array<std::uint16_t, kTableSize> fromUnicode{};
};

// Asks ICU ("windows-31j") for every code; null when ICU lacks the code page.
// ASCII is kept out of ICU's hands: its table swaps the control codes 0x1A,
// 0x1C and 0x7F, which Windows leaves as they are.
std::unique_ptr<Tables> LearnFromIcu();

}  // namespace vornel::cp932
