#pragma once
// What the source tests share: a private index folder per test, and opening
// generated media through the source.
#include "engine/core/ScriptError.h"
#include "engine/source/FfmsSource.h"
#include "support/TestMedia.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vistrel::test {

class SourceTest : public ::testing::Test {
protected:
    std::filesystem::path indexFolder() const { return indexDir_.path().toStdString() + "/index"; }
    std::filesystem::path scratchFolder() const { return indexDir_.path().toStdString(); }

    std::shared_ptr<engine::FfmsSource> open(const std::filesystem::path& file, engine::SourceOptions options = {}) {
        if (options.indexFolder.empty()) options.indexFolder = indexFolder();
        return engine::FfmsSource::open(file.string(), options);
    }

    // The message of the script error that opening the file gives.
    std::string openError(const std::filesystem::path& file, engine::SourceOptions options = {}) {
        try {
            open(file, std::move(options));
        } catch (const engine::ScriptError& e) {
            return e.what();
        }
        return "(opened without an error)";
    }

private:
    QTemporaryDir indexDir_;
};

}  // namespace vistrel::test
