#pragma once

#include "platform/media/PixelBuffer.h"

#include <memory>

namespace media {

// The picture in another format and size (a bi-planar result keeps the source's YCbCr matrix, BT.601
// when it has none); nullptr for a size PixelBuffer::create refuses.
std::shared_ptr<PixelBuffer> convertPixelBuffer(const PixelBuffer& source, PixelFormat format, int width, int height);

} // namespace media
