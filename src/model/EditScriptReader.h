#pragma once

#include "model/Edit.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace vistrel::model {

// An edit script that Vistrel did not write, or that was changed beyond what
// can be read back. what() names the line: "line 12 could not be read: ...".
class UnreadableEditScript : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The edit an edit script holds: its clips, start frames, overlap text and
// fade lines as written, the switch points from the segment ends and the
// dissolve list. Only what writes the very same script is read: the edit is
// written again and compared line by line, and the first line that differs
// is the one refused. Two frames never reach the script, and are restored
// as frames that write it unchanged: the first switch point's (0), and,
// with no clip loaded, every frame (the switch point's row).
EditContent readEditScript(std::string_view text);

}  // namespace vistrel::model
