#include "model/ScriptLocations.h"

#include <QDir>
#include <QString>
#include <QtGlobal>

#include "model/ScriptFile.h"

namespace vistrel::model {

ScriptLocations ScriptLocations::forPlatform() {
#ifdef Q_OS_WIN
    return {"",
            "c:\\intro.avs",
            "c:/intro.avs",
            "c:\\preview.avs",
            "c:\\preview.avs",
            "c:\\edit-preview.avs",
            "c:\\edit-preview.avs",
            "c:\\render.avs"};
#else
    const std::string cache =
        cacheFolder(qEnvironmentVariable("XDG_CACHE_HOME").toStdString(), QDir::homePath().toStdString());
    return inFolder(cache + "/vistrel");
#endif
}

ScriptLocations ScriptLocations::inFolder(const std::string& folder) {
    const std::string intro = folder + "/intro.avs";
    const std::string preview = folder + "/preview.avs";
    const std::string editPreview = folder + "/edit-preview.avs";
    return {folder, intro, intro, preview, preview, editPreview, editPreview, folder + "/render.avs"};
}

std::string ScriptLocations::cacheFolder(const std::string& xdgCacheHome, const std::string& home) {
    if (!xdgCacheHome.empty() && xdgCacheHome.front() == '/') return xdgCacheHome;
    return home + "/.cache";
}

std::optional<std::string> ScriptLocations::write(const std::string& path, const std::string& text) const {
    // A folder that cannot be made shows up as the save's own failure.
    if (!folder.empty()) QDir().mkpath(QString::fromStdString(folder));
    return saveScriptFile(path, text);
}

}  // namespace vistrel::model
