#pragma once
// A frame of the open clip as it is shown: its number and its picture.

#include <QImage>

#include <cstdint>

namespace vistrel::player {

struct Picture {
    int64_t frame = -1;
    QImage image;
};

}  // namespace vistrel::player
