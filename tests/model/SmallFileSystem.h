#pragma once

// A tiny tmpfs mounted on a temporary folder for as long as the object lives,
// so that a test can fill it and see how a write fails on a full disk.
// Mounting needs root (or CAP_SYS_ADMIN); when the system refuses, the
// object says why and the test skips.

#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/mount.h>
#include <vector>

namespace vistrel::model::testing {

class SmallFileSystem {
public:
    explicit SmallFileSystem(const char* size = "size=64k") {
        if (!folder_.isValid()) {
            refusal_ = "no temporary folder";
            return;
        }
        if (::mount("tmpfs", root().c_str(), "tmpfs", 0, size) != 0) {
            refusal_ = std::string("mounting a tmpfs is not allowed here: ") + std::strerror(errno);
            return;
        }
        mounted_ = true;
    }
    ~SmallFileSystem() {
        if (mounted_) ::umount2(root().c_str(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& refusal() const { return refusal_; }
    std::filesystem::path root() const { return folder_.path().toStdString(); }

    // Writes filler until the file system has no block left.
    void fill() const {
        std::ofstream filler(root() / "filler", std::ios::binary);
        const std::vector<char> block(1024, 'x');
        for (int i = 0; i < 100000 && filler.write(block.data(), std::streamsize(block.size())); ++i) filler.flush();
    }

private:
    QTemporaryDir folder_;
    bool mounted_ = false;
    std::string refusal_;
};

}  // namespace vistrel::model::testing

// Declares `SmallFileSystem var`, or skips the test with the reason.
#define VISTREL_SMALL_FILE_SYSTEM_OR_SKIP(var)      \
    ::vistrel::model::testing::SmallFileSystem var; \
    if (!var.mounted()) GTEST_SKIP() << var.refusal()
