// Small scripts run by the evaluator. Sources are left out (a fuzzer must not
// open the machine's files); everything else, blankclip above all, runs, and
// the first and last frame of a clip result are made when they are small.
#include "engine/Script.h"
#include "engine/core/FrameCache.h"
#include "engine/core/ScriptError.h"

#include <QGuiApplication>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace {

bool namesASource(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text.find("avisource") != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QGuiApplication app(*argc, *argv);  // text is drawn with Qt
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vistrel::engine;
    if (size > 4096) return -1;
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (namesASource(text)) return -1;
    Environment env;
    env.cache = std::make_shared<FrameCache>(size_t(64) << 20);
    try {
        const Value value = evaluateScript(text, "fuzz.avs", env);
        if (const auto* clip = std::get_if<ClipPtr>(&value)) {
            const VideoInfo& info = (*clip)->info();
            if (info.hasVideo() && info.frameCount > 0 && int64_t(info.width) * info.height <= 4'000'000) {
                (*clip)->frame(0);
                (*clip)->frame(info.frameCount - 1);
            }
            if (info.hasAudio()) {
                std::string samples(size_t(info.bytesPerAudioFrame()) * 64, '\0');
                (*clip)->audio(samples.data(), info.audioSamples - 32, 64);
            }
        }
    } catch (const ScriptError&) {}
    return 0;
}
