// vistrel-render: runs a script through Vistrel's script engine from the
// command line. Exit status 0 on success, 1 for a script or file error (the
// engine's text on stderr), 2 for a usage error.

#include "cli/CommandLine.h"
#include "cli/EngineClipFacts.h"
#include "cli/ProgressBar.h"
#include "cli/RenderOptions.h"
#include "cli/Renderer.h"
#include "engine/Open.h"
#include "engine/core/ScriptError.h"
#include "engine/proxy/ProxyBuilder.h"
#include "engine/source/FfmsSource.h"
#include "model/CutExport.h"
#include "model/EditScriptReader.h"
#include "model/ScriptFile.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>

using namespace vistrel;

namespace {

constexpr size_t kRenderCacheBytes = size_t(32) << 20;

std::unique_ptr<cli::FrameSink> makeSink(const cli::RenderOptions& options, const engine::VideoInfo& info,
                                         cli::ProgressBar& progress) {
    if (!options.output.empty())
        return std::make_unique<cli::MediaSink>(options.output, info,
                                                [&progress](const std::string& partial) { progress.writing(partial); });
    if (!options.pngFolder.empty()) return std::make_unique<cli::PngSink>(options.pngFolder);
    return std::make_unique<cli::NullSink>();
}

// The preview proxy of a video file; its path on stdout, after any progress lines.
int buildProxy(const cli::RenderOptions& options, cli::ProgressBar& progress) {
    engine::ProxyBuildOptions build;
    build.indexProgress = [&progress](int64_t done, int64_t total) { progress.indexing(done, total); };
    build.progress = [&progress](int64_t done, int64_t total) { progress.frames(done, total, "proxy"); };
    const auto start = std::chrono::steady_clock::now();
    const engine::ProxyBuildResult result = engine::buildProxy(options.script, build);
    progress.finish();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << result.file.string() << std::endl;
    const int64_t coded = result.frames - result.resumedAt;
    if (!options.quiet && !options.progressLines)
        std::fprintf(stderr, "%lld frames coded in %.3f s (%.1f fps)%s\n", static_cast<long long>(coded), seconds,
                     seconds > 0 ? coded / seconds : 0.0,
                     result.resumedAt == result.frames ? ", the proxy was complete"
                     : result.resumedAt > 0            ? ", on from an earlier build"
                                                       : "");
    return 0;
}

// The edit script's cut in the format of the export file's extension; what
// the format cannot hold on stderr.
int exportCut(const cli::RenderOptions& options, cli::ProgressBar& progress) {
    model::EditContent edit = model::readEditScript(model::readScriptFile(options.script));
    // A file the script names by a relative path lies beside the script.
    const QFileInfo script(QString::fromStdString(options.script));
    auto besideScript = [&script](std::string& path) {
        if (!path.empty() && QFileInfo(QString::fromStdString(path)).isRelative())
            path = QDir::cleanPath(script.absoluteDir().filePath(QString::fromStdString(path))).toStdString();
    };
    for (std::string& clip : edit.clips) besideScript(clip);
    besideScript(edit.soundRecording);

    engine::OpenOptions open;
    open.indexProgress = [&progress](int64_t done, int64_t total) { progress.indexing(done, total); };
    cli::EngineClipProbe probe(open);
    // Named after the file it goes to, as the window names it.
    const std::string title = QFileInfo(QString::fromStdString(options.exportFile)).completeBaseName().toStdString();
    const model::CutList cut = model::cutList(edit, title, probe);
    const auto cannotHold = model::exportCut(options.exportFile, cut);
    progress.finish();
    if (!cannotHold.empty()) std::cerr << model::cannotHoldMessage(options.exportFile, cannotHold) << '\n';
    return 0;
}

int run(const cli::RenderOptions& options) {
    cli::ProgressBar progress = cli::ProgressBar::forCommand(options.progressLines, options.quiet);
    if (options.proxy) return buildProxy(options, progress);
    if (!options.exportFile.empty()) return exportCut(options, progress);
    engine::OpenOptions open;
    // A render reads its frames once, in order: what a cache could give back
    // is the odd frame read twice close together, not the player's steps back.
    open.cacheBudgetBytes = kRenderCacheBytes;
    open.indexProgress = [&progress](int64_t done, int64_t total) { progress.indexing(done, total); };
    engine::ClipPtr clip = engine::openClip(options.script, open);
    const engine::VideoInfo& info = clip->info();

    if (options.info) {
        const auto* source = dynamic_cast<const engine::FfmsSource*>(clip.get());
        std::cout << cli::describeClip(info, source && source->conformed());
        return 0;
    }
    if (!options.output.empty() && !cli::MediaWriter::knowsExtension(options.output))
        throw std::runtime_error("Unknown output type: use .avi, .mkv, .mp4, .mov or .y4m");
    if (!info.hasVideo() || info.frameCount <= 0) throw std::runtime_error("The script's clip has no frames.");

    const int64_t first = std::clamp<int64_t>(options.firstFrame.value_or(0), 0, info.frameCount - 1);
    const int64_t last =
        std::clamp<int64_t>(options.lastFrame.value_or(info.frameCount - 1), first, info.frameCount - 1);
    auto sink = makeSink(options, info, progress);
    const cli::RenderStats stats = cli::render(*clip, first, last, *sink, progress);
    if (options.null && !options.quiet)
        std::fprintf(stderr, "%lld frames in %.3f s (%.1f fps)\n", static_cast<long long>(stats.frames), stats.seconds,
                     stats.seconds > 0 ? stats.frames / stats.seconds : 0.0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    cli::prepareQtForCommand();
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("vistrel-render"));
    return cli::runCommand<cli::RenderOptions>("vistrel-render", cli::parseRenderOptions(QGuiApplication::arguments()),
                                               run);
}
