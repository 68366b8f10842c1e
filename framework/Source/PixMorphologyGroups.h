#pragma once

#include "framework/Source/PixFilterGroup.h"
#include "framework/Source/PixMorphologyFilter.h"

namespace zm {

// Two morphology filters of one radius in a row: the first takes the group's input, the second gives
// its output.
template <class First, class Second> class PixMorphologyPair : public PixFilterGroup {
protected:
    explicit PixMorphologyPair(unsigned radius)
        : m_first(First::create(radius))
        , m_second(Second::create(radius)) {
        m_first->addTarget(m_second);
        addFilter(m_first);
        addFilter(m_second);
        setInitialFilters({m_first});
        setTerminalFilter(m_second);
    }

    const std::shared_ptr<First> m_first;
    const std::shared_ptr<Second> m_second;
};

// Spacings that the group keeps and hands to both of its filters.
template <class First, class Second> class PixSpacedMorphologyPair : public PixMorphologyPair<First, Second> {
public:
    // 0 until set (the inner filters start at 1 texel).
    float verticalTexelSpacing() const { return m_verticalTexelSpacing; }
    void setVerticalTexelSpacing(float newValue) {
        m_verticalTexelSpacing = newValue;
        this->m_first->setVerticalTexelSpacing(newValue);
        this->m_second->setVerticalTexelSpacing(newValue);
    }
    float horizontalTexelSpacing() const { return m_horizontalTexelSpacing; }
    void setHorizontalTexelSpacing(float newValue) {
        m_horizontalTexelSpacing = newValue;
        this->m_first->setHorizontalTexelSpacing(newValue);
        this->m_second->setHorizontalTexelSpacing(newValue);
    }

protected:
    using PixMorphologyPair<First, Second>::PixMorphologyPair;

private:
    float m_verticalTexelSpacing = 0;
    float m_horizontalTexelSpacing = 0;
};

// Erosion, then dilation: removes light specks smaller than the square, keeps larger shapes.
class PixOpeningFilter : public PixSpacedMorphologyPair<PixErosionFilter, PixDilationFilter> {
public:
    static std::shared_ptr<PixOpeningFilter> create(unsigned radius = 1) {
        return std::shared_ptr<PixOpeningFilter>(new PixOpeningFilter(radius));
    }
    const std::shared_ptr<PixErosionFilter>& erosionFilter() const { return m_first; }
    const std::shared_ptr<PixDilationFilter>& dilationFilter() const { return m_second; }

protected:
    using PixSpacedMorphologyPair::PixSpacedMorphologyPair;
};

// Dilation, then erosion: fills dark holes smaller than the square, keeps larger shapes.
class PixClosingFilter : public PixSpacedMorphologyPair<PixDilationFilter, PixErosionFilter> {
public:
    static std::shared_ptr<PixClosingFilter> create(unsigned radius = 1) {
        return std::shared_ptr<PixClosingFilter>(new PixClosingFilter(radius));
    }
    const std::shared_ptr<PixErosionFilter>& erosionFilter() const { return m_second; }
    const std::shared_ptr<PixDilationFilter>& dilationFilter() const { return m_first; }

protected:
    using PixSpacedMorphologyPair::PixSpacedMorphologyPair;
};

// The opening of each colour channel and of alpha.
class PixRGBOpeningFilter : public PixMorphologyPair<PixRGBErosionFilter, PixRGBDilationFilter> {
public:
    static std::shared_ptr<PixRGBOpeningFilter> create(unsigned radius = 1) {
        return std::shared_ptr<PixRGBOpeningFilter>(new PixRGBOpeningFilter(radius));
    }

protected:
    using PixMorphologyPair::PixMorphologyPair;
};

// The closing of each colour channel and of alpha.
class PixRGBClosingFilter : public PixMorphologyPair<PixRGBDilationFilter, PixRGBErosionFilter> {
public:
    static std::shared_ptr<PixRGBClosingFilter> create(unsigned radius = 1) {
        return std::shared_ptr<PixRGBClosingFilter>(new PixRGBClosingFilter(radius));
    }

protected:
    using PixMorphologyPair::PixMorphologyPair;
};

} // namespace zm
