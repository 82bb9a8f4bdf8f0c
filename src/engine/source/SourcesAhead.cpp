#include "engine/source/SourcesAhead.h"

#include "engine/core/Utf8Path.h"
#include "engine/script/Tokenizer.h"
#include "engine/source/SourceIndex.h"

#include <QString>

#include <algorithm>
#include <deque>

namespace vistrel::engine {

namespace {

bool isAviSourceName(const Token& token) {
    return token.kind == TokenKind::Name &&
           QString::fromStdString(token.text).compare("avisource", Qt::CaseInsensitive) == 0;
}

}  // namespace

std::vector<std::string> SourcesAhead::plainSourceNames(std::string_view scriptText) {
    std::vector<std::string> names;
    try {
        Tokenizer tokenizer(scriptText);
        std::deque<Token> last;  // the last four tokens: avisource ( "file" )
        for (Token token = tokenizer.next(); token.kind != TokenKind::End; token = tokenizer.next()) {
            last.push_back(std::move(token));
            if (last.size() > 4) last.pop_front();
            if (last.size() == 4 && isAviSourceName(last[0]) && last[1].isOperator("(") &&
                last[2].kind == TokenKind::String && last[3].isOperator(")") &&
                std::find(names.begin(), names.end(), last[2].text) == names.end())
                names.push_back(last[2].text);
        }
    } catch (const SyntaxError&) {
        // The script itself will report it where it is.
    }
    return names;
}

SourcesAhead::SourcesAhead(std::string_view scriptText, const Environment& env) {
    if (env.indexFolder.empty()) return;
    const SourceIndex indexes(env.indexFolder, {});
    for (const std::string& name : plainSourceNames(scriptText)) {
        if (opening_.size() == kMostOpenedAhead) break;
        if (isScriptPath(name)) continue;
        const std::string path = utf8Text(resolvePathInScript(name, env));
        if (env.standIns.expected && env.standIns.expected(path)) continue;  // read from its proxy, opened when needed
        try {
            if (!std::filesystem::exists(indexes.indexFileFor(path))) continue;
        } catch (const std::filesystem::filesystem_error&) {
            continue;  // a missing file: the script says so when it gets there
        }
        SourceOptions options;
        options.nameInMessages = name;
        options.indexFolder = env.indexFolder;
        options.video = !env.soundOnly;
        options.recentFramesBytes = env.recentFramesBytes;
        opening_.emplace(name,
                         std::async(std::launch::async, [path, options] { return FfmsSource::open(path, options); }));
    }
}

SourcesAhead::~SourcesAhead() {
    for (auto& [name, open] : opening_)
        if (open.valid()) open.wait();
}

std::shared_ptr<FfmsSource> SourcesAhead::take(const std::string& nameInScript) {
    const auto found = opening_.find(nameInScript);
    if (found == opening_.end() || !found->second.valid()) return nullptr;
    return found->second.get();
}

}  // namespace vistrel::engine
