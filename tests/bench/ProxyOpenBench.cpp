// What checking a clip against its preview proxy costs when the preview is
// opened: the identity the proxy is read for (size, time and a digest of the
// clip's ends) against the look at the folder alone, and the preview script
// opened up to its first picture with proxies and without (indexes stored).
// Warm: everything in the page cache; cold: the clips and the cache folder
// dropped from it first (posix_fadvise; what the disk's own cache keeps
// stays). Prints figures; asserts nothing.

#include "engine/Open.h"
#include "engine/source/FileIdentity.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

using namespace vistrel;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRounds = 7;

void dropFromPageCache(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY);
    if (fd < 0) return;
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

// The median wall time of kRounds runs of work, in ms; before each, prepare.
double medianMs(const std::function<void()>& prepare, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < kRounds; ++i) {
        prepare();
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double openToFirstFrame(const std::string& script, bool preferProxies) {
    engine::OpenOptions options;
    options.preferPreviewProxies = preferProxies;
    options.cacheResultOnly = preferProxies;
    return double(engine::openClip(script, options)->frame(0)->width());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PREVIEW_SCRIPT CLIP...\n", argv[0]);
        return 2;
    }
    const std::string script = argv[1];
    const std::vector<std::string> clips(argv + 2, argv + argc);
    std::vector<fs::path> cached;
    for (const auto& entry : fs::recursive_directory_iterator(engine::defaultIndexFolder().parent_path()))
        if (entry.is_regular_file()) cached.push_back(entry.path());

    const auto warm = [] {};
    const auto cold = [&] {
        for (const auto& clip : clips) dropFromPageCache(clip);
        for (const auto& file : cached) dropFromPageCache(file);
    };
    const auto identities = [&](std::string (*identity)(const std::string&)) {
        return [&clips, identity] {
            for (const auto& clip : clips) identity(clip);
        };
    };
    for (const auto& [name, prepare] :
         {std::pair{"warm", std::function<void()>(warm)}, std::pair{"cold", std::function<void()>(cold)}}) {
        std::printf("%s_stat_identity_ms: %.3f\n", name, medianMs(prepare, identities(engine::fileIdentity)));
        std::printf("%s_contents_identity_ms: %.3f\n", name, medianMs(prepare, identities(engine::contentsIdentity)));
        std::printf("%s_open_with_proxies_ms: %.3f\n", name,
                    medianMs(prepare, [&] { openToFirstFrame(script, true); }));
        std::printf("%s_open_without_proxies_ms: %.3f\n", name,
                    medianMs(prepare, [&] { openToFirstFrame(script, false); }));
    }
    return 0;
}
