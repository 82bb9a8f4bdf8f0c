#include "engine/Script.h"

#include "engine/core/ScriptError.h"
#include "engine/core/Utf8Path.h"
#include "engine/filters/FunctionTable.h"
#include "engine/script/Interpreter.h"
#include "engine/source/SourcesAhead.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace vistrel::engine {

namespace {

std::string readScriptText(const std::filesystem::path& file, const std::string& path) {
    const auto fail = [&](const std::string& reason) {
        return ScriptError("AVISource: couldn't open file '" + path + "'\n" + reason);
    };
    std::error_code error;
    if (std::filesystem::is_directory(file, error)) throw fail(std::strerror(EISDIR));
    std::ifstream in(file, std::ios::binary);
    if (!in) throw fail(std::strerror(errno));
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw fail(std::strerror(errno));
    return std::move(text).str();
}

// The identity of a script file, the same however its path is spelled.
std::string scriptIdentity(const std::filesystem::path& file) {
    std::error_code error;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(file, error);
    return error ? std::filesystem::absolute(file, error).string() : canonical.string();
}

// Marks a script as being loaded for as long as it runs, so that a script
// that loads itself, directly or through others, is caught.
class LoadingGuard {
public:
    LoadingGuard(Environment& env, const std::filesystem::path& file, const std::string& path)
        : env_(env), identity_(scriptIdentity(file)) {
        if (!env_.scriptsLoading) env_.scriptsLoading = &ownSet_;
        if (!env_.scriptsLoading->insert(identity_).second)
            throw ScriptError("AVISource: script loads itself: '" + path + "'");
        inserted_ = true;
    }
    ~LoadingGuard() {
        if (inserted_) env_.scriptsLoading->erase(identity_);
        if (env_.scriptsLoading == &ownSet_) env_.scriptsLoading = nullptr;
    }
    LoadingGuard(const LoadingGuard&) = delete;
    LoadingGuard& operator=(const LoadingGuard&) = delete;

private:
    Environment& env_;
    std::string identity_;
    std::set<std::string> ownSet_;
    bool inserted_ = false;
};

// While a script file runs, relative paths in it start from its folder.
class ScriptFolderGuard {
public:
    ScriptFolderGuard(Environment& env, const std::filesystem::path& script) : env_(env), saved_(env.scriptFolder) {
        env_.scriptFolder = script.parent_path();
    }
    ~ScriptFolderGuard() { env_.scriptFolder = saved_; }
    ScriptFolderGuard(const ScriptFolderGuard&) = delete;
    ScriptFolderGuard& operator=(const ScriptFolderGuard&) = delete;

private:
    Environment& env_;
    std::filesystem::path saved_;
};

}  // namespace

Value evaluateScript(std::string_view text, const std::string& pathForMessages, Environment& env) {
    if (!env.runScriptFile) env.runScriptFile = evaluateScriptFile;
    SourcesAhead sources(text, env);
    SourcesAhead* const outer = std::exchange(env.sourcesAhead, &sources);
    try {
        Value value = Interpreter(env, pathForMessages, standardFunctions()).runText(text);
        env.sourcesAhead = outer;
        return value;
    } catch (...) {
        env.sourcesAhead = outer;
        throw;
    }
}

ClipPtr evaluateScriptClip(std::string_view text, const std::string& pathForMessages, Environment& env) {
    Value value = evaluateScript(text, pathForMessages, env);
    if (!isClip(value))
        throw ScriptError("The script's return value was not a video clip, (Is " + typeDescription(value) + ").");
    return std::get<ClipPtr>(value);
}

ClipPtr evaluateScriptFile(const std::string& path, Environment& env) {
    const std::filesystem::path file = resolvePathInScript(path, env);
    LoadingGuard loading(env, file, path);
    const std::string contents = readScriptText(file, path);
    ScriptFolderGuard folder(env, file);
    std::string_view text = contents;
    // Editors may put a UTF-8 byte order mark in front; it is not part of the script.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    return evaluateScriptClip(text, path, env);
}

}  // namespace vistrel::engine
