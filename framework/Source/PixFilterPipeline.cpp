#include "framework/Source/PixFilterPipeline.h"

#include "framework/Source/PixPipelineConfiguration.h"
#include "platform/core/Files.h"
#include "platform/core/Log.h"
#include "platform/core/PropertyList.h"
#include "platform/gfx/Image.h"

namespace zm {

namespace {

core::Error refusal(core::Error error) {
    core::log(core::LogLevel::Error, error.description);
    return error;
}

core::Error unreadableFile(const std::filesystem::path& file, const core::Error& cause) {
    return core::Error{std::string(kPixPipelineErrorDomain), 2,
                       std::string(kPixPipelineParsingErrorMessage) + " " + file.string() +
                           " is not a readable property list: " + cause.description,
                       {}};
}

} // namespace

core::Result<std::shared_ptr<PixFilterPipeline>>
PixFilterPipeline::createWithConfiguration(const core::Value& configuration, std::shared_ptr<PixOutput> input,
                                           std::shared_ptr<PixInput> output, const PixFilterRegistry& registry) {
    auto descriptions = readPixPipelineConfiguration(configuration, registry);
    if (!descriptions)
        return refusal(descriptions.error());

    Filters filters;
    for (const PixPipelineFilterDescription& description : descriptions.value()) {
        const PixFilterRegistry::FilterClass& filterClass = *registry.filterClass(description.filterName);
        std::shared_ptr<PixFilterNode> filter = filterClass.make();
        if (!filter)
            return refusal(core::Error{std::string(kPixPipelineErrorDomain), 3,
                                       std::string(kPixPipelineParsingErrorMessage) + " " + description.filterName +
                                           " cannot be made here (a resource it needs is missing).",
                                       {}});
        for (const PixPipelineAttribute& attribute : description.attributes)
            filterClass.methods.find(attribute.selector)->second.call(*filter, attribute.value ? &*attribute.value : nullptr);
        filters.push_back(std::move(filter));
    }
    return createWithOrderedFilters(std::move(filters), std::move(input), std::move(output));
}

core::Result<std::shared_ptr<PixFilterPipeline>>
PixFilterPipeline::createWithConfigurationFile(const std::filesystem::path& configurationFile,
                                               std::shared_ptr<PixOutput> input, std::shared_ptr<PixInput> output,
                                               const PixFilterRegistry& registry) {
    const auto text = core::readFile(configurationFile);
    if (!text)
        return refusal(unreadableFile(configurationFile, text.error()));
    const auto configuration = core::parsePropertyList(text.value());
    if (!configuration)
        return refusal(unreadableFile(configurationFile, configuration.error()));
    return createWithConfiguration(configuration.value(), std::move(input), std::move(output), registry);
}

std::shared_ptr<PixFilterPipeline> PixFilterPipeline::createWithOrderedFilters(Filters filters,
                                                                               std::shared_ptr<PixOutput> input,
                                                                               std::shared_ptr<PixInput> output) {
    return std::shared_ptr<PixFilterPipeline>(
        new PixFilterPipeline(std::move(filters), std::move(input), std::move(output)));
}

PixFilterPipeline::PixFilterPipeline(Filters filters, std::shared_ptr<PixOutput> input,
                                     std::shared_ptr<PixInput> output)
    : m_filters(std::move(filters))
    , m_input(std::move(input))
    , m_output(std::move(output)) {
    const std::lock_guard lock(m_mutex);
    refreshFilters();
}

void PixFilterPipeline::refreshFilters() {
    PixOutput* previous = m_input.get();
    for (const auto& filter : m_filters) {
        if (previous) {
            previous->removeAllTargets();
            previous->addTarget(filter);
        }
        previous = filter.get();
    }
    if (!previous)
        return;
    previous->removeAllTargets();
    if (m_output)
        previous->addTarget(m_output);
}

void PixFilterPipeline::addFilter(std::shared_ptr<PixFilterNode> filter) {
    const std::lock_guard lock(m_mutex);
    m_filters.push_back(std::move(filter));
    refreshFilters();
}

void PixFilterPipeline::addFilter(std::shared_ptr<PixFilterNode> filter, std::size_t insertIndex) {
    const std::lock_guard lock(m_mutex);
    if (insertIndex > m_filters.size()) {
        core::log(core::LogLevel::Error, "A filter cannot be inserted past the end of the pipeline.");
        return;
    }
    m_filters.insert(m_filters.begin() + static_cast<std::ptrdiff_t>(insertIndex), std::move(filter));
    refreshFilters();
}

void PixFilterPipeline::replaceFilterAtIndex(std::size_t filterIndex, std::shared_ptr<PixFilterNode> filter) {
    const std::lock_guard lock(m_mutex);
    if (filterIndex >= m_filters.size()) {
        core::log(core::LogLevel::Error, "The pipeline has no filter to replace at that index.");
        return;
    }
    m_filters[filterIndex] = std::move(filter);
    refreshFilters();
}

void PixFilterPipeline::removeFilterAtIndex(std::size_t filterIndex) {
    const std::lock_guard lock(m_mutex);
    if (filterIndex >= m_filters.size()) {
        core::log(core::LogLevel::Error, "The pipeline has no filter to remove at that index.");
        return;
    }
    m_filters.erase(m_filters.begin() + static_cast<std::ptrdiff_t>(filterIndex));
    refreshFilters();
}

void PixFilterPipeline::removeAllFilters() {
    replaceAllFilters({});
}

void PixFilterPipeline::replaceAllFilters(Filters newFilters) {
    const std::lock_guard lock(m_mutex);
    m_filters = std::move(newFilters);
    refreshFilters();
}

std::shared_ptr<PixFilterNode> PixFilterPipeline::lastFilter() const {
    const std::lock_guard lock(m_mutex);
    return m_filters.empty() ? nullptr : m_filters.back();
}

std::shared_ptr<const gfx::Image> PixFilterPipeline::currentFilteredFrame() {
    const auto filter = lastFilter();
    return filter ? filter->imageFromCurrentlyProcessedOutput() : nullptr;
}

gl::RgbaImage PixFilterPipeline::newImageFromCurrentFilteredFrame() {
    const auto filter = lastFilter();
    return filter ? filter->newImageFromCurrentlyProcessedOutput() : gl::RgbaImage{};
}

PixFilterPipeline::Filters PixFilterPipeline::filters() const {
    const std::lock_guard lock(m_mutex);
    return m_filters;
}

std::shared_ptr<PixOutput> PixFilterPipeline::input() const {
    const std::lock_guard lock(m_mutex);
    return m_input;
}

std::shared_ptr<PixInput> PixFilterPipeline::output() const {
    const std::lock_guard lock(m_mutex);
    return m_output;
}

void PixFilterPipeline::setInput(std::shared_ptr<PixOutput> newInput) {
    const std::lock_guard lock(m_mutex);
    m_input = std::move(newInput);
}

void PixFilterPipeline::setOutput(std::shared_ptr<PixInput> newOutput) {
    const std::lock_guard lock(m_mutex);
    m_output = std::move(newOutput);
}

} // namespace zm
