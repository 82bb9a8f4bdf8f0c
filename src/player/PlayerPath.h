#pragma once
// The file a path given to the player names. Callers write "/" or "\" as the
// separator: on Windows both are separators; elsewhere a backslash is a
// character of a file name, so a path is read as it stands when it names a
// file, and with its backslashes read as separators only when that names one.

#include <QString>

namespace vistrel::player {

QString resolvePlayerPath(const QString& path);

}  // namespace vistrel::player
