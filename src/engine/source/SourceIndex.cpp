#include "engine/source/SourceIndex.h"

#include "engine/source/FfmsLibrary.h"
#include "engine/source/FileIdentity.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QtGlobal>

#include <exception>
#include <fstream>
#include <iterator>
#include <vector>

namespace vistrel::engine {

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> readWholeFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The progress callback may throw to stop the indexing; the exception is
// kept here and thrown again once FFMS2 has returned (it must not pass
// through FFMS2's C interface). FFMS2 is told to cancel, unless another load
// waits for this build: then it goes on for that one, unheard.
struct ProgressReport {
    const IndexProgress& progress;
    IndexBuilds::Build* build;  // null without an index folder
    std::exception_ptr thrown;
};

int FFMS_CC reportProgress(int64_t done, int64_t total, void* context) {
    auto& report = *static_cast<ProgressReport*>(context);
    const bool othersWait = report.build && report.build->report(done, total);
    if (!report.thrown) {
        try {
            if (report.progress) report.progress(done, total);
        } catch (...) {
            report.thrown = std::current_exception();
        }
    }
    return report.thrown && !othersWait ? 1 : 0;
}

// Indexes the first audio track besides the video, so that the stored index
// serves opens with and without sound.
void indexFirstAudioTrack(FFMS_Indexer* indexer) {
    const int tracks = FFMS_GetNumTracksI(indexer);
    for (int t = 0; t < tracks; ++t)
        if (FFMS_GetTrackTypeI(indexer, t) == FFMS_TYPE_AUDIO) {
            FFMS_TrackIndexSettings(indexer, t, 1, 0);
            return;
        }
}

}  // namespace

SourceIndex::SourceIndex(fs::path folder, IndexProgress progress)
    : folder_(std::move(folder)), progress_(std::move(progress)) {
    initFfms();
}

fs::path SourceIndex::indexFileFor(const std::string& path) const {
    if (folder_.empty()) return {};
    return folder_ / (identityStem(fileIdentity(path)) + ".ffindex");
}

FfmsIndexPtr SourceIndex::load(const std::string& path) {
    fs::path file;
    try {
        file = indexFileFor(path);
    } catch (const fs::filesystem_error& e) {
        throw MediaError(e.code().message());
    }
    if (file.empty()) return build(path, nullptr, {});
    while (true) {
        if (FfmsIndexPtr stored = readStored(file, path)) return stored;
        const std::unique_ptr<IndexBuilds::Build> claim = IndexBuilds::instance().buildOrWait(file.string(), progress_);
        if (!claim) continue;  // another load built it meanwhile: read what it stored
        if (FfmsIndexPtr stored = readStored(file, path)) return stored;
        return build(path, claim.get(), file);
    }
}

FfmsIndexPtr SourceIndex::readStored(const fs::path& file, const std::string& path) const {
    const std::vector<uint8_t> bytes = readWholeFile(file);
    if (bytes.empty()) return nullptr;
    FfmsError error;
    FfmsIndexPtr index(FFMS_ReadIndexFromBuffer(bytes.data(), bytes.size(), error.get()));
    if (!index) return nullptr;  // damaged or from another library version: build anew
    if (FFMS_IndexBelongsToFile(index.get(), path.c_str(), error.get()) != 0) return nullptr;
    return index;
}

FfmsIndexPtr SourceIndex::build(const std::string& path, IndexBuilds::Build* claim, const fs::path& file) const {
    FfmsError error;
    FfmsIndexerPtr indexer(FFMS_CreateIndexer(path.c_str(), error.get()));
    if (!indexer) {
        if (auto reason = whyFfmpegCannotRead(path)) throw MediaError(*reason);
        error.raise("Cannot read the file");
    }
    indexFirstAudioTrack(indexer.get());
    ProgressReport report{progress_, claim, nullptr};
    FFMS_SetProgressCallback(indexer.get(), reportProgress, &report);
    // A damaged stretch ends its track there rather than failing the whole file.
    FfmsIndexPtr index(FFMS_DoIndexing2(indexer.release(), FFMS_IEH_STOP_TRACK, error.get()));
    if (index && !file.empty()) store(index.get(), file);  // before the loads waiting for it go on
    if (report.thrown) std::rethrow_exception(report.thrown);
    if (!index) error.raise("Cannot index the file");
    return index;
}

// Written to a file of its own and renamed over the target, so that a crash
// or a second process indexing the same file never leaves half an index.
void SourceIndex::store(FFMS_Index* index, const fs::path& file) const {
    uint8_t* written = nullptr;
    size_t size = 0;
    FfmsError error;
    if (FFMS_WriteIndexToBuffer(&written, &size, index, error.get()) != 0) return;
    const FfmsIndexBufferPtr buffer(written);

    std::error_code ec;
    fs::create_directories(folder_, ec);
    const fs::path temporary = file.string() + ".tmp-" + std::to_string(QCoreApplication::applicationPid()) + "-" +
                               std::to_string(QRandomGenerator::global()->generate());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(buffer.get()), static_cast<std::streamsize>(size));
        out.close();
        if (!out) {
            fs::remove(temporary, ec);
            qWarning("Cannot store the index in %s", folder_.string().c_str());
            return;
        }
    }
    fs::rename(temporary, file, ec);
    if (ec) {
        fs::remove(temporary, ec);
        qWarning("Cannot store the index in %s", folder_.string().c_str());
    }
}

}  // namespace vistrel::engine
