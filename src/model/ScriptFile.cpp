#include "model/ScriptFile.h"

#include <QFile>
#include <QSaveFile>
#include <QString>

#include <stdexcept>

namespace vistrel::model {

QByteArray scriptFileBytes(const std::string& utf8Text) {
#ifdef Q_OS_WIN
    return QString::fromStdString(utf8Text).toLocal8Bit();
#else
    return QByteArray::fromStdString(utf8Text);
#endif
}

std::string scriptFileText(const QByteArray& bytes) {
#ifdef Q_OS_WIN
    return QString::fromLocal8Bit(bytes).toStdString();
#else
    return bytes.toStdString();
#endif
}

std::string readScriptFile(const std::string& path) {
    // Ten thousand switch points over four angles make about 1 MB.
    constexpr qint64 kLargestScript = 256 * 1024 * 1024;
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error(file.errorString().toStdString());
    if (file.size() > kLargestScript) throw std::runtime_error("the file is too large for an edit script");
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) throw std::runtime_error(file.errorString().toStdString());
    return scriptFileText(bytes);
}

namespace {
std::string failureOf(const std::string& path, const QSaveFile& file) {
    return path + ": " + file.errorString().toStdString();
}
}  // namespace

std::optional<std::string> saveScriptFile(const std::string& path, const std::string& utf8Text) {
    return saveWholeFile(path, scriptFileBytes(utf8Text));
}

std::optional<std::string> saveWholeFile(const std::string& path, const QByteArray& bytes) {
    QSaveFile file(QString::fromStdString(path));
    // A folder that takes no new file (so no temporary beside the target)
    // may still hold a script the user may replace: that one is written in
    // place. Everywhere else the earlier file stays until every byte is out.
    file.setDirectWriteFallback(true);
    // Unbuffered, so that a full disk fails the write itself: a buffered
    // write succeeds in memory, and commit() (Qt 6.4) renames the file over
    // the target even when writing out the buffer failed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return failureOf(path, file);

    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const std::string reason = failureOf(path, file);
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) return failureOf(path, file);
    return std::nullopt;
}

TemporaryScriptFile::TemporaryScriptFile(const std::string& nameTemplate, const std::string& utf8Text)
    : file_(QString::fromStdString(nameTemplate)) {
    if (!file_.open()) throw std::runtime_error(nameTemplate + ": " + file_.errorString().toStdString());
    const QByteArray bytes = scriptFileBytes(utf8Text);
    if (file_.write(bytes) != bytes.size() || !file_.flush())
        throw std::runtime_error(path() + ": " + file_.errorString().toStdString());
    file_.close();  // the file stays until this goes away
}

}  // namespace vistrel::model
