#pragma once
// The command line of vistrel-render.

#include <QStringList>

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace vistrel::cli {

struct RenderOptions {
    std::string script;
    bool info = false;
    std::string output;     // -o: a media file
    std::string pngFolder;  // --png: one picture per frame
    bool null = false;      // render without writing, for timing
    std::optional<int64_t> firstFrame;
    std::optional<int64_t> lastFrame;  // inclusive
    bool quiet = false;
    bool progressLines = false;  // progress for a program, one line per update on stdout
    bool proxy = false;          // build the preview proxy of the clip given instead of rendering
    std::string exportFile;      // --export: the edit script's cut handed on in the format of FILE's extension
};

struct UsageError {
    std::string message;  // empty when help or the version was asked for
    std::string helpText;
};

// Parses the arguments (argv[0] first); a usage error carries the text to print.
std::variant<RenderOptions, UsageError> parseRenderOptions(const QStringList& arguments);

}  // namespace vistrel::cli
