#include "engine/YuvToRgb.h"

#include <cmath>

namespace vistrel::engine {

YuvToRgbMatrix YuvToRgbMatrix::rec601() {
    constexpr double kr = 0.299, kb = 0.114, kg = 1.0 - kr - kb;
    constexpr double kLumaScale = 255.0 / 219.0, chromaScale = 255.0 / 224.0;
    constexpr double kUnit = 1 << kBits;
    auto fixed = [&](double v) { return int(std::lround(v * kUnit)); };
    return {fixed(kLumaScale), fixed(2.0 * (1.0 - kr) * chromaScale), fixed(2.0 * (1.0 - kb) * kb / kg * chromaScale),
            fixed(2.0 * (1.0 - kr) * kr / kg * chromaScale), fixed(2.0 * (1.0 - kb) * chromaScale)};
}

}  // namespace vistrel::engine
