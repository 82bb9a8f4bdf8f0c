#include "model/NumericText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace vistrel::model {
namespace {

bool isSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isExponentMarker(char c) { return c == 'e' || c == 'E' || c == 'd' || c == 'D'; }

// The characters of a text with the skipped ones taken out, read one at a time.
class CompactReader {
public:
    explicit CompactReader(std::string_view text) : text_(text) { skip(); }

    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    void advance() {
        ++pos_;
        skip();
    }

private:
    void skip() {
        while (pos_ < text_.size() && isSkipped(text_[pos_])) ++pos_;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

void readDigits(CompactReader& in, std::string& out) {
    while (isDigit(in.peek())) {
        out += in.peek();
        in.advance();
    }
}

// Appends "e<sign><digits>" when an exponent with at least one digit follows;
// a marker without digits ends the number before the marker.
void readExponent(CompactReader& in, std::string& out) {
    if (!isExponentMarker(in.peek())) return;
    in.advance();
    std::string exponent = "e";
    if (in.peek() == '+' || in.peek() == '-') {
        exponent += in.peek();
        in.advance();
    }
    const std::size_t digitsFrom = exponent.size();
    readDigits(in, exponent);
    if (exponent.size() > digitsFrom) out += exponent;
}

// The power of ten of the number's leading non-zero digit, its exponent
// included: 2 for "123.4", -3 for "0.00123", 398 for "1.5e397". Held within
// a billion either way, far past any double.
std::int64_t leadingPowerOfTen(const std::string& number) {
    constexpr std::int64_t kLimit = 1'000'000'000;
    const std::size_t exponentAt = std::min(number.find('e'), number.size());
    const std::size_t pointAt = std::min(number.find('.'), exponentAt);
    const std::size_t leadAt = number.find_first_not_of("0.", 0);
    std::int64_t power = 0;
    if (leadAt < exponentAt)
        power = leadAt < pointAt ? std::int64_t(pointAt - leadAt) - 1 : -std::int64_t(leadAt - pointAt);
    std::int64_t exponent = 0;
    std::size_t at = exponentAt + 1;
    const bool negative = at < number.size() && number[at] == '-';
    if (at < number.size() && (number[at] == '-' || number[at] == '+')) ++at;
    for (; at < number.size(); ++at) exponent = std::min(exponent * 10 + (number[at] - '0'), kLimit);
    return std::clamp(power + (negative ? -exponent : exponent), -kLimit, kLimit);
}

double parseMagnitude(const std::string& number) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range)
        // from_chars leaves the value alone; the size of the number tells overflow from underflow.
        return leadingPowerOfTen(number) < 0 ? 0.0 : std::numeric_limits<double>::max();
    return value;
}

}  // namespace

double numericValue(std::string_view text) {
    CompactReader in(text);
    bool negative = false;
    if (in.peek() == '+' || in.peek() == '-') {
        negative = in.peek() == '-';
        in.advance();
    }

    std::string number;
    readDigits(in, number);
    std::size_t digitCount = number.size();
    if (in.peek() == '.') {
        in.advance();
        std::string fraction;
        readDigits(in, fraction);
        digitCount += fraction.size();
        if (!fraction.empty()) number += "." + fraction;
    }
    if (digitCount == 0) return 0.0;
    if (number.front() == '.') number.insert(number.begin(), '0');
    readExponent(in, number);

    const double magnitude = parseMagnitude(number);
    return negative ? -magnitude : magnitude;
}

std::string decimalText(double value) {
    if (value == 0.0) return "0";  // also -0
    constexpr double kFirstExponentForm = 1e15;
    if (std::trunc(value) == value && std::fabs(value) < kFirstExponentForm)
        return decimalText(static_cast<std::int64_t>(value));

    std::array<char, 64> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::general, 15);
    std::string text(buffer.data(), result.ptr);
    std::replace(text.begin(), text.end(), 'e', 'E');
    return text;
}

std::string decimalText(std::int64_t value) { return std::to_string(value); }

std::string decimalText(int value) { return std::to_string(value); }

}  // namespace vistrel::model
