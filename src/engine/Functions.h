#pragma once
// The table of script functions. Each entry has a name and a signature string
// in AviSynth's notation; the evaluator binds a call's arguments against it
// (types, positional and named arguments, defaults left undefined) and hands
// the filter an Args in the signature's order.
//
// Signature letters: c clip, i int, f float (an int is accepted), s string,
// b bool, . any value. A letter followed by '*' takes zero or more, '+' one or
// more of that type. "[name]t" is an optional parameter that may be given by
// position or by name. Example: Trim "ci[end]i[pad]b[cache]b".

#include "engine/Value.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace vistrel::engine {

class FrameCache;

// Called while a source builds its index: done and total in bytes.
using IndexProgress = std::function<void(int64_t done, int64_t total)>;

// What a function may need beyond its arguments, for one script evaluation.
class SourcesAhead;

// How many bytes of its last decoded frames a file source keeps for stepping
// back, unless told otherwise: a second of 1080p.
inline constexpr size_t kDefaultRecentFramesBytes = size_t(96) << 20;

struct Environment {
    std::shared_ptr<FrameCache> cache;
    // Where the cache is to hold the script's result only: the clips the
    // script makes are listed here instead of being given the cache.
    std::vector<ClipPtr>* uncachedClips = nullptr;
    IndexProgress indexProgress;        // may be empty
    std::filesystem::path indexFolder;  // where source indexes are kept
    // Where preview proxies are read from; empty: every source is read from
    // its file. Only the player sets it (see proxy/PreviewProxyRule.h).
    std::filesystem::path previewProxyFolder;
    std::set<std::string>* scriptsLoading = nullptr;  // guards scripts that load themselves
    // The folder of the script file being run; a relative path in it starts
    // there, as AviSynth runs a script from its own folder. Empty: the
    // process's working folder.
    std::filesystem::path scriptFolder;
    // Sources of the script being run that are being opened ahead; may be null.
    SourcesAhead* sourcesAhead = nullptr;
    // Sources are opened for their sound only: no picture is decoded.
    bool soundOnly = false;
    // Each source keeps its last decoded frames up to this many bytes.
    size_t recentFramesBytes = kDefaultRecentFramesBytes;
};

// The bound arguments of one call, one slot per parameter of the signature.
// A slot holds no value (not given), one value, or for a repeated parameter
// ("c+", ".*") every value it took.
class Args {
public:
    explicit Args(std::vector<std::vector<Value>> bound) : slots_(std::move(bound)) {}

    size_t size() const { return slots_.size(); }
    bool defined(size_t i) const { return i < slots_.size() && !slots_[i].empty(); }
    const Value& at(size_t i) const;  // throws std::out_of_range when not given

    ClipPtr clip(size_t i) const;
    int32_t intOr(size_t i, int32_t fallback) const;
    double floatOr(size_t i, double fallback) const;  // ints are widened
    bool boolOr(size_t i, bool fallback) const;
    std::string stringOr(size_t i, const std::string& fallback) const;

    const std::vector<Value>& repeated(size_t i) const { return slots_.at(i); }

private:
    std::vector<std::vector<Value>> slots_;
};

using FunctionBody = std::function<Value(const Args&, Environment&)>;

struct FunctionDef {
    std::string name;  // as AviSynth spells it, matched without regard to case
    std::string signature;
    FunctionBody body;
};

// Every function the engine knows, in one table; overloads follow each other
// and are tried in order.
const std::vector<FunctionDef>& functionTable();

}  // namespace vistrel::engine
