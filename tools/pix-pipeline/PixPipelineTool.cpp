#include "tools/pix-pipeline/PixPipelineTool.h"

#include "framework/Source/PixFilter.h"
#include "framework/Source/PixFilterPipeline.h"
#include "framework/Source/PixPicture.h"
#include "platform/core/Files.h"
#include "platform/core/Log.h"
#include "platform/gfx/Jpeg.h"
#include "platform/gfx/Png.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>

namespace zm {

namespace {

enum class OutputFormat { Png, Jpeg };

std::optional<OutputFormat> formatOf(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".png")
        return OutputFormat::Png;
    if (extension == ".jpg" || extension == ".jpeg")
        return OutputFormat::Jpeg;
    return std::nullopt;
}

void listFilters(std::ostream& out) {
    const PixFilterRegistry& registry = PixFilterRegistry::shared();
    for (const std::string& name : registry.filterNames()) {
        out << name << "\n";
        for (const auto& [selector, method] : registry.filterClass(name)->methods)
            out << "    " << selector << " " << PixFilterRegistry::describe(method.argument) << "\n";
    }
}

// The picture through the pipeline, or the reason there is none. The pipeline is read before the
// picture, so that a configuration that cannot be read is refused before any GL work.
core::Result<std::shared_ptr<const gfx::Image>> filtered(const std::filesystem::path& pipelineFile,
                                                         const std::filesystem::path& inputFile) {
    auto pipeline = PixFilterPipeline::createWithConfigurationFile(pipelineFile, nullptr, nullptr);
    if (!pipeline)
        return pipeline.error();
    // No filters: the picture as it is.
    if (pipeline.value()->filters().empty())
        pipeline.value()->addFilter(PixFilter::create());
    auto picture = PixPicture::createWithURL(inputFile);
    if (!picture)
        return core::Error{"pix-pipeline", 1, inputFile.string() + ": " + picture.error().description, {}};
    picture.value()->addTarget(pipeline.value()->filters().front());
    picture.value()->processImage();
    auto result = pipeline.value()->currentFilteredFrame();
    if (!result)
        return core::Error{"pix-pipeline", 1, "the filters gave no picture (is OpenGL ES there?)", {}};
    return result;
}

} // namespace

int runPixPipeline(std::span<const std::string> arguments, std::ostream& out, std::ostream& err) {
    if (arguments.size() == 1 && arguments[0] == "--list") {
        listFilters(out);
        return 0;
    }
    if (arguments.size() != 3) {
        err << "usage: pix-pipeline PIPELINE.plist IN OUT | pix-pipeline --list\n";
        return 2;
    }
    const std::filesystem::path outputFile = arguments[2];
    const auto format = formatOf(outputFile);
    if (!format) {
        err << "pix-pipeline: " << outputFile.string() << ": the picture is written as PNG (.png) or JPEG (.jpg, .jpeg)\n";
        return 1;
    }

    // The framework logs what it refuses; the reason comes back here and is said once.
    const core::LogCapture quiet;
    const auto image = filtered(arguments[0], arguments[1]);
    if (!image) {
        err << "pix-pipeline: " << image.error().description << "\n";
        return 1;
    }
    const std::vector<std::uint8_t> bytes =
        *format == OutputFormat::Png ? gfx::encodePng(*image.value()) : gfx::encodeJpeg(*image.value());
    if (const core::Status written =
            core::writeFileAtomically(outputFile, {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
        !written) {
        err << "pix-pipeline: " << written.error().description << "\n";
        return 1;
    }
    return 0;
}

} // namespace zm
