#pragma once

namespace zm {

class PixInput;

// A source, told by its targets when they are done with its current output texture.
class PixTextureDelegate {
public:
    // The target will not read the receiver's output texture again before the next frame.
    virtual void textureNoLongerNeededForTarget(PixInput* target) = 0;

protected:
    ~PixTextureDelegate() = default;
};

} // namespace zm
