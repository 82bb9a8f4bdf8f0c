#pragma once
// vistrel's command line: the files to open (MainWindow::openGivenFiles), or
// the help or the version asked for. Read before any window exists, so that
// --help and --version work without a display.

#include "cli/RenderOptions.h"

#include <QStringList>

#include <string>
#include <variant>
#include <vector>

namespace vistrel::ui {

// Parses the arguments (argv[0] first); the files come back absolute, in
// their order.
std::variant<std::vector<std::string>, cli::UsageError> parseEditorArguments(const QStringList& arguments);

}  // namespace vistrel::ui
