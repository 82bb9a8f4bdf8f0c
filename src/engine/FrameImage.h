#pragma once
// A frame as a QImage for showing or saving: RGB32 and RGB24 are copied,
// YV12 and YUY2 are converted with Rec.601 limited range. Alpha is ignored.

#include "engine/Frame.h"

#include <QImage>

namespace vistrel::engine {

QImage toImage(const Frame& frame);

}  // namespace vistrel::engine
