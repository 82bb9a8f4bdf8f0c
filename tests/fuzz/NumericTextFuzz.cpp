// The numeric value of any text is finite, and its decimal text reads back
// as the same value.
#include "model/NumericText.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vistrel::model;
    const double value = numericValue(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!std::isfinite(value)) std::abort();
    const double again = numericValue(decimalText(value));
    // Fifteen significant digits: the value comes back to within that precision.
    if (std::fabs(again - value) > std::fabs(value) * 1e-14 + 1e-300) std::abort();
    return 0;
}
