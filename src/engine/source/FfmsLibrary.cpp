#include "engine/source/FfmsLibrary.h"

#include "engine/core/FFmpegPtr.h"

#include <mutex>

namespace vistrel::engine {

FfmsError::FfmsError() : buffer_{}, info_{FFMS_ERROR_SUCCESS, FFMS_ERROR_SUCCESS, sizeof buffer_, buffer_} {}

std::string FfmsError::text() const {
    std::string message(buffer_);
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
    return message.empty() ? "unknown error" : message;
}

void FfmsError::raise(const std::string& doing) const { throw MediaError(doing + ": " + text()); }

void initFfms() {
    static std::once_flag once;
    std::call_once(once, [] {
        FFMS_Init(0, 0);
        FFMS_SetLogLevel(FFMS_LOG_QUIET);
    });
}

std::optional<std::string> whyFfmpegCannotRead(const std::string& path) {
    AVFormatContext* opened = nullptr;
    if (const int rc = avformat_open_input(&opened, path.c_str(), nullptr, nullptr); rc < 0) return err2str(rc);
    InputFormatUPtr format(opened);
    if (const int rc = avformat_find_stream_info(format.get(), nullptr); rc < 0) return err2str(rc);
    if (format->nb_streams == 0) return "FFmpeg finds no audio or video in it.";
    return std::nullopt;
}

}  // namespace vistrel::engine
