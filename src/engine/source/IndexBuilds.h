#pragma once
// The index builds running in this process: at most one per index file. A
// load that finds its file's index being built waits for that build instead
// of starting a second one beside it, hears the build's progress meanwhile,
// and then reads the index the build stored. A build whose own load was given
// up goes on only while another load waits for it.

#include "engine/script/Environment.h"

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace vistrel::engine {

class IndexBuilds {
public:
    static IndexBuilds& instance();

    // The right to build one index file, held by one load at a time.
    class Build {
    public:
        ~Build();  // the build has ended (stored or not): loads waiting for it go on
        Build(const Build&) = delete;
        Build& operator=(const Build&) = delete;

        // Passes the build's progress on to the loads waiting for it; true
        // when there is one, so the build is still wanted.
        bool report(int64_t done, int64_t total);

    private:
        friend class IndexBuilds;
        struct Shared;
        Build(IndexBuilds& builds, std::string key, std::shared_ptr<Shared> shared);

        IndexBuilds& builds_;
        std::string key_;
        std::shared_ptr<Shared> shared_;
    };

    // The build of `indexFile` when no other load is building it; otherwise
    // waits for that build to end, telling `progress` (which may throw to
    // stop waiting) how it goes, and returns null.
    std::unique_ptr<Build> buildOrWait(const std::string& indexFile, const IndexProgress& progress);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::string, std::shared_ptr<Build::Shared>> running_;
};

}  // namespace vistrel::engine
