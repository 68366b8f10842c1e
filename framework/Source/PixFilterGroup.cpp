#include "framework/Source/PixFilterGroup.h"

#include "framework/Source/PixContext.h"

namespace zm {

std::shared_ptr<PixFilterGroup> PixFilterGroup::create() {
    return std::shared_ptr<PixFilterGroup>(new PixFilterGroup);
}

void PixFilterGroup::addFilter(std::shared_ptr<PixFilterNode> newFilter) {
    m_filters.push_back(std::move(newFilter));
}

std::shared_ptr<PixFilterNode> PixFilterGroup::filterAtIndex(std::size_t filterIndex) const {
    return filterIndex < m_filters.size() ? m_filters[filterIndex] : nullptr;
}

// Output side

void PixFilterGroup::addTarget(const std::shared_ptr<PixInput>& newTarget, int textureLocation) {
    if (m_terminalFilter)
        m_terminalFilter->addTarget(newTarget, textureLocation);
}

void PixFilterGroup::removeTarget(const std::shared_ptr<PixInput>& targetToRemove) {
    if (m_terminalFilter)
        m_terminalFilter->removeTarget(targetToRemove);
}

void PixFilterGroup::removeAllTargets() {
    if (m_terminalFilter)
        m_terminalFilter->removeAllTargets();
}

void PixFilterGroup::setTargetToIgnoreForUpdates(PixInput* target) {
    if (m_terminalFilter)
        m_terminalFilter->setTargetToIgnoreForUpdates(target);
}

void PixFilterGroup::setFrameProcessingCompletionBlock(FrameProcessingCompletionBlock block) {
    if (m_terminalFilter)
        m_terminalFilter->setFrameProcessingCompletionBlock(std::move(block));
}

gl::RgbaImage PixFilterGroup::newImageFromCurrentlyProcessedOutput() {
    return m_terminalFilter ? m_terminalFilter->newImageFromCurrentlyProcessedOutput() : gl::RgbaImage{};
}

void PixFilterGroup::prepareForImageCapture() {
    if (m_terminalFilter)
        m_terminalFilter->prepareForImageCapture();
}

void PixFilterGroup::forceProcessingAtSize(core::Size frameSize) {
    for (const auto& filter : m_filters)
        filter->forceProcessingAtSize(frameSize);
}

void PixFilterGroup::forceProcessingAtSizeRespectingAspectRatio(core::Size frameSize) {
    for (const auto& filter : m_filters)
        filter->forceProcessingAtSizeRespectingAspectRatio(frameSize);
}

void PixFilterGroup::textureNoLongerNeededForTarget(PixInput*) {
    // Counted down from the number of initial filters at each frame: the source hears of the last one.
    if (m_outputTextureRetainCount == 0)
        return;
    if (--m_outputTextureRetainCount == 0 && m_firstTextureDelegate)
        m_firstTextureDelegate->textureNoLongerNeededForTarget(this);
}

// Input side

void PixFilterGroup::newFrameReadyAtTime(PixFrameTime frameTime, int textureIndex) {
    m_outputTextureRetainCount = static_cast<unsigned>(m_initialFilters.size());
    for (const auto& filter : m_initialFilters) {
        if (filter != m_inputFilterToIgnoreForUpdates)
            filter->newFrameReadyAtTime(frameTime, textureIndex);
    }
}

void PixFilterGroup::setInputTexture(GLuint newInputTexture, int textureIndex) {
    for (const auto& filter : m_initialFilters)
        filter->setInputTexture(newInputTexture, textureIndex);
}

void PixFilterGroup::setTextureDelegate(PixTextureDelegate* newTextureDelegate, int textureIndex) {
    m_firstTextureDelegate = newTextureDelegate;
    for (const auto& filter : m_initialFilters)
        filter->setTextureDelegate(this, textureIndex);
}

void PixFilterGroup::setInputSize(core::Size newSize, int textureIndex) {
    for (const auto& filter : m_initialFilters)
        filter->setInputSize(newSize, textureIndex);
}

void PixFilterGroup::setInputRotation(PixInputRotation newInputRotation, int textureIndex) {
    for (const auto& filter : m_initialFilters)
        filter->setInputRotation(newInputRotation, textureIndex);
}

void PixFilterGroup::endProcessing() {
    for (const auto& filter : m_initialFilters)
        filter->endProcessing();
}

void PixFilterGroup::conserveMemoryForNextFrame() {
    for (const auto& filter : m_initialFilters)
        filter->conserveMemoryForNextFrame();
}

bool PixFilterGroup::wantsMonochromeInput() const {
    for (const auto& filter : m_initialFilters) {
        if (!filter->wantsMonochromeInput())
            return false;
    }
    return true;
}

void PixFilterGroup::setCurrentlyReceivingMonochromeInput(bool newValue) {
    for (const auto& filter : m_initialFilters)
        filter->setCurrentlyReceivingMonochromeInput(newValue);
}

void PixFilterGroup::destroyFilterFBO() {
    for (const auto& filter : m_initialFilters)
        filter->destroyFilterFBO();
}

} // namespace zm
