#pragma once
// Handing the cut on: the cut written in the format its file's extension
// names, whole, through an atomic save. Each format is one writer from a
// CutList to the file's text, with what the format cannot hold of the cut
// said in words rather than left out silently.

#include "model/CutList.h"
#include "model/Edit.h"
#include "model/Ports.h"

#include <optional>
#include <string>
#include <vector>

namespace vistrel::model {

struct ExportedCut {
    std::string text;
    std::vector<std::string> cannotHold;  // one sentence each
};

struct CutFormat {
    const char* extension;  // lower case, without the dot
    const char* name;       // for the save dialog's filter
    ExportedCut (*write)(const CutList& cut);
    bool scriptBytes = false;  // an AviSynth script: saved as scripts are (ScriptFile.h); else UTF-8
};

// Every format the cut can be exported in, in the save dialog's order.
const std::vector<CutFormat>& cutFormats();

// The save dialog's filter, as FileDialogSetup writes one: "OpenTimelineIO|*.otio|…".
std::string cutFormatFilter();

// Writes the cut to path in the format its extension names. Returns what
// the format cannot hold (empty when it holds everything). Throws
// CutError for an extension no format has and for a failed save.
std::vector<std::string> exportCut(const std::string& path, const CutList& cut);

// The one message about what the file cannot hold: nothing said when the list is empty.
std::string cannotHoldMessage(const std::string& path, const std::vector<std::string>& cannotHold);

// "Export cut…": with too few switch points only the message; otherwise
// asks the dialog for a file and exports the edit's cut there, named after
// the file. What the format cannot hold, or why nothing was written, is
// said in one message; an export that holds everything says nothing. The
// path written; nothing when none was.
std::optional<std::string> exportEditCut(const Edit& edit, FileDialog& dialog, MessageSink& messages,
                                         ClipRateProbe& probe);

}  // namespace vistrel::model
