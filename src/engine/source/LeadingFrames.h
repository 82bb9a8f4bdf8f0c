#pragma once
// How many frames right after a keyframe of an AVI file cannot be decoded
// when decoding starts at that keyframe.
//
// In an open GOP the B-frames stored after an I-frame are shown before it and
// also refer to the frame before the I-frame. Decoding from the I-frame drops
// them: FFMS2, asked for one of them after seeking there, hands out the
// I-frame instead (one or two frames off). This probe finds those frames for
// one keyframe by decoding a few packets from it with a decoder of its own,
// and remembers the answer.

#include "engine/FFmpegPtr.h"

#include <cstdint>
#include <map>
#include <string>

namespace vistrel::engine {

class LeadingFrames {
public:
    // Opens nothing yet: the file is read on the first question.
    LeadingFrames(std::string path, int streamIndex) : path_(std::move(path)), stream_(streamIndex) {}

    // How many frames from FFMS2's keyframe number keyframe on may be ones
    // that decoding from that keyframe cannot give.
    int after(int64_t keyframe);

    // The most any keyframe is assumed to have when the probe cannot tell.
    static constexpr int kAssumedWhenUnknown = 16;

private:
    int probe(int64_t keyframe);
    bool openOnce();

    std::string path_;
    int stream_;
    bool opened_ = false;
    bool usable_ = false;
    InputFormatUPtr format_;
    AVCodecContextUPtr decoder_;
    std::map<int64_t, int> known_;
};

}  // namespace vistrel::engine
