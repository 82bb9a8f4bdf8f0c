#include "player/PictureFit.h"

#include <algorithm>
#include <cstdint>

namespace vistrel::player {

namespace {

// a * b / c rounded to the nearest whole number.
int scaled(int a, int b, int c) {
    return static_cast<int>((static_cast<int64_t>(a) * b * 2 + c) / (static_cast<int64_t>(c) * 2));
}

}  // namespace

QSize fittedSize(QSize picture, QSize area) {
    if (picture.isEmpty() || area.isEmpty()) return {};
    // Compare aspect ratios crosswise to stay in whole numbers.
    const bool widthLimits =
        static_cast<int64_t>(area.width()) * picture.height() <= static_cast<int64_t>(area.height()) * picture.width();
    if (widthLimits) return {area.width(), std::max(1, scaled(area.width(), picture.height(), picture.width()))};
    return {std::max(1, scaled(area.height(), picture.width(), picture.height())), area.height()};
}

QRect fittedRect(QSize picture, const QRect& area) {
    const QSize size = fittedSize(picture, area.size());
    if (size.isEmpty()) return {};
    return {area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2, size.width(),
            size.height()};
}

}  // namespace vistrel::player
