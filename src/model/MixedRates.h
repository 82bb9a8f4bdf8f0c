#pragma once
// Angles of different frame rates kept in step. The preview and the edit
// take frame F of every angle as the same moment, which holds only when the
// angles share angle A's rate: a 25 fps clip next to a 30 fps angle A drifts
// 12 s in a minute. When a clip's rate differs from angle A's by 0.1 % or
// more (30 next to 29.97 fps), one question offers to conform it; yes writes a small script under
// the conformed folder that plays the clip at angle A's rate by time
// (ChangeFPS) and puts that script in the clip's place, its start frame
// moved to the same moment in the new numbering.

#include "model/ClipRate.h"
#include "model/Ports.h"
#include "model/StringList.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vistrel::model {

// What matching rates needs from outside the edit.
struct RateMatching {
    ClipRateProbe& rates;
    QuestionBox& questions;
    MessageSink& messages;        // a conform script that cannot be written
    std::string conformedFolder;  // created when missing

    // $XDG_DATA_HOME/vistrel/conformed (XDG_DATA_HOME defaulting to
    // ~/.local/share); on Windows the user's local application data. Not a
    // cache: saved edits name the scripts in it.
    static std::string conformedFolderForPlatform();
    static std::string conformedFolderFor(const std::string& xdgDataHome, const std::string& home);
};

// Offers to conform the clips at the given rows (never row 0, angle A) whose
// rate differs from angle A's; replaces those the user agrees to conform.
void offerToConform(StringList& clips, StringList& startFrames, const std::vector<int>& rows, RateMatching& matching);

// Writes a one-line script that conforms a clip under the conformed folder
// as <clip's name>-<nameSuffix>.avs (or the one of that name that holds the
// same text already); nothing, after a message, when it cannot.
std::optional<std::string> writeConformedScript(const std::string& clipPath, const std::string& nameSuffix,
                                                const std::string& text, RateMatching& matching);

// What a conformed clip's script was made from and what it does to it
// ("25 fps", "fitted into 640x360"), the scripts it reads followed back to
// the first file; nothing for a clip that is no such script.
struct ConformedClip {
    // What one script does to the timing of the clip it reads: a rate
    // assumed for its frames as they are (AssumeFPS; num 0 for none), then
    // the clip played at another rate by time (ChangeFPS; num 0 for none).
    struct Timing {
        FrameRate assumed{0, 1};
        FrameRate changedTo{0, 1};
    };

    std::string original;
    std::vector<std::string> done;
    std::string inBrief;          // what was done last, as the clip list shows it: "25 fps", "640x360", "in step"
    std::vector<Timing> timings;  // one per script, from the original's outward
    // Each script's line around the clip it reads, the original's first:
    // {"ChangeFPS(", ", 25, 1)"} for ChangeFPS(avisource("<clip>"), 25, 1).
    std::vector<std::pair<std::string, std::string>> around;
};
std::optional<ConformedClip> readConformedClip(const std::string& path);

// "25", "29.97", "23.976": a rate with up to three decimals, none trailing.
std::string rateText(FrameRate rate);

// The conform script's text: one line, ChangeFPS(avisource("<clip>"), num, den).
std::string conformScriptText(const std::string& clipPath, FrameRate rate);

}  // namespace vistrel::model
