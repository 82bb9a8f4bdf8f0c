// Any command text sent to the player is read into a command or "unknown".
#include "player/MciCommand.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    vistrel::player::parseMciCommand(text);
    return 0;
}
