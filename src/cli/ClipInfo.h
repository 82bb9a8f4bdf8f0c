#pragma once
// The --info listing of a clip: one "name: value" per line.

#include "engine/VideoInfo.h"

#include <string>

namespace vistrel::cli {

std::string describeClip(const engine::VideoInfo& info);

}  // namespace vistrel::cli
