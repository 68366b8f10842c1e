#pragma once

#include "framework/Source/PixFilterNode.h"

#include <memory>
#include <vector>

namespace zm {

// A small graph of filters that stands in a chain as one filter. Its input goes to the initial filters,
// its output comes from the terminal filter: targets added to the group are the terminal filter's, and
// a read-back reads it. The group itself draws nothing.
//
// Its source learns only once that the input may go, after the last initial filter is done with it.
//
// Composite filters are groups whose factory builds and connects the inner filters, registers each with
// addFilter and names the initial and terminal ones. The members are set up before the group is used.
class PixFilterGroup : public PixFilterNode {
public:
    static std::shared_ptr<PixFilterGroup> create();

    // Registers a member (forced sizes reach every member); connects nothing.
    void addFilter(std::shared_ptr<PixFilterNode> newFilter);
    std::shared_ptr<PixFilterNode> filterAtIndex(std::size_t filterIndex) const;
    std::size_t filterCount() const { return m_filters.size(); }

    const std::shared_ptr<PixFilterNode>& terminalFilter() const { return m_terminalFilter; }
    void setTerminalFilter(std::shared_ptr<PixFilterNode> newValue) { m_terminalFilter = std::move(newValue); }
    const std::vector<std::shared_ptr<PixFilterNode>>& initialFilters() const { return m_initialFilters; }
    void setInitialFilters(std::vector<std::shared_ptr<PixFilterNode>> newValue) {
        m_initialFilters = std::move(newValue);
    }
    // An initial filter that takes the input's texture, size and rotation but no frames.
    void setInputFilterToIgnoreForUpdates(std::shared_ptr<PixFilterNode> newValue) {
        m_inputFilterToIgnoreForUpdates = std::move(newValue);
    }

    // PixOutput: the output side is the terminal filter's.
    using PixOutput::addTarget;
    void addTarget(const std::shared_ptr<PixInput>& newTarget, int textureLocation) override;
    void removeTarget(const std::shared_ptr<PixInput>& targetToRemove) override;
    void removeAllTargets() override;
    void setTargetToIgnoreForUpdates(PixInput* target) override;
    void setFrameProcessingCompletionBlock(FrameProcessingCompletionBlock block) override;
    gl::RgbaImage newImageFromCurrentlyProcessedOutput() override;
    void prepareForImageCapture() override;
    // Reaches every member, not only the initial ones.
    void forceProcessingAtSize(core::Size frameSize) override;
    void forceProcessingAtSizeRespectingAspectRatio(core::Size frameSize) override;
    void textureNoLongerNeededForTarget(PixInput* target) override;

    // PixInput: the input side goes to the initial filters.
    void newFrameReadyAtTime(PixFrameTime frameTime, int textureIndex) override;
    void setInputTexture(GLuint newInputTexture, int textureIndex) override;
    void setTextureDelegate(PixTextureDelegate* newTextureDelegate, int textureIndex) override;
    int nextAvailableTextureIndex() const override { return 0; }
    void setInputSize(core::Size newSize, int textureIndex) override;
    void setInputRotation(PixInputRotation newInputRotation, int textureIndex) override;
    core::Size maximumOutputSize() const override { return {}; }
    void endProcessing() override;
    void conserveMemoryForNextFrame() override;
    // Only when every initial filter can work from luminance (so also with none).
    bool wantsMonochromeInput() const override;
    void setCurrentlyReceivingMonochromeInput(bool newValue) override;
    void destroyFilterFBO() override;

protected:
    PixFilterGroup() = default;

private:
    std::vector<std::shared_ptr<PixFilterNode>> m_filters;
    std::shared_ptr<PixFilterNode> m_terminalFilter;
    std::vector<std::shared_ptr<PixFilterNode>> m_initialFilters;
    std::shared_ptr<PixFilterNode> m_inputFilterToIgnoreForUpdates;
};

} // namespace zm
