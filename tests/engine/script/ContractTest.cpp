// The clip contract over the clips this part of the engine makes.
#include "engine/script/ScriptHarness.h"
#include "support/ClipContract.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstring>

namespace vistrel::test {
namespace {

class Contract : public ::testing::TestWithParam<const char*> {
protected:
    ScriptHarness script;
};

TEST_P(Contract, IsKept) {
    engine::ClipPtr clip = script.runClip(GetParam());
    expectClipKeepsItsContract(*clip);
}

INSTANTIATE_TEST_SUITE_P(
    LanguageClips, Contract,
    ::testing::Values("TestClip()", "TestClip(video=false)", "TestClip(audio_rate=0)", "TestClip().Trim(10,20)",
                      "TestClip().Trim(-9,0)", "TestClip(audio_samples=100).Trim(10,40)",
                      "TestClip(audio_samples=100).Trim(10,40,pad=false)", "TestClip().Trim(49,0)",
                      "TestClip(channels=2).KillAudio()", "AudioDub(TestClip(audio_rate=0), TestClip(video=false))",
                      "AudioDub(TestClip(video=false, frames=5), TestClip(audio_rate=0))",
                      "TestClip(frames=3) + TestClip(frames=4)", "TestClip(frames=3, audio_samples=10) ++ TestClip()",
                      "TestClip(frames=2) + TestClip(frames=2, float_audio=true)", "TestClip().DelayAudio(0.5)",
                      "TestClip(video=false).DelayAudio(-0.5)", "TestClip().AssumeFPS(30, sync_audio=true)"));

// Clips that break a promise, to show the contract notices.
class WrongPixelTypeClip : public IndexedClip {
public:
    WrongPixelTypeClip() : IndexedClip(smallClipShape()) {}

protected:
    engine::FramePtr makeFrame(int64_t) override { return engine::Frame::create(8, 4, engine::PixelType::RGB24); }
};

class OverlongAudioClip : public IndexedClip {
public:
    OverlongAudioClip() : IndexedClip(smallClipShape()) {}

protected:
    void readAudio(void* dst, int64_t, int64_t count) override {
        std::memset(dst, 1, static_cast<size_t>(count + 1) * 2);  // one sample too many
    }
};

// Every failure the contract reports for a clip, as text.
std::string contractFailures(engine::Clip& clip) {
    ::testing::TestPartResultArray failures;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
        expectClipKeepsItsContract(clip);
    }
    std::string text;
    for (int i = 0; i < failures.size(); ++i) text += failures.GetTestPartResult(i).message() + std::string("\n");
    return text;
}

TEST(ContractChecks, NoticeAFrameOfTheWrongType) {
    WrongPixelTypeClip clip;
    const std::string failures = contractFailures(clip);
    EXPECT_NE(failures.find("pixel type of the frame"), std::string::npos) << failures;
}

TEST(ContractChecks, NoticeAudioWrittenPastTheRequest) {
    OverlongAudioClip clip;
    const std::string failures = contractFailures(clip);
    EXPECT_NE(failures.find("wrote past count samples"), std::string::npos) << failures;
}

TEST(ContractChecks, PassAGoodClip) {
    auto clip = IndexedClip::make(smallClipShape());
    EXPECT_EQ(contractFailures(*clip), "");
}

}  // namespace
}  // namespace vistrel::test
