#pragma once
// The error record every FFMS2 call fills in, with room for its text, and the
// one-time library set-up.

#include <ffms.h>

#include <stdexcept>
#include <string>

namespace vistrel::engine {

// Why a media file could not be opened or read, in FFmpeg's or FFMS2's words.
// The source turns it into the script error that names the file.
class MediaError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class FfmsError {
public:
    FfmsError();
    FfmsError(const FfmsError&) = delete;
    FfmsError& operator=(const FfmsError&) = delete;

    FFMS_ErrorInfo* get() { return &info_; }
    std::string text() const;
    int subType() const { return info_.SubType; }
    // Throws MediaError with the text, prefixed by what was being done.
    [[noreturn]] void raise(const std::string& doing) const;

private:
    char buffer_[1024];
    FFMS_ErrorInfo info_;
};

// FFMS_Init, once per process, safe from any thread.
void initFfms();

}  // namespace vistrel::engine
