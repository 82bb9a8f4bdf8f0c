#include "cli/SyncReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <cmath>
#include <cstdio>

namespace vistrel::cli {

namespace {

std::string angleName(size_t angleAfterA) { return std::string(1, char('B' + angleAfterA)); }

// Three decimals, without the sign of an offset that rounds to zero.
double shownOffset(double seconds) { return std::abs(seconds) < 0.0005 ? 0.0 : seconds; }

// Two decimals, never rounded up to a sure-looking 1.00 or down past the threshold.
double shownConfidence(double confidence) { return std::floor(confidence * 100) / 100; }

}  // namespace

std::string syncReportText(const std::vector<sync::AngleStart>& starts) {
    std::string text;
    for (size_t i = 0; i < starts.size(); ++i) {
        const sync::AngleStart& s = starts[i];
        char line[160];
        std::snprintf(line, sizeof line, "%s: start %lld  offset %.3f s  confidence %.2f", angleName(i).c_str(),
                      static_cast<long long>(s.startFrame), shownOffset(s.match.offsetSeconds),
                      shownConfidence(s.match.confidence));
        text += line;
        if (!s.sure()) text += "  unsure";
        if (s.driftSeconds) {
            std::snprintf(line, sizeof line, "  drift %.3f s", *s.driftSeconds);
            text += line;
        }
        text += '\n';
    }
    return text;
}

std::string syncReportJson(const std::vector<std::string>& clips, const std::vector<sync::AngleStart>& starts) {
    QJsonArray angles;
    for (size_t i = 0; i < starts.size(); ++i) {
        const sync::AngleStart& s = starts[i];
        QJsonObject angle{
            {"angle", QString::fromStdString(angleName(i))},
            {"clip", QString::fromStdString(clips.at(i + 1))},
            {"start_frame", qint64(s.startFrame)},
            {"offset_seconds", s.match.offsetSeconds},
            {"confidence", shownConfidence(s.match.confidence)},
            {"sure", s.sure()},
            {"fps", QString("%1/%2").arg(s.fps.num).arg(s.fps.den)},
            {"drift_seconds", s.driftSeconds ? QJsonValue(*s.driftSeconds) : QJsonValue()},
        };
        angles.append(angle);
    }
    QJsonObject root{{"angle_a", QString::fromStdString(clips.at(0))}, {"angles", angles}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

}  // namespace vistrel::cli
