#include "model/ScriptFile.h"

#include <QSaveFile>
#include <QString>

namespace vistrel::model {

QByteArray scriptFileBytes(const std::string& utf8Text)
{
#ifdef Q_OS_WIN
    return QString::fromStdString(utf8Text).toLocal8Bit();
#else
    return QByteArray::fromStdString(utf8Text);
#endif
}

namespace {
std::string failureOf(const std::string& path, const QSaveFile& file)
{
    return path + ": " + file.errorString().toStdString();
}
}  // namespace

std::optional<std::string> saveScriptFile(const std::string& path, const std::string& utf8Text)
{
    QSaveFile file(QString::fromStdString(path));
    // A folder that takes no new file (so no temporary beside the target)
    // may still hold a script the user may replace: that one is written in
    // place. Everywhere else the earlier file stays until every byte is out.
    file.setDirectWriteFallback(true);
    // Unbuffered, so that a full disk fails the write itself: a buffered
    // write succeeds in memory, and commit() (Qt 6.4) renames the file over
    // the target even when writing out the buffer failed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return failureOf(path, file);

    const QByteArray bytes = scriptFileBytes(utf8Text);
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const std::string reason = failureOf(path, file);
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) return failureOf(path, file);
    return std::nullopt;
}

}  // namespace vistrel::model
