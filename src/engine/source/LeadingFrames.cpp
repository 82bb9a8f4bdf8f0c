#include "engine/source/LeadingFrames.h"

#include <algorithm>
#include <optional>
#include <set>
#include <vector>

namespace vistrel::engine {

namespace {

// Enough packets to pass every leading B-frame: libavcodec allows at most 16
// B-frames in a row.
constexpr int kPacketsToDecode = 20;
// Packets to read for the keyframe's (libavformat may land a GOP early) and past it.
constexpr int kPacketsToSearch = 400;

}  // namespace

int LeadingFrames::after(int64_t keyframe) {
    if (keyframe <= 0) return 0;  // the first keyframe has nothing before it to refer to
    if (auto it = known_.find(keyframe); it != known_.end()) return it->second;
    int count = whenUnknown_;
    if (openOnce()) {
        if (keyframeTimes_.empty())
            count = probe(keyframe);
        else if (const auto time = keyframeTimes_.find(keyframe); time != keyframeTimes_.end())
            count = probeByTime(time->second);
    }
    known_.emplace(keyframe, count);
    return count;
}

bool LeadingFrames::openOnce() {
    if (opened_) return usable_;
    opened_ = true;
    AVFormatContext* opened = nullptr;
    if (avformat_open_input(&opened, path_.c_str(), nullptr, nullptr) < 0) return false;
    format_.reset(opened);
    // Probing by time reads packets only: the header's streams and the
    // demuxer's own parsers are enough, and the stream probe, which decodes
    // a dozen pictures, is skipped. (It would be a passing 14 MB for a 1080p
    // file, at the moment the player seeks with every decoder full.)
    if (!keyframeTimes_.empty()) {
        usable_ = stream_ >= 0 && static_cast<unsigned>(stream_) < format_->nb_streams;
        return usable_;
    }
    if (avformat_find_stream_info(format_.get(), nullptr) < 0) return false;
    if (stream_ < 0 || static_cast<unsigned>(stream_) >= format_->nb_streams) return false;
    const AVCodecParameters* parameters = format_->streams[stream_]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    if (!codec) return false;
    decoder_.reset(avcodec_alloc_context3(codec));
    if (!decoder_ || avcodec_parameters_to_context(decoder_.get(), parameters) < 0) return false;
    decoder_->thread_count = 1;
    usable_ = avcodec_open2(decoder_.get(), codec, nullptr) >= 0;
    return usable_;
}

// Finds the keyframe's packet, by its presentation time or (MPEG-TS and
// MPEG-PS, which FFMS2 numbers in stored order) its decoding time, and
// counts the packets after it, up to the next keyframe, shown before it.
int LeadingFrames::probeByTime(int64_t time) {
    if (av_seek_frame(format_.get(), stream_, time, AVSEEK_FLAG_BACKWARD) < 0) return whenUnknown_;
    AVPacketUPtr packet(av_packet_alloc());
    std::optional<int64_t> shownAt;
    int leading = 0, looked = 0, past = 0;
    while (looked < kPacketsToSearch && past < kPacketsToDecode && av_read_frame(format_.get(), packet.get()) >= 0) {
        if (packet->stream_index == stream_) {
            ++looked;
            const bool key = packet->flags & AV_PKT_FLAG_KEY;
            if (shownAt && key) break;
            if (shownAt) {
                ++past;
                if (packet->pts != AV_NOPTS_VALUE && packet->pts < *shownAt) ++leading;
            } else if (key && (packet->pts == time || packet->dts == time)) {
                shownAt = packet->pts;
            }
        }
        av_packet_unref(packet.get());
    }
    return shownAt && *shownAt != AV_NOPTS_VALUE ? leading : whenUnknown_;
}

// Decodes from the keyframe's packet with packet times set to their stored
// positions; the positions that never come out, and those that come out
// before the keyframe itself, are the frames decoding from here cannot give.
// FFMS2 numbers an AVI's frames in stored order, or in shown order where it
// can tell them apart, so its keyframe number may lie a little past the
// packet's position; the frames in between count as well.
int LeadingFrames::probe(int64_t keyframe) {
    if (av_seek_frame(format_.get(), stream_, keyframe, AVSEEK_FLAG_BACKWARD) < 0) return kAssumedWhenUnknown;
    avcodec_flush_buffers(decoder_.get());
    AVPacketUPtr packet(av_packet_alloc());
    AVFrameUPtr frame(av_frame_alloc());
    std::set<int64_t> fed;
    std::vector<int64_t> shown;
    int64_t start = 0;
    auto collect = [&] {
        while (avcodec_receive_frame(decoder_.get(), frame.get()) >= 0) shown.push_back(frame->pts);
    };
    while (fed.size() < kPacketsToDecode && av_read_frame(format_.get(), packet.get()) >= 0) {
        const bool ours = packet->stream_index == stream_;
        if (ours && fed.empty()) {
            start = packet->dts;
            const bool landed =
                (packet->flags & AV_PKT_FLAG_KEY) && start <= keyframe && keyframe - start < kAssumedWhenUnknown;
            if (!landed) break;
        }
        if (ours) {
            packet->pts = packet->dts;
            fed.insert(packet->dts);
            avcodec_send_packet(decoder_.get(), packet.get());
            collect();
        }
        av_packet_unref(packet.get());
    }
    if (fed.empty()) return kAssumedWhenUnknown;
    avcodec_send_packet(decoder_.get(), nullptr);
    collect();
    avcodec_flush_buffers(decoder_.get());

    const auto keyframeShown = std::find(shown.begin(), shown.end(), start);
    if (keyframeShown == shown.end()) return kAssumedWhenUnknown;
    const auto shownBeforeKeyframe = static_cast<int>(keyframeShown - shown.begin());
    const auto neverShown = static_cast<int>(fed.size() - std::min(fed.size(), shown.size()));
    const int leading = std::max(shownBeforeKeyframe, neverShown);
    return leading == 0 ? 0 : leading + static_cast<int>(keyframe - start);
}

}  // namespace vistrel::engine
