#include "cli/FrameSink.h"

#include "engine/FrameImage.h"

#include <QDir>
#include <QString>

#include <stdexcept>

namespace vistrel::cli {

PngSink::PngSink(const std::string& folder) : folder_(folder) {
    if (!QDir().mkpath(QString::fromStdString(folder))) throw std::runtime_error("Cannot create the folder " + folder);
}

void PngSink::frame(const engine::Frame& frame, int64_t outputIndex) {
    const QString name =
        QStringLiteral("%1/%2.png").arg(QString::fromStdString(folder_)).arg(outputIndex, 6, 10, QLatin1Char('0'));
    if (!engine::toImage(frame).save(name, "PNG")) throw std::runtime_error("Cannot write " + name.toStdString());
}

}  // namespace vistrel::cli
