#include "cli/RenderOptions.h"

#include "cli/Version.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace vistrel::cli {

namespace {

// "A-B" with whole numbers, A <= B.
bool parseRange(const QString& text, RenderOptions& options) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d+)-(\\d+)$"));
    const auto match = pattern.match(text.trimmed());
    if (!match.hasMatch()) return false;
    bool okA = false, okB = false;
    const qint64 a = match.captured(1).toLongLong(&okA);
    const qint64 b = match.captured(2).toLongLong(&okB);
    if (!okA || !okB || a > b) return false;
    options.firstFrame = a;
    options.lastFrame = b;
    return true;
}

}  // namespace

std::variant<RenderOptions, UsageError> parseRenderOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Runs a Vistrel or AviSynth script through Vistrel's script engine: prints what the\n"
                       "clip is, or renders its pictures and sound to a file or to PNG pictures."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("SCRIPT"), QStringLiteral("The .avs script, or a video file."));
    const QCommandLineOption info(
        QStringLiteral("info"),
        QStringLiteral("Print the clip's size, frames, rate and sound, and how long its pictures and "
                       "its sound last (a render writes the sound as long as the pictures)."));
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Render to FILE (.avi, .mkv, .mp4, .mov or .y4m)."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption png(QStringLiteral("png"),
                                 QStringLiteral("Write each frame as DIR/NNNNNN.png, named by its frame number."),
                                 QStringLiteral("DIR"));
    const QCommandLineOption frames(QStringLiteral("frames"), QStringLiteral("Render frames A to B only (inclusive)."),
                                    QStringLiteral("A-B"));
    const QCommandLineOption null(QStringLiteral("null"), QStringLiteral("Render without writing anything (timing)."));
    const QCommandLineOption quiet(QStringList{QStringLiteral("q"), QStringLiteral("quiet")},
                                   QStringLiteral("Show no progress."));
    const QCommandLineOption progressLines(
        QStringLiteral("progress-lines"),
        QStringLiteral("Report progress for a program on stdout, one line per update: \"writing PART\" once the "
                       "output's partial file is made, \"indexing N of M\", \"frame N of M\"."));
    const QCommandLineOption proxy(
        QStringLiteral("proxy"),
        QStringLiteral("Build the preview proxy of the video file given (kept beside its index and read by the "
                       "editor's angle preview); goes on where an earlier build stopped. Its path goes to stdout."));
    const QCommandLineOption exportCut(
        QStringLiteral("export"),
        QStringLiteral("Export the cut of the edit script given for another editor, in the format FILE's extension "
                       "names: .otio (OpenTimelineIO), .fcpxml (Final Cut Pro XML, a multicam clip) or .edl "
                       "(CMX 3600). The camera files are named, not the conform scripts. What the format cannot "
                       "hold is said on stderr."),
        QStringLiteral("FILE"));
    parser.addOptions({info, output, png, frames, null, quiet, progressLines, proxy, exportCut});

    auto usage = [&](const QString& message) {
        return UsageError{message.toStdString(), parser.helpText().toStdString()};
    };
    if (!parser.parse(arguments)) return usage(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) return usage(QString());
    if (parser.isSet(QStringLiteral("version"))) return UsageError{{}, versionText("vistrel-render")};

    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1) return usage(QStringLiteral("Give exactly one script."));

    RenderOptions options;
    options.script = positional.first().toStdString();
    options.info = parser.isSet(info);
    options.output = parser.value(output).toStdString();
    options.pngFolder = parser.value(png).toStdString();
    options.null = parser.isSet(null);
    options.quiet = parser.isSet(quiet);
    options.progressLines = parser.isSet(progressLines);
    options.proxy = parser.isSet(proxy);
    options.exportFile = parser.value(exportCut).toStdString();
    if (parser.isSet(frames) && !parseRange(parser.value(frames), options))
        return usage(QStringLiteral("--frames takes a range A-B of frame numbers with A <= B."));

    const int actions = int(options.info) + int(!options.output.empty()) + int(!options.pngFolder.empty()) +
                        int(options.null) + int(options.proxy) + int(!options.exportFile.empty());
    if (actions == 0)
        return usage(QStringLiteral("Say what to do: --info, -o FILE, --png DIR, --null, --proxy or --export FILE."));
    if (!options.exportFile.empty() && (actions > 1 || options.firstFrame))
        return usage(QStringLiteral("--export goes alone."));
    if (options.proxy && (actions > 1 || options.firstFrame)) return usage(QStringLiteral("--proxy goes alone."));
    if (options.info && actions > 1) return usage(QStringLiteral("--info goes alone."));
    if (options.null && actions > 1) return usage(QStringLiteral("--null goes alone."));
    return options;
}

}  // namespace vistrel::cli
