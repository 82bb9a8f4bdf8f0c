#pragma once
// FFMS2 and FFmpeg as the sources use them: owning pointers, FFMS2's error
// buffer, and the reason FFmpeg gives for a file it cannot read.

#include <ffms.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace vistrel::engine {

// Owning pointers for FFMS2 objects: one deleter template, one alias per type.
//
// An indexer is consumed by FFMS_DoIndexing2 (which frees it whatever the
// outcome): release() it into that call. Until then its deleter cancels it.

template <typename T, void (*Free)(T*)>
struct FfmsDeleter {
    void operator()(T* p) const {
        if (p) Free(p);
    }
};

using FfmsIndexerPtr = std::unique_ptr<FFMS_Indexer, FfmsDeleter<FFMS_Indexer, FFMS_CancelIndexing>>;
using FfmsIndexPtr = std::unique_ptr<FFMS_Index, FfmsDeleter<FFMS_Index, FFMS_DestroyIndex>>;
using FfmsVideoSourcePtr = std::unique_ptr<FFMS_VideoSource, FfmsDeleter<FFMS_VideoSource, FFMS_DestroyVideoSource>>;
using FfmsAudioSourcePtr = std::unique_ptr<FFMS_AudioSource, FfmsDeleter<FFMS_AudioSource, FFMS_DestroyAudioSource>>;
namespace ffms_detail {
inline void freeIndexBuffer(uint8_t* buffer) { FFMS_FreeIndexBuffer(&buffer); }
}  // namespace ffms_detail

using FfmsIndexBufferPtr = std::unique_ptr<uint8_t, FfmsDeleter<uint8_t, ffms_detail::freeIndexBuffer>>;
using FfmsResampleOptionsPtr =
    std::unique_ptr<FFMS_ResampleOptions, FfmsDeleter<FFMS_ResampleOptions, FFMS_DestroyResampleOptions>>;

// The error record every FFMS2 call fills in, with room for its text, and the
// one-time library set-up.

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

// Why FFmpeg cannot read a file, in FFmpeg's own words. FFMS2 reports only
// that it could not open the file; libavformat says why ("Invalid data found
// when processing input", "Permission denied", ...).

// nullopt when libavformat opens the file and finds its streams.
std::optional<std::string> whyFfmpegCannotRead(const std::string& path);

}  // namespace vistrel::engine
