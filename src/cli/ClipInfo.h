#pragma once
// The --info listing of a clip: one "name: value" per line, and for a media
// file of variable frame rate the rate it is played at.

#include "engine/VideoInfo.h"

#include <string>

namespace vistrel::cli {

std::string describeClip(const engine::VideoInfo& info, bool conformedVariableRate = false);

}  // namespace vistrel::cli
