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
    if (!file.open(QIODevice::WriteOnly)) return failureOf(path, file);

    const QByteArray bytes = scriptFileBytes(utf8Text);
    if (file.write(bytes) != bytes.size()) {
        const std::string reason = failureOf(path, file);
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) return failureOf(path, file);
    return std::nullopt;
}

}  // namespace vistrel::model
