#pragma once

namespace vistrel::soak {

// Ten thousand switch points added at random frames and angles through the
// edit model, then removed at random rows; the order and the count box are
// checked as it goes, and the times to add, remove and write the edit script
// are printed. Returns false on a fault.
bool runSwitchPointSession(int points);

}  // namespace vistrel::soak
