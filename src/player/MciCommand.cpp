#include "player/MciCommand.h"

#include <QRegularExpression>

#include <limits>

namespace vistrel::player {

namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

std::optional<int64_t> seekTarget(QStringView argument) {
    const QString word = argument.trimmed().toString().toLower();
    if (word == u"start") return 0;
    if (word == u"end") return kMax;
    return leadingInteger(argument);
}

}  // namespace

std::optional<int64_t> leadingInteger(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    const auto isDigit = [&](qsizetype at) { return at < text.size() && text[at] >= u'0' && text[at] <= u'9'; };
    if (!isDigit(i)) return std::nullopt;
    int64_t value = 0;
    for (; isDigit(i); ++i) {
        const int digit = text[i].unicode() - u'0';
        if (value > (kMax - digit) / 10) return negative ? kMin : kMax;
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

MciCommand parseMciCommand(const QString& text) {
    static const QRegularExpression seek(
        QStringLiteral(R"(^\s*seek\s+to(?:\s+(.*))?$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression waitFlag(QStringLiteral(R"(\s+wait\s*$)"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (const auto match = seek.match(text); match.hasMatch()) {
        QString argument = match.captured(1);
        const bool wait = argument.contains(waitFlag);
        if (wait) argument.remove(waitFlag);
        return {MciCommand::Kind::SeekTo, seekTarget(argument), wait};
    }

    const QStringList words = text.toLower().split(QRegularExpression(QStringLiteral(R"(\s+)")), Qt::SkipEmptyParts);
    using Kind = MciCommand::Kind;
    if (words.size() == 1) {
        if (words[0] == u"play") return {Kind::Play, {}};
        if (words[0] == u"pause") return {Kind::Pause, {}};
        if (words[0] == u"stop") return {Kind::Stop, {}};
    }
    if (words.size() == 2 && words[0] == u"status") {
        if (words[1] == u"position") return {Kind::StatusPosition, {}};
        if (words[1] == u"length") return {Kind::StatusLength, {}};
        if (words[1] == u"mode") return {Kind::StatusMode, {}};
    }
    return {};
}

}  // namespace vistrel::player
