#include "ui/Twips.h"

#include <cmath>

namespace vistrel::ui {

int pixelsFromTwips(int twips) { return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel)); }

QRect pixelRect(const TwipRect& place) {
    return {pixelsFromTwips(place.left), pixelsFromTwips(place.top), pixelsFromTwips(place.width),
            pixelsFromTwips(place.height)};
}

QSize pixelSize(int widthTwips, int heightTwips) { return {pixelsFromTwips(widthTwips), pixelsFromTwips(heightTwips)}; }

}  // namespace vistrel::ui
