#pragma once

namespace vistrel::model {

// An angle is one clip of the clip list; its letter follows from its row:
// row 0 is angle A, then B, C and D. The letter is never stored with a clip.
inline constexpr int kMaxAngles = 4;

constexpr char angleLetter(int row) { return static_cast<char>('A' + row); }
constexpr int angleRow(char letter) { return letter - 'A'; }
constexpr bool isAngleLetter(char letter) { return letter >= 'A' && letter < angleLetter(kMaxAngles); }

}  // namespace vistrel::model
