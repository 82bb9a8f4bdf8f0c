#pragma once
// What Vistrel's command-line programs share around their own work: Qt set
// up for a program without windows, help and usage errors, and the exit
// status: 0 when the work is done, 1 with the error's message on stderr when
// it fails, 2 for a usage error.

#include "cli/RenderOptions.h"

#include <exception>
#include <functional>
#include <iostream>
#include <variant>

namespace vistrel::cli {

inline constexpr int kCommandFailed = 1;
inline constexpr int kUsageError = 2;

// Before the QGuiApplication: the offscreen platform (text may be drawn,
// no window is shown) and Qt's own notes kept quiet unless VISTREL_DEBUG is set.
void prepareQtForCommand();

// Prints the help (exit status 0) or "program: message" and the help (2).
int answerUsage(const char* program, const UsageError& usage);

bool stderrIsTerminal();

template <typename Options>
int runCommand(const char* program, const std::variant<Options, UsageError>& parsed,
               const std::function<int(const Options&)>& run) {
    if (const auto* usage = std::get_if<UsageError>(&parsed)) return answerUsage(program, *usage);
    try {
        return run(std::get<Options>(parsed));
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return kCommandFailed;
    }
}

}  // namespace vistrel::cli
