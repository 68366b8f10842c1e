#pragma once

#include "framework/Source/PixFilter.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace zm {

// Averages the colour of every frame on the GPU and reports it: the picture is reduced in stages, each
// a quarter of the one before on either side (every pixel the mean of four samples), until a few pixels
// are left, which are read back and averaged on the CPU. The result goes to the block after every frame;
// a frame smaller than 8 pixels either way has no stage and reports not-a-number for every value.
//
// The read-back is the filter's frame-processing completion block: setting another one replaces it.
class PixAverageColor : public PixFilter {
public:
    // Red, green, blue and alpha, 0 to 1, and the frame's time. Called on the processing queue.
    using ColorAverageProcessingFinishedBlock =
        std::function<void(float red, float green, float blue, float alpha, PixFrameTime frameTime)>;

    static std::shared_ptr<PixAverageColor> create();
    ~PixAverageColor() override;

    void setColorAverageProcessingFinishedBlock(ColorAverageProcessingFinishedBlock block);

    // The stages a frame of the size is reduced through, largest first: a quarter of the size on either
    // side, then a quarter of that, as long as both sides keep at least 2 pixels.
    static std::vector<core::Size> stageSizesForInputSize(core::Size inputSize);

    // PixInput
    void newFrameReadyAtTime(PixFrameTime frameTime, int textureIndex) override;
    // An average does not depend on the turn.
    void setInputRotation(PixInputRotation, int) override {}
    void destroyFilterFBO() override;

protected:
    // The first stage reads the frame through its shader, the later ones each read the stage before.
    PixAverageColor(const std::string& firstStageFragmentShaderString,
                    const std::string& laterStagesFragmentShaderString);

    void deleteOutputTexture() override;

    // The sums of each channel's bytes over the last stage's pixels, their number (0 when the frame has
    // no stage), and the frame's time.
    virtual void reportAverage(const std::array<std::uint64_t, 4>& sums, std::size_t pixelCount,
                               PixFrameTime frameTime);

private:
    struct StageProgram {
        FilterProgram filterProgram;
        GLint texelWidthUniform = -1;
        GLint texelHeightUniform = -1;
    };
    static StageProgram prepareStageProgram(const std::string& fragmentShaderString);

    void buildStages(core::Size inputSize);
    void drawStages();
    void extractAverageColorAtFrameTime(PixFrameTime frameTime);

    StageProgram m_firstStageProgram;
    StageProgram m_laterStagesProgram;
    // On the processing queue.
    core::Size m_stagesBuiltForSize;
    std::vector<core::Size> m_stageSizes;
    std::vector<GLuint> m_stageTextures;
    std::vector<GLuint> m_stageFramebuffers;
    std::vector<std::uint8_t> m_rawImagePixels;
    ColorAverageProcessingFinishedBlock m_colorAverageProcessingFinishedBlock;
};

} // namespace zm
