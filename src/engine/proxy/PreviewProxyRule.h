#pragma once
// When the preview reads a proxy instead of a clip: the one rule.
//
// The player opens what it plays with OpenOptions::preferPreviewProxies,
// which gives the evaluation these stand-ins (Environment::standIns);
// vistrel-render, the saved edit and every other caller open without it and
// always read the clips themselves. In an evaluation that prefers proxies:
//  1. a plain avisource("file") (no further arguments) of a media file whose
//     proxy is complete, made from this very version of the file, opens as a
//     ProxiedSource: the clip as the proxy describes it (size, rate, frame
//     count, sound), which opens the file only once something asks it for
//     full-size pictures or for sound;
//  2. BilinearResize of such a clip to 176x120 over the whole picture reads
//     the proxy's pictures (ProxyPictures), frame for frame in the clip's
//     own numbering; the pictures differ from the exact ones by the coding
//     loss of the proxy only.
// Anything else, and every clip without a complete proxy, reads the file.
// The preview script's avisource("file").bilinearresize(176,120) is case 2,
// so the script the editor writes stays as it is.

#include "engine/script/Environment.h"

#include <filesystem>

namespace vistrel::engine {

inline constexpr int kPreviewProxyWidth = 176;
inline constexpr int kPreviewProxyHeight = 120;

// The stand-ins of an evaluation that reads the complete proxies in folder.
SourceStandIns previewProxyStandIns(std::filesystem::path folder);

}  // namespace vistrel::engine
