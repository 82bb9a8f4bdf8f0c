// Version(): the engine's own title card, 460 x 80 so that the intro's
// version().addborders(122,20,122,20) is exactly 704 x 120.

#include "engine/core/Pixels.h"
#include "engine/core/ScriptError.h"
#include "engine/core/StillClip.h"
#include "engine/filters/FunctionTable.h"
#include "engine/text/TextComposite.h"
#include "engine/text/TextMask.h"

namespace vistrel::engine {

namespace {

constexpr int kWidth = 460;
constexpr int kHeight = 80;
constexpr int kTop = 4;
constexpr int kPadding = 8;
constexpr int kLargestLine = 24;
constexpr int kSmallestLine = 9;
constexpr uint32_t kBackground = 0x404040;
constexpr TextColours kColours{0x00ECF2BF, 0x00000000};

const std::vector<std::string>& versionLines() {
    static const std::vector<std::string> lines{"Vistrel script engine 1.0", "Clips read with FFMS2 and FFmpeg",
                                                "Text drawn with Qt"};
    return lines;
}

// The largest text that fits the card with a margin, down to the smallest size.
TextMask fittedText() {
    TextStyle style;
    style.align = LineAlign::Centre;
    for (int size = kLargestLine;; --size) {
        style.lineHeight = size;
        TextMask mask;
        try {
            mask = TextMask::render(versionLines(), style);
        } catch (const ScriptError& e) {
            throw ScriptError(std::string("Version: ") + e.what());
        }
        const bool fits = mask.boxWidth() + kPadding <= kWidth && mask.boxHeight() + kPadding <= kHeight;
        if (fits || size <= kSmallestLine) return mask;
    }
}

}  // namespace

Value createVersion(const Args&, Environment&) {
    const VideoInfo vi = cardInfo(kWidth, kHeight, PixelType::RGB24);
    MutableFramePtr card = Frame::create(vi.width, vi.height, vi.pixelType);
    fillFrame(*card, Colour::fromRgb(kBackground));
    const TextMask text = fittedText();
    drawTextMask(*card, text, (kWidth - text.boxWidth()) / 2, kTop, kColours);
    return ClipPtr(std::make_shared<StillClip>(vi, std::move(card)));
}

}  // namespace vistrel::engine
