#include "cli/Version.h"

#include <QtGlobal>

namespace vistrel::cli {

std::string vistrelVersion() { return VISTREL_VERSION; }

std::vector<engine::LibraryInfo> builtOn() {
    std::vector<engine::LibraryInfo> libraries{{"Qt", qVersion(), "LGPL version 3"}};
    for (auto& library : engine::mediaLibraries()) libraries.push_back(std::move(library));
    return libraries;
}

std::string versionText(std::string_view program) {
    std::string text = std::string(program) + ' ' + vistrelVersion() + '\n';
    for (const auto& library : builtOn()) text += library.name + ' ' + library.version + " (" + library.licence + ")\n";
    return text;
}

}  // namespace vistrel::cli
