#pragma once
// A plane with storage of its own, for pictures between processing steps.

#include "engine/core/Frame.h"

#include <memory>

namespace vistrel::engine {

class PlaneBuffer {
public:
    // Contents undefined: every use writes the whole plane before reading it.
    PlaneBuffer(int rowBytes, int rows)
        : bytes_(std::make_unique_for_overwrite<uint8_t[]>(size_t(rowBytes) * size_t(rows))) {
        plane_.data = bytes_.get();
        plane_.stride = rowBytes;
        plane_.rowBytes = rowBytes;
        plane_.rows = rows;
    }
    PlaneBuffer(const PlaneBuffer&) = delete;
    PlaneBuffer& operator=(const PlaneBuffer&) = delete;

    const Plane& plane() const { return plane_; }

private:
    std::unique_ptr<uint8_t[]> bytes_;
    Plane plane_;
};

}  // namespace vistrel::engine
