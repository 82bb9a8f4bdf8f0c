#include "player/PlayerPath.h"

#include <QDir>
#include <QFileInfo>

namespace vistrel::player {

QString resolvePlayerPath(const QString& path) {
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(QDir::fromNativeSeparators(path));
#else
    if (!path.contains(u'\\') || QFileInfo::exists(path)) return path;
    QString slashed = path;
    slashed.replace(u'\\', u'/');
    return QFileInfo::exists(slashed) ? slashed : path;
#endif
}

}  // namespace vistrel::player
