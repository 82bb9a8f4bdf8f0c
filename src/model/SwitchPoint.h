#pragma once
// Angles and switch points: an angle is a row of the clip list with a letter,
// a switch point the frame where the edit switches to an angle.

#include "model/StringList.h"

#include <string>
#include <string_view>

namespace vistrel::model {

// An angle is one clip of the clip list; its letter follows from its row:
// row 0 is angle A, then B, C and D. The letter is never stored with a clip.
inline constexpr int kMaxAngles = 4;

constexpr char angleLetter(int row) { return static_cast<char>('A' + row); }
constexpr int angleRow(char letter) { return letter - 'A'; }
constexpr bool isAngleLetter(char letter) { return letter >= 'A' && letter < angleLetter(kMaxAngles); }

// A switch point entry: the frame on the common time line, filled on the
// left with "0" to 8 characters, then "|", then the angle letter, e.g.
// "00000300|B". Readers take the frame from the first 8 characters and the
// angle from the last character.

inline constexpr std::size_t kSwitchPointFrameWidth = 8;
inline constexpr const char* kStartSwitchPoint = "00000000|A";

// The entry for a player's position reply and an angle letter. The fill is
// counted from the reply as received, leading blanks included, and those
// blanks are then dropped: " 12" gives "00000" + "12|A".
std::string makeSwitchPointEntry(std::string_view positionReply, char angle);

// The first 8 characters (fewer for a shorter entry), unconverted.
std::string_view switchPointFrameText(std::string_view entry);
// The numeric value of the first 8 characters.
double switchPointFrame(std::string_view entry);
// The last character, or the empty text for an empty entry.
std::string_view switchPointAngle(std::string_view entry);

// Order of the switch list: character by character, letters without regard
// to case, "|" before every digit and letter (so that a frame with more than
// 8 digits follows the 8-digit frames it begins with), a shorter text before
// a longer one that begins with it.
bool switchListLess(std::string_view a, std::string_view b);

// Where a new entry goes in a list kept in switch list order: after every
// entry that is not greater, so equal entries keep the order of arrival.
int switchListInsertRow(const StringList& list, std::string_view entry);

}  // namespace vistrel::model
