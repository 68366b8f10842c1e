#pragma once

#include "framework/Source/PixFilterRegistry.h"
#include "platform/core/Result.h"
#include "platform/core/Value.h"

#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

namespace gfx {
class Image;
}

namespace zm {

// A source, a list of filters and a final target kept connected as one straight chain: each change of
// the list connects them again, in order (each object of the chain loses any other targets; a filter
// taken out keeps its own). The list may be given, or described by a configuration (see
// readPixPipelineConfiguration), directly or in a property-list file.
//
// Any thread; the connections wait for the processing queue.
class PixFilterPipeline {
public:
    using Filters = std::vector<std::shared_ptr<PixFilterNode>>;

    // The filters a configuration describes, made and set up, between the input and the output (which
    // may be null). A configuration that cannot be read, or names what the registry does not know, is
    // logged ("Sorry, a parsing error occurred." and the reason) and refused with that error; then
    // nothing is made or connected.
    static core::Result<std::shared_ptr<PixFilterPipeline>>
    createWithConfiguration(const core::Value& configuration, std::shared_ptr<PixOutput> input,
                            std::shared_ptr<PixInput> output,
                            const PixFilterRegistry& registry = PixFilterRegistry::shared());
    static core::Result<std::shared_ptr<PixFilterPipeline>>
    createWithConfigurationFile(const std::filesystem::path& configurationFile, std::shared_ptr<PixOutput> input,
                                std::shared_ptr<PixInput> output,
                                const PixFilterRegistry& registry = PixFilterRegistry::shared());
    static std::shared_ptr<PixFilterPipeline> createWithOrderedFilters(Filters filters,
                                                                       std::shared_ptr<PixOutput> input,
                                                                       std::shared_ptr<PixInput> output);

    // Each change connects the chain again. An index past the list is ignored (logged).
    void addFilter(std::shared_ptr<PixFilterNode> filter);
    void addFilter(std::shared_ptr<PixFilterNode> filter, std::size_t insertIndex);
    void replaceFilterAtIndex(std::size_t filterIndex, std::shared_ptr<PixFilterNode> filter);
    void removeFilterAtIndex(std::size_t filterIndex);
    void removeAllFilters();
    void replaceAllFilters(Filters newFilters);

    // The last frame of the last filter, read back; nullptr (empty) without filters or a frame.
    std::shared_ptr<const gfx::Image> currentFilteredFrame();
    gl::RgbaImage newImageFromCurrentFilteredFrame();

    Filters filters() const;
    std::shared_ptr<PixOutput> input() const;
    std::shared_ptr<PixInput> output() const;
    // Taken into the chain at the next change of the list.
    void setInput(std::shared_ptr<PixOutput> newInput);
    void setOutput(std::shared_ptr<PixInput> newOutput);

private:
    PixFilterPipeline(Filters filters, std::shared_ptr<PixOutput> input, std::shared_ptr<PixInput> output);

    // Under the lock.
    void refreshFilters();
    std::shared_ptr<PixFilterNode> lastFilter() const;

    mutable std::mutex m_mutex;
    Filters m_filters;
    std::shared_ptr<PixOutput> m_input;
    std::shared_ptr<PixInput> m_output;
};

} // namespace zm
