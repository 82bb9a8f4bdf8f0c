#include "model/KeptEdit.h"

#include "model/EditScriptReader.h"
#include "model/ScriptFile.h"
#include "model/Scripts.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>
#include <QString>

#include <sstream>
#include <stdexcept>

namespace vistrel::model {
namespace {

QString qPath(const std::string& path) { return QString::fromStdString(path); }

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The content with the switch list kept verbatim, when that list is one the
// edit can hold and writes the very script that was kept.
std::optional<EditContent> withKeptSwitchPoints(EditContent content, std::vector<std::string> points,
                                                const std::string& scriptText) {
    if (points.size() != content.switchPoints.size()) return std::nullopt;
    content.switchPoints = std::move(points);
    Edit edit;
    try {
        edit.replace(content);
    } catch (const std::invalid_argument&) {
        return std::nullopt;
    }
    if (editScriptText(edit) != scriptText) return std::nullopt;
    return content;
}

}  // namespace

KeptEdit::KeptEdit(std::string folder) : folder_(std::move(folder)) {}

KeptEdit::~KeptEdit() = default;

std::string KeptEdit::platformFolder() {
#ifdef Q_OS_WIN
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() + "/vistrel/state";
#else
    return stateFolder(qEnvironmentVariable("XDG_STATE_HOME").toStdString(), QDir::homePath().toStdString()) +
           "/vistrel";
#endif
}

std::string KeptEdit::stateFolder(const std::string& xdgStateHome, const std::string& home) {
    if (!xdgStateHome.empty() && xdgStateHome.front() == '/') return xdgStateHome;
    return home + "/.local/state";
}

std::optional<std::string> KeptEdit::claim() {
    if (!QDir().mkpath(qPath(folder_))) return folder_ + " cannot be created";
    auto lock = std::make_unique<QLockFile>(qPath(folder_ + "/running.lock"));
    lock->setStaleLockTime(0);  // stale only when its process is gone, however long a run lasts
    if (!lock->tryLock(0)) {
        if (lock->error() == QLockFile::LockFailedError) return "another Vistrel keeps its edit in " + folder_;
        return folder_ + " cannot be written";
    }
    lock_ = std::move(lock);
    return std::nullopt;
}

bool KeptEdit::holdsEdit() const { return QFile::exists(qPath(scriptPath())); }

std::optional<std::string> KeptEdit::write(const std::string& scriptText,
                                           const std::vector<std::string>& switchPoints) const {
    std::string entries;
    for (const auto& entry : switchPoints) entries += entry + '\n';
    if (auto failure = saveScriptFile(switchPointsPath(), entries)) return failure;
    return saveScriptFile(scriptPath(), scriptText);
}

EditContent KeptEdit::read() const {
    std::string script;
    EditContent content;
    try {
        script = readScriptFile(scriptPath());
        content = readEditScript(script);
    } catch (const std::runtime_error& failure) {
        throw std::runtime_error(scriptPath() + ": " + failure.what());
    }
    std::vector<std::string> points;
    try {
        points = linesOf(readScriptFile(switchPointsPath()));
    } catch (const std::runtime_error&) {
        return content;  // the script alone still holds the whole edit
    }
    return withKeptSwitchPoints(content, std::move(points), script).value_or(content);
}

std::optional<std::string> KeptEdit::writeEditFile(const std::string& path) const {
    return saveScriptFile(editFilePath(), path);
}

std::string KeptEdit::editFile() const {
    try {
        return readScriptFile(editFilePath());
    } catch (const std::runtime_error&) {
        return {};  // a name that cannot be read: the edit is still there
    }
}

std::string KeptEdit::setAside() const {
    const std::string aside = folder_ + "/edit-unreadable.avs";
    QFile::remove(qPath(aside));
    QFile::rename(qPath(scriptPath()), qPath(aside));
    QFile::remove(qPath(switchPointsPath()));
    QFile::remove(qPath(editFilePath()));
    return aside;
}

void KeptEdit::remove() const {
    QFile::remove(qPath(scriptPath()));
    QFile::remove(qPath(switchPointsPath()));
    QFile::remove(qPath(editFilePath()));
}

void KeptEdit::release() {
    if (!lock_) return;
    remove();
    lock_.reset();
}

}  // namespace vistrel::model
