#include "engine/filters/Subtitle.h"

#include "engine/core/ScriptError.h"
#include "engine/filters/FunctionTable.h"

#include <QFontDatabase>
#include <QString>
#include <QStringList>

#include <cmath>

namespace vistrel::engine {

namespace {

enum class Column { Left, Centre, Right };
enum class Row { Bottom, Baseline, Top };

struct Alignment {
    Column column;
    Row row;
};

Alignment alignmentOf(const SubtitleSettings& s) {
    const int align = s.align.value_or(s.x == -1.0 ? 2 : 7);
    if (align < 1 || align > 9) throw ScriptError("Subtitle: Align values are 1 - 9 mapped to your numeric pad");
    return {Column((align - 1) % 3), Row((align - 1) / 3)};
}

// The two-character sequence \n breaks lines only when line spacing is given.
std::string withLineBreaks(const std::string& text, bool escapes) {
    if (!escapes) return text;
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool escape = text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n';
        out += escape ? '\n' : text[i];
        if (escape) ++i;
    }
    return out;
}

std::string fontFamily(const SubtitleSettings& s) {
    if (s.fontFile.empty()) return s.font;
    const int id = QFontDatabase::addApplicationFont(QString::fromStdString(s.fontFile));
    const QStringList families = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList();
    if (families.isEmpty()) throw ScriptError("Subtitle: cannot load the font file '" + s.fontFile + "'");
    return families.front().toStdString();
}

TextStyle styleOf(const SubtitleSettings& s, Column column) {
    TextStyle style;
    style.family = fontFamily(s);
    style.lineHeight = s.size;
    style.bold = s.bold;
    style.italic = s.italic;
    style.antialias = s.antialias;
    style.letterSpacing = s.characterSpacing / 8.0;
    style.lineGap = s.lineSpacing.value_or(0) / 8.0;
    style.align = column == Column::Left     ? LineAlign::Left
                  : column == Column::Centre ? LineAlign::Centre
                                             : LineAlign::Right;
    return style;
}

int anchorX(const SubtitleSettings& s, Column column, int width) {
    if (s.x == -1.0) return width / 2;
    if (s.x) return int(std::floor(*s.x));
    return column == Column::Left ? 8 : column == Column::Centre ? width / 2 : width - 8;
}

int anchorY(const SubtitleSettings& s, Row row, int height) {
    if (s.y == -1.0) return height / 2;
    if (s.y) return int(std::floor(*s.y));
    return row == Row::Top ? 0 : row == Row::Baseline ? height / 2 : height - 2;
}

}  // namespace

Subtitle::Subtitle(ClipPtr child, const SubtitleSettings& s)
    : Clip(child->info()),
      child_(std::move(child)),
      colours_(s.colours),
      firstFrame_(s.firstFrame),
      lastFrame_(s.lastFrame.value_or(info_.frameCount - 1)) {
    const Alignment a = alignmentOf(s);
    if (!info_.hasVideo()) return;
    try {
        mask_ = TextMask::render(splitLines(withLineBreaks(s.text, s.lineSpacing.has_value())), styleOf(s, a.column));
    } catch (const ScriptError& e) {
        throw ScriptError(std::string("Subtitle: ") + e.what());
    }
    const int x = anchorX(s, a.column, info_.width), y = anchorY(s, a.row, info_.height);
    boxLeft_ = a.column == Column::Left     ? x
               : a.column == Column::Centre ? x - mask_.boxWidth() / 2
                                            : x - mask_.boxWidth();
    boxTop_ = a.row == Row::Top ? y : a.row == Row::Baseline ? y - mask_.firstBaseline() : y - mask_.boxHeight();
}

FramePtr Subtitle::makeFrame(int64_t n) {
    FramePtr picture = child_->frame(n);
    if (n < firstFrame_ || n > lastFrame_ || mask_.empty()) return picture;
    MutableFramePtr out = picture->clone();
    drawTextMask(*out, mask_, boxLeft_, boxTop_, colours_);
    return out;
}

void Subtitle::readAudio(void* dst, int64_t start, int64_t count) { child_->audio(dst, start, count); }

// Script entry. Slots: 0 clip, 1 text, 2 x, 3 y, 4 first_frame, 5 last_frame,
// 6 font, 7 size, 8 text_color, 9 halo_color, 10 align, 11 spc, 12 lsp,
// 13 font_width, 14 font_angle, 15 interlaced, 16 font_filename, 17 utf8,
// 18 bold, 19 italic, 20 noaa. Width, angle and interlaced drawing are not
// done; text is always UTF-8.
Value createSubtitle(const Args& args, Environment&) {
    SubtitleSettings s;
    s.text = args.stringOr(1, "");
    if (args.defined(2)) s.x = args.floatOr(2, 0.0);
    if (args.defined(3)) s.y = args.floatOr(3, 0.0);
    s.firstFrame = args.intOr(4, 0);
    if (args.defined(5)) s.lastFrame = args.intOr(5, 0);
    s.font = args.stringOr(6, s.font);
    s.size = args.floatOr(7, s.size);
    s.colours.text = static_cast<uint32_t>(args.intOr(8, int32_t(s.colours.text)));
    s.colours.halo = static_cast<uint32_t>(args.intOr(9, int32_t(s.colours.halo)));
    if (args.defined(10)) s.align = args.intOr(10, 7);
    s.characterSpacing = args.intOr(11, 0);
    if (args.defined(12)) s.lineSpacing = args.intOr(12, 0);
    s.fontFile = args.stringOr(16, "");
    s.bold = args.boolOr(18, true);
    s.italic = args.boolOr(19, false);
    s.antialias = !args.boolOr(20, false);
    return ClipPtr(std::make_shared<Subtitle>(args.clip(0), s));
}

}  // namespace vistrel::engine
