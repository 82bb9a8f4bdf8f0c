#include "engine/clips/ErrorCard.h"

#include "engine/core/Pixels.h"
#include "engine/core/ScriptError.h"
#include "engine/core/StillClip.h"
#include "engine/text/TextComposite.h"
#include "engine/text/TextMask.h"

#include <algorithm>
#include <cstdint>

namespace vistrel::engine {

namespace {

constexpr uint32_t kBackground = 0xFF000000;  // opaque black
constexpr TextColours kColours{0x00FF3333, 0x00000000};
constexpr int kPadding = 8;
constexpr int kTop = 4;
constexpr size_t kLongestLine = 160;  // characters; longer lines are wrapped
constexpr size_t kMostLines = 40;

int roundUp(int value, int multiple) { return (value + multiple - 1) / multiple * multiple; }

TextStyle cardStyle() {
    TextStyle style;
    style.lineHeight = 24;
    style.bold = true;
    style.align = LineAlign::Centre;
    return style;
}

// The message's lines, long ones wrapped, so that any message gives a card
// of sensible size; past the last line that fits, "..." says there is more.
std::vector<std::string> cardLines(const std::string& message) {
    std::vector<std::string> lines;
    for (const std::string& line : splitLines(message)) {
        size_t start = 0;
        do {
            size_t length = std::min(kLongestLine, line.size() - start);
            while (length > 0 && start + length < line.size() && (uint8_t(line[start + length]) & 0xC0) == 0x80)
                --length;  // never split a UTF-8 character
            if (length == 0) length = std::min(kLongestLine, line.size() - start);
            lines.push_back(line.substr(start, length));
            start += length;
        } while (start < line.size());
    }
    if (lines.size() > kMostLines) {
        lines.resize(kMostLines);
        lines.back() = "...";
    }
    return lines;
}

// Without a GUI application no font can be drawn: the card stays blank.
TextMask maskOrEmpty(const std::string& message) {
    try {
        return TextMask::render(cardLines(message), cardStyle());
    } catch (const ScriptError&) {
        return TextMask();
    }
}

}  // namespace

ClipPtr makeErrorCard(const std::string& message) {
    const TextMask mask = maskOrEmpty(message);
    const int boxHeight = mask.empty() ? 24 : mask.boxHeight();
    const int width = roundUp(mask.boxWidth() + kPadding, 8);
    const int height = roundUp(boxHeight + kPadding, 2);
    MutableFramePtr picture = Frame::create(width, height, PixelType::RGB32);
    fillFrame(*picture, Colour::fromRgb(kBackground));
    drawTextMask(*picture, mask, (width - mask.boxWidth()) / 2, kTop, kColours);
    return std::make_shared<StillClip>(cardInfo(width, height, PixelType::RGB32), std::move(picture));
}

}  // namespace vistrel::engine
