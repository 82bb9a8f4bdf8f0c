#pragma once

#include <QByteArray>
#include <QTemporaryFile>

#include <optional>
#include <string>

namespace vistrel::model {

// The bytes of a script file for its text (held as UTF-8): UTF-8 itself on
// Linux and macOS, the ANSI code page on Windows. No byte-order mark.
QByteArray scriptFileBytes(const std::string& utf8Text);

// The text (UTF-8) of a script file's bytes: the reverse of scriptFileBytes.
std::string scriptFileText(const QByteArray& bytes);

// The whole text of a script file. Throws std::runtime_error with the reason
// (without the path) when it cannot be read, or is far larger than any
// script Vistrel writes.
std::string readScriptFile(const std::string& path);

// Writes a whole script to a path (UTF-8) through a temporary file that
// replaces the target only once every byte is written: a failure leaves any
// file already at the path as it was. On failure returns the reason,
// "<path>: <what went wrong>".
std::optional<std::string> saveScriptFile(const std::string& path, const std::string& utf8Text);
// The same for bytes as they are (a file that is UTF-8 on every system).
std::optional<std::string> saveWholeFile(const std::string& path, const QByteArray& bytes);

// A whole script (UTF-8) under a name no other file has: the last "XXXXXX"
// of nameTemplate replaced, the file created exclusively. The file is
// removed when this goes away.
class TemporaryScriptFile {
public:
    // Throws std::runtime_error with the reason, "<path>: <what went wrong>".
    TemporaryScriptFile(const std::string& nameTemplate, const std::string& utf8Text);
    std::string path() const { return file_.fileName().toStdString(); }

private:
    QTemporaryFile file_;
};

}  // namespace vistrel::model
