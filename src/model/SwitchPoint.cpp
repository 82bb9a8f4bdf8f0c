#include "model/SwitchPoint.h"

#include "model/NumericText.h"

#include <algorithm>

namespace vistrel::model {

namespace {

std::string_view withoutLeadingBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

// Sort rank of one character: case folded, "|" just below "0".
int orderRank(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '|') return 2 * '0' - 1;
    const int folded = (byte >= 'A' && byte <= 'Z') ? byte - 'A' + 'a' : byte;
    return 2 * folded;
}

}  // namespace

std::string makeSwitchPointEntry(std::string_view positionReply, char angle) {
    const auto fill =
        positionReply.size() < kSwitchPointFrameWidth ? kSwitchPointFrameWidth - positionReply.size() : std::size_t{0};
    std::string entry(fill, '0');
    entry += withoutLeadingBlanks(positionReply);
    entry += '|';
    entry += angle;
    return entry;
}

std::string_view switchPointFrameText(std::string_view entry) { return entry.substr(0, kSwitchPointFrameWidth); }

double switchPointFrame(std::string_view entry) { return numericValue(switchPointFrameText(entry)); }

std::string_view switchPointAngle(std::string_view entry) {
    return entry.empty() ? entry : entry.substr(entry.size() - 1);
}

bool switchListLess(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return orderRank(x) < orderRank(y); });
}

int switchListInsertRow(const StringList& list, std::string_view entry) {
    const auto& entries = list.entries();
    const auto place =
        std::upper_bound(entries.begin(), entries.end(), entry,
                         [](std::string_view e, const std::string& existing) { return switchListLess(e, existing); });
    return static_cast<int>(place - entries.begin());
}

}  // namespace vistrel::model
