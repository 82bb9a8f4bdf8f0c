#pragma once
// The promises every clip makes, checked with GoogleTest expectations so that
// one call covers any source or filter:
//  - frames come out at the declared size and pixel type, with planes of the
//    right shape (first, middle and last frame);
//  - a frame number past the end gives the last frame, a negative one the
//    first; a clip without video refuses frame requests;
//  - audio reads inside the clip fill exactly count * channels * sample size
//    bytes; reads past the end or before the start are silence.

#include "engine/core/Clip.h"

namespace vistrel::test {

void expectClipKeepsItsContract(engine::Clip& clip);

}  // namespace vistrel::test
