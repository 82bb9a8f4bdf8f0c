#pragma once
// How many frames right after a keyframe cannot be decoded when decoding
// starts at that keyframe.
//
// In an open GOP the B-frames stored after an I-frame are shown before it and
// also refer to the frame before the I-frame. Decoding from the I-frame drops
// them (see SeekMode.h for what FFMS2 makes of that). In an AVI file, which
// stores no presentation times, this probe finds those frames for one
// keyframe by decoding a few packets from it with a decoder of its own; in a
// file with timestamps they are the packets after the I-frame's that are
// shown before it. It remembers each answer.

#include "engine/core/FFmpegPtr.h"

#include <cstdint>
#include <map>
#include <string>

namespace vistrel::engine {

class LeadingFrames {
public:
    // Opens nothing yet: the file is read on the first question. keyframeTimes
    // (FFMS2's keyframe number to its timestamp) for a file with timestamps;
    // empty for AVI.
    LeadingFrames(std::string path, int streamIndex, std::map<int64_t, int64_t> keyframeTimes = {},
                  int whenUnknown = kAssumedWhenUnknown)
        : path_(std::move(path)),
          stream_(streamIndex),
          keyframeTimes_(std::move(keyframeTimes)),
          whenUnknown_(whenUnknown) {}

    // How many frames from FFMS2's keyframe number keyframe on may be ones
    // that decoding from that keyframe cannot give.
    int after(int64_t keyframe);

    // The most any keyframe is assumed to have when the probe cannot tell.
    static constexpr int kAssumedWhenUnknown = 16;

private:
    int probe(int64_t keyframe);
    int probeByTime(int64_t time);
    bool openOnce();

    std::string path_;
    int stream_;
    std::map<int64_t, int64_t> keyframeTimes_;
    int whenUnknown_;
    bool opened_ = false;
    bool usable_ = false;
    InputFormatUPtr format_;
    AVCodecContextUPtr decoder_;
    std::map<int64_t, int> known_;
};

}  // namespace vistrel::engine
