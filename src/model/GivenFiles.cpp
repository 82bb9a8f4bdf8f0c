#include "model/GivenFiles.h"

#include "model/Messages.h"

#include <QFile>
#include <QFileInfo>

namespace vistrel::model {
namespace {

// Every edit script begins with its overlap line.
bool beginsAsEditScript(const QString& path) {
    static const QByteArray kFirstLine = "overlap=";
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(kFirstLine.size()) == kFirstLine;
}

}  // namespace

std::optional<std::string> GivenFiles::choose() {
    if (paths_.empty()) return std::nullopt;
    return paths_.front();
}

std::vector<GivenOpening> givenOpenings(const std::vector<std::string>& paths, MessageSink& messages) {
    std::vector<GivenOpening> openings;
    for (const std::string& path : paths) {
        const QString file = QString::fromStdString(path);
        if (!QFileInfo(file).isFile()) {
            messages.showMessage(messages::kNoSuchFilePrefix + path);
            continue;
        }
        const bool editScript = beginsAsEditScript(file);
        if (editScript || openings.empty() || openings.back().editScript) openings.push_back({editScript, {}});
        openings.back().paths.push_back(path);
    }
    return openings;
}

}  // namespace vistrel::model
