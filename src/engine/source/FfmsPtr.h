#pragma once
// Owning pointers for FFMS2 objects: one deleter template, one alias per type.
//
// An indexer is consumed by FFMS_DoIndexing2 (which frees it whatever the
// outcome): release() it into that call. Until then its deleter cancels it.

#include <ffms.h>

#include <cstdint>
#include <memory>

namespace vistrel::engine {

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

}  // namespace vistrel::engine
