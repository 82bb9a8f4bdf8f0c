#include "engine/Libraries.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/avutil.h>
}

#include <ffms.h>

namespace vistrel::engine {

namespace {

// FFMS_GetVersion packs major, minor, micro and bump into one byte each.
std::string ffmsVersion() {
    const int packed = FFMS_GetVersion();
    return std::to_string((packed >> 24) & 0xff) + '.' + std::to_string((packed >> 16) & 0xff) + '.' +
           std::to_string((packed >> 8) & 0xff);
}

}  // namespace

std::vector<LibraryInfo> mediaLibraries() {
    return {
        {"FFmpeg", av_version_info(), avcodec_license()},
        {"FFMS2", ffmsVersion(), "MIT licence"},
    };
}

}  // namespace vistrel::engine
