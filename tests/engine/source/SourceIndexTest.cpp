// The index: built once with progress, stored atomically, reused, rebuilt when
// damaged or when the file changed.
#include "SourceFixture.h"
#include "engine/source/SourceIndex.h"

#include <fstream>

namespace vistrel::test {
namespace {

namespace fs = std::filesystem;

class SourceIndexTest : public SourceTest {
protected:
    // Opens the file and says how many progress reports indexing made.
    int openCountingProgress(const fs::path& file) {
        int reports = 0;
        engine::SourceOptions options;
        options.indexProgress = [&reports](int64_t done, int64_t total) {
            EXPECT_LE(done, total);
            ++reports;
        };
        auto clip = open(file, options);
        EXPECT_EQ(readFrameIndex(*clip->frame(clip->info().frameCount - 1)), clip->info().frameCount - 1);
        return reports;
    }

    fs::path indexFileOf(const fs::path& file) const {
        return engine::SourceIndex(indexFolder(), nullptr).indexFileFor(file.string());
    }

    fs::path copyInto(const fs::path& from, const std::string& name) const {
        const fs::path to = scratchFolder() / name;
        fs::copy_file(from, to, fs::copy_options::overwrite_existing);
        return to;
    }
};

TEST_F(SourceIndexTest, FirstOpenReportsProgressAndStoresTheIndex) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::mpeg4BFramesAvi());
    EXPECT_GT(openCountingProgress(file), 0);
    EXPECT_TRUE(fs::exists(indexFileOf(file)));
}

TEST_F(SourceIndexTest, SecondOpenReadsTheStoredIndexWithoutIndexingAgain) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::h264BFramesAvi());
    openCountingProgress(file);
    const auto written = fs::last_write_time(indexFileOf(file));
    EXPECT_EQ(openCountingProgress(file), 0);
    EXPECT_EQ(fs::last_write_time(indexFileOf(file)), written);
}

TEST_F(SourceIndexTest, ADamagedIndexIsBuiltAgain) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::mjpegAvi());
    openCountingProgress(file);
    std::ofstream(indexFileOf(file), std::ios::trunc) << "not an index";
    EXPECT_GT(openCountingProgress(file), 0);
    EXPECT_EQ(openCountingProgress(file), 0) << "the rebuilt index was stored";
}

TEST_F(SourceIndexTest, AChangedFileGetsAnIndexOfItsOwn) {
    VISTREL_TEST_MEDIA_OR_SKIP(shortClip, recipes::silentAvi());
    VISTREL_TEST_MEDIA_OR_SKIP(longClip, recipes::ffv1Avi());
    const fs::path file = copyInto(shortClip, "camera.avi");
    EXPECT_EQ(open(file)->info().frameCount, 50);
    const fs::path firstIndex = indexFileOf(file);
    copyInto(longClip, "camera.avi");
    EXPECT_NE(indexFileOf(file), firstIndex);
    EXPECT_EQ(open(file)->info().frameCount, 200);
}

TEST_F(SourceIndexTest, AProgressReportThatThrowsStopsTheIndexingAndStoresNothing) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::ffv1Avi());
    struct NoLongerWanted {};
    engine::SourceOptions options;
    options.indexProgress = [](int64_t, int64_t) { throw NoLongerWanted{}; };
    EXPECT_THROW(open(file, options), NoLongerWanted);
    EXPECT_FALSE(fs::exists(indexFileOf(file)));
    EXPECT_GT(openCountingProgress(file), 0) << "the next open indexes afresh";
}

TEST_F(SourceIndexTest, LeavesNoTemporaryFilesInTheIndexFolder) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::silentAvi());
    open(file);
    for (const auto& entry : fs::directory_iterator(indexFolder()))
        EXPECT_EQ(entry.path().extension(), ".ffindex") << entry.path();
}

TEST_F(SourceIndexTest, WithoutAnIndexFolderNothingIsStored) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::silentAvi());
    auto clip = engine::FfmsSource::open(file.string(), {});
    EXPECT_EQ(readFrameIndex(*clip->frame(49)), 49);
    EXPECT_FALSE(fs::exists(indexFolder()));
}

TEST_F(SourceIndexTest, AnIndexFolderThatCannotBeWrittenDoesNotStopTheOpen) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::silentAvi());
    const fs::path blocked = scratchFolder() / "a-file-not-a-folder";
    std::ofstream(blocked) << "x";
    engine::SourceOptions options;
    options.indexFolder = blocked / "index";
    auto clip = open(file, options);
    EXPECT_EQ(readFrameIndex(*clip->frame(10)), 10);
}

}  // namespace
}  // namespace vistrel::test
