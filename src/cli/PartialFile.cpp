#include "cli/PartialFile.h"

#include "engine/core/Utf8Path.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <filesystem>
#include <stdexcept>

#ifndef _WIN32
#include <atomic>
#include <csignal>
#include <unistd.h>
#endif

namespace vistrel::cli {
namespace {

constexpr int kNameAttempts = 100;

QString newPartialName() {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QString name = QStringLiteral(".vistrel-");
    for (int i = 0; i < 6; ++i)
        name += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)]);
    return name;
}

// A new empty file beside path that no other writer has: while the name
// drawn is taken, another is drawn.
std::string createPartialBeside(const std::string& path) {
    const QDir folder = QFileInfo(QString::fromStdString(path)).dir();
    const std::string where = "Cannot create a file in " + folder.path().toStdString() + ": ";
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        QFile file(folder.filePath(newPartialName()));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return file.fileName().toStdString();
        if (!file.exists()) throw std::runtime_error(where + file.errorString().toStdString());
    }
    throw std::runtime_error(where + "every name tried was taken");
}

#ifndef _WIN32
// The partial file that a signal ending the program removes first.
std::atomic<const char*> partialToRemove{nullptr};

extern "C" void removePartialAndEnd(int signal) {
    if (const char* path = partialToRemove.load()) ::unlink(path);
    std::raise(signal);  // with the default action again, once this handler returns
}

void removeOnEndingSignals(const char* path) {
    static const bool installed = [] {
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
            struct sigaction action {};
            sigaction(signal, nullptr, &action);
            if (action.sa_handler == SIG_IGN) continue;  // nohup and the like keep their way
            action.sa_handler = removePartialAndEnd;
            action.sa_flags = SA_RESETHAND;
            sigemptyset(&action.sa_mask);
            sigaction(signal, &action, nullptr);
        }
        return true;
    }();
    (void)installed;
    partialToRemove.store(path);
}
#else
void removeOnEndingSignals(const char*) {}
#endif

}  // namespace

PartialFile::PartialFile(std::string path) : path_(std::move(path)), partial_(createPartialBeside(path_)) {
    removeOnEndingSignals(partial_.c_str());
}

PartialFile::~PartialFile() {
    removeOnEndingSignals(nullptr);
    if (completed_) return;
    std::error_code ignored;  // it cannot be removed: nothing more to tell
    std::filesystem::remove(engine::utf8Path(partial_), ignored);
}

void PartialFile::complete() {
    std::error_code error;
    std::filesystem::rename(engine::utf8Path(partial_), engine::utf8Path(path_), error);
    if (error) throw std::runtime_error("Cannot rename " + partial_ + " to " + path_ + ": " + error.message());
    completed_ = true;
    removeOnEndingSignals(nullptr);
}

}  // namespace vistrel::cli
