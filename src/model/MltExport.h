#pragma once
// The cut as an MLT XML project (Shotcut opens it, `melt` renders it): one
// producer per camera file the cut shows, read from the original file at the
// edit's rate by time; a black background track; the edit's sound on a track
// of its own; the segments on two video tracks that take turns, each
// crossfade a `luma` dissolve from one to the other; the fades as dissolves
// from and to the background, with the sound's level ramped alike.

#include "model/CutExport.h"

namespace vistrel::model {

ExportedCut mltText(const CutList& cut);

}  // namespace vistrel::model
