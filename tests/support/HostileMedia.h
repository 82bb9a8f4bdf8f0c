#pragma once
// Files that try to break whatever opens them: empty, cut short, noise,
// damaged in the middle, degenerate shapes, odd paths, a folder where a file
// belongs, a file nobody may read. Each case is made at test time from the
// generated test media (TestMedia.h), whose caching it shares, into a folder
// the test gives; derived files are cheap byte copies.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vistrel::test {

// What a reader must make of a case.
enum class HostileOutcome {
    Opens,           // a clip whose every frame can be read
    Refused,         // a message that names the file, nothing else
    OpensOrRefused,  // either of the two: a cut file may keep a readable start
};

struct HostileCase {
    std::string name;  // letters and digits only: it names the test
    HostileOutcome outcome;
    int64_t frames = -1;  // for a case that opens: its frame count, -1 when not fixed
    bool sound = false;   // for a case that opens: whether it has sound
};

inline void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.name; }

// Every case, in a fixed order.
std::vector<HostileCase> hostileCases();

// Makes the file (or folder) of the named case in folder and returns its
// path; nullopt with the reason when it cannot be made here (no ffmpeg, no
// encoder, or running as root, which reads any file).
std::optional<std::filesystem::path> makeHostileMedia(const HostileCase& hostile, const std::filesystem::path& folder,
                                                      std::string* skipReason);

// A plain clip that every reader must open after a hostile one: FFV1 with
// sound, 50 frames carrying their index.
std::optional<std::filesystem::path> wellFormedClip(std::string* skipReason);

}  // namespace vistrel::test

// Declares `std::filesystem::path var` for the case, or skips the test.
#define VISTREL_HOSTILE_MEDIA_OR_SKIP(var, hostile, folder)                                               \
    std::filesystem::path var;                                                                            \
    do {                                                                                                  \
        std::string vistrelSkipReason_;                                                                   \
        auto vistrelMedia_ = ::vistrel::test::makeHostileMedia((hostile), (folder), &vistrelSkipReason_); \
        if (!vistrelMedia_) GTEST_SKIP() << vistrelSkipReason_;                                           \
        var = *vistrelMedia_;                                                                             \
    } while (false)
