#include "engine/source/FfmpegReason.h"

#include "engine/FFmpegPtr.h"

namespace vistrel::engine {

std::optional<std::string> whyFfmpegCannotRead(const std::string& path) {
    AVFormatContext* opened = nullptr;
    if (const int rc = avformat_open_input(&opened, path.c_str(), nullptr, nullptr); rc < 0) return err2str(rc);
    InputFormatUPtr format(opened);
    if (const int rc = avformat_find_stream_info(format.get(), nullptr); rc < 0) return err2str(rc);
    if (format->nb_streams == 0) return "FFmpeg finds no audio or video in it.";
    return std::nullopt;
}

}  // namespace vistrel::engine
