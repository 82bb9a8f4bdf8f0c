#include "engine/source/FfmsError.h"

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

}  // namespace vistrel::engine
