#include "ui/EditorCommandLine.h"

#include "cli/Version.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace vistrel::ui {

std::variant<std::vector<std::string>, cli::UsageError> parseEditorArguments(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Cuts a multi-angle video together and saves the edit as an AviSynth edit script.\n"
                       "Each file given opens in the window: an edit script that Vistrel wrote opens as with\n"
                       "File > Open edit..., video files and other scripts load as angles A to D in their\n"
                       "order, as with File > Load video clip..."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("An edit script, or a video file or script."),
                                 QStringLiteral("[FILE...]"));
    auto usage = [&](const QString& message) {
        return cli::UsageError{message.toStdString(), parser.helpText().toStdString()};
    };
    if (!parser.parse(arguments)) return usage(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) return usage(QString());
    if (parser.isSet(QStringLiteral("version"))) return cli::UsageError{{}, cli::versionText("vistrel")};
    std::vector<std::string> files;
    for (const QString& file : parser.positionalArguments())
        files.push_back(QFileInfo(file).absoluteFilePath().toStdString());
    return files;
}

}  // namespace vistrel::ui
