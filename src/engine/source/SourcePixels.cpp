#include "engine/source/SourcePixels.h"

#include "engine/source/FfmsLibrary.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <string>

namespace vistrel::engine {

namespace {

bool fitsSize(PixelType type, int width, int height) {
    if (type == PixelType::YV12) return width % 2 == 0 && height % 2 == 0;
    if (type == PixelType::YUY2) return width % 2 == 0;
    return true;
}

}  // namespace

PixelType sourcePixelType(int encodedFormat, std::optional<PixelType> requested, int width, int height) {
    if (requested) {
        if (!fitsSize(*requested, width, height))
            throw MediaError(pixelTypeName(*requested) + " needs an even " +
                             (*requested == PixelType::YV12 ? "width and height" : "width") + "; the picture is " +
                             std::to_string(width) + "x" + std::to_string(height) + ".");
        return *requested;
    }
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(encodedFormat));
    const bool rgb = descriptor && (descriptor->flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL));
    return rgb || !fitsSize(PixelType::YV12, width, height) ? PixelType::RGB32 : PixelType::YV12;
}

int avPixelFormatOf(PixelType type) {
    switch (type) {
    case PixelType::RGB32: return AV_PIX_FMT_BGRA;
    case PixelType::RGB24: return AV_PIX_FMT_BGR24;
    case PixelType::YUY2: return AV_PIX_FMT_YUYV422;
    case PixelType::YV12: return AV_PIX_FMT_YUV420P;
    }
    return AV_PIX_FMT_NONE;
}

Frame ffmsFrameView(const FFMS_Frame& source, PixelType type) {
    return Frame::over(source.ScaledWidth, source.ScaledHeight, type, source.Data, source.Linesize);
}

}  // namespace vistrel::engine
