#include "model/ScriptLocations.h"

#include "model/ScriptFile.h"

#include <QDir>
#include <QString>
#include <QtGlobal>

namespace vistrel::model {
namespace {

// A folder that cannot be made shows up as the script's own failure.
void makeFolder(const std::string& folder) {
    if (!folder.empty()) QDir().mkpath(QString::fromStdString(folder));
}

}  // namespace

ScriptLocations ScriptLocations::forPlatform() {
#ifdef Q_OS_WIN
    return {"",
            "c:\\intro.avs",
            "c:/intro.avs",
            "c:\\preview.avs",
            "c:\\preview.avs",
            "c:\\edit-preview.avs",
            "c:\\edit-preview.avs",
            "c:/render-XXXXXX.avs",
            "c:\\recording.avs"};
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
    return {folder,
            intro,
            intro,
            preview,
            preview,
            editPreview,
            editPreview,
            folder + "/render-XXXXXX.avs",
            folder + "/recording.avs"};
}

std::string ScriptLocations::cacheFolder(const std::string& xdgCacheHome, const std::string& home) {
    if (!xdgCacheHome.empty() && xdgCacheHome.front() == '/') return xdgCacheHome;
    return home + "/.cache";
}

std::optional<std::string> ScriptLocations::write(const std::string& path, const std::string& text) const {
    makeFolder(folder);
    return saveScriptFile(path, text);
}

std::unique_ptr<TemporaryScriptFile> ScriptLocations::writeTemporary(const std::string& nameTemplate,
                                                                     const std::string& text) const {
    makeFolder(folder);
    return std::make_unique<TemporaryScriptFile>(nameTemplate, text);
}

}  // namespace vistrel::model
