#include "engine/text/TextMask.h"

#include "engine/core/ScriptError.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vistrel::engine {

namespace {

constexpr int64_t kMostPixels = int64_t(1) << 26;

QFont fontWithPixelSize(const TextStyle& style, int pixelSize) {
    QFont font;
    font.setFamilies({QString::fromStdString(style.family), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(std::max(pixelSize, 1));
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setStyleStrategy(style.antialias ? QFont::PreferAntialias : QFont::NoAntialias);
    if (style.letterSpacing != 0.0) font.setLetterSpacing(QFont::AbsoluteSpacing, style.letterSpacing);
    return font;
}

// The font whose ascent plus descent comes closest to the wanted cell height.
QFont fontForCell(const TextStyle& style) {
    const int first = std::max(1, int(std::lround(style.lineHeight)));
    const QFontMetricsF probe(fontWithPixelSize(style, first));
    const double cell = probe.ascent() + probe.descent();
    const int scaled = cell > 0 ? int(std::lround(first * style.lineHeight / cell)) : first;
    return fontWithPixelSize(style, scaled);
}

// Each pixel takes the strongest coverage within one pixel of it.
std::vector<uint8_t> dilate(const std::vector<uint8_t>& src, int w, int h) {
    std::vector<uint8_t> out(src.size(), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t best = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int sx = x + dx, sy = y + dy;
                    if (sx >= 0 && sy >= 0 && sx < w && sy < h) best = std::max(best, src[size_t(sy) * w + sx]);
                }
            out[size_t(y) * w + x] = best;
        }
    return out;
}

void requireGuiApplication() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw ScriptError("drawing text needs a running Qt GUI application");
}

}  // namespace

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (true) {
        const size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

namespace {

// Where each line goes: its text and its pen position inside the mask.
struct LaidOutLine {
    QString text;
    QPointF pen;
};

std::vector<LaidOutLine> layOut(const std::vector<QString>& texts, const QFontMetricsF& metrics, const TextStyle& style,
                                int boxWidth, int firstBaseline, int lineStep) {
    std::vector<LaidOutLine> laid;
    for (size_t i = 0; i < texts.size(); ++i) {
        const double advance = metrics.horizontalAdvance(texts[i]);
        double x = TextMask::margin();
        if (style.align == LineAlign::Centre) x += (boxWidth - advance) / 2.0;
        if (style.align == LineAlign::Right) x += boxWidth - advance;
        const double baseline = TextMask::margin() + firstBaseline + double(i) * lineStep;
        laid.push_back({texts[i], QPointF(std::round(x), baseline)});
    }
    return laid;
}

// The glyphs' coverage: white text painted on transparency, alpha kept.
std::vector<uint8_t> paintCoverage(const std::vector<LaidOutLine>& lines, const QFont& font, bool antialias, int w,
                                   int h) {
    if (int64_t(w) * h > kMostPixels) throw ScriptError("the text is too large to draw");
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) throw ScriptError("the text is too large to draw");
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing, antialias);
        painter.setFont(font);
        painter.setPen(Qt::white);
        for (const LaidOutLine& line : lines) painter.drawText(line.pen, line.text);
    }
    std::vector<uint8_t> coverage(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) coverage[size_t(y) * size_t(w) + size_t(x)] = uint8_t(qAlpha(row[x]));
    }
    return coverage;
}

}  // namespace

TextMask TextMask::render(const std::vector<std::string>& lines, const TextStyle& style) {
    TextMask mask;
    if (lines.empty()) return mask;
    requireGuiApplication();

    const QFont font = fontForCell(style);
    const QFontMetricsF metrics(font);
    const int lineStep = std::max(1, int(std::lround(style.lineHeight + style.lineGap)));
    std::vector<QString> texts;
    double widest = 0;
    for (const std::string& line : lines) {
        texts.push_back(QString::fromUtf8(line.data(), qsizetype(line.size())));
        widest = std::max(widest, metrics.horizontalAdvance(texts.back()));
    }
    mask.boxWidth_ = int(std::ceil(widest));
    mask.boxHeight_ = lineStep * int(lines.size() - 1) + int(std::lround(style.lineHeight));
    mask.firstBaseline_ = int(std::lround(metrics.ascent()));
    if (mask.boxWidth_ == 0) return mask;

    const auto laid = layOut(texts, metrics, style, mask.boxWidth_, mask.firstBaseline_, lineStep);
    mask.glyphs_ = paintCoverage(laid, font, style.antialias, mask.maskWidth(), mask.maskHeight());
    mask.halo_ = dilate(mask.glyphs_, mask.maskWidth(), mask.maskHeight());
    return mask;
}

}  // namespace vistrel::engine
