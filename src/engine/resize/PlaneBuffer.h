#pragma once
// A plane with storage of its own, for pictures between processing steps.

#include "engine/Frame.h"

#include <vector>

namespace vistrel::engine {

class PlaneBuffer {
public:
    PlaneBuffer(int rowBytes, int rows) : bytes_(size_t(rowBytes) * size_t(rows)) {
        plane_.data = bytes_.data();
        plane_.stride = rowBytes;
        plane_.rowBytes = rowBytes;
        plane_.rows = rows;
    }
    PlaneBuffer(const PlaneBuffer&) = delete;
    PlaneBuffer& operator=(const PlaneBuffer&) = delete;

    const Plane& plane() const { return plane_; }

private:
    std::vector<uint8_t> bytes_;
    Plane plane_;
};

}  // namespace vistrel::engine
