#include "framework/Source/PixBrightnessFilter.h"
#include "framework/Source/PixContext.h"
#include "framework/Source/PixFilterGroup.h"
#include "framework/Source/PixFilterPipeline.h"
#include "framework/Source/PixGaussianBlurFilter.h"
#include "framework/Source/PixPipelineConfiguration.h"
#include "framework/Source/PixTestSupport.h"
#include "framework/Source/PixToneCurveFilter.h"
#include "platform/core/Files.h"
#include "platform/core/PropertyList.h"
#include "platform/core/TemporaryFolder.h"

#include <sstream>

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::PixTestImageSource;

// A member of a configuration that writes down the calls it gets; it draws nothing.
class RecordingFilter : public PixFilterGroup {
public:
    static std::shared_ptr<RecordingFilter> create() { return std::shared_ptr<RecordingFilter>(new RecordingFilter); }

    std::vector<std::string> calls;

    void setIntensity(float intensity) { record() << "setIntensity " << intensity; }
    void setCount(int count) { record() << "setCount " << count; }
    void setCenter(core::Point center) { record() << "setCenter " << center.x << ", " << center.y; }
    void setTitle(std::string title) { record() << "setTitle " << title; }
    void setControlPoints(std::vector<core::Point> points) {
        auto line = record();
        line << "setControlPoints";
        for (const core::Point point : points)
            line << " (" << point.x << ", " << point.y << ")";
    }
    void setWeights(std::vector<float> weights) {
        auto line = record();
        line << "setWeights";
        for (const float weight : weights)
            line << " " << weight;
    }
    void reset() { record() << "reset"; }

private:
    RecordingFilter() = default;

    // A line of the record, added when it goes out of scope.
    struct Line : std::ostringstream {
        explicit Line(std::vector<std::string>& lines)
            : lines(lines) {}
        ~Line() { lines.push_back(str()); }
        std::vector<std::string>& lines;
    };
    Line record() { return Line(calls); }
};

const PixFilterRegistry& testRegistry() {
    static const PixFilterRegistry registry = [] {
        PixFilterRegistry made;
        made.add<RecordingFilter>("Recorder")
            .set("setIntensity:", &RecordingFilter::setIntensity)
            .set("setCount:", &RecordingFilter::setCount)
            .set("setCenter:", &RecordingFilter::setCenter)
            .set("setTitle:", &RecordingFilter::setTitle)
            .set("setControlPoints:", &RecordingFilter::setControlPoints)
            .set("setWeights:", &RecordingFilter::setWeights)
            .action("reset", &RecordingFilter::reset);
        return made;
    }();
    return registry;
}

core::Value plist(const std::string& filtersXml) {
    return core::parsePropertyList("<plist><dict><key>Filters</key><array>" + filtersXml + "</array></dict></plist>")
        .value();
}

std::string filterXml(const std::string& name, const std::string& attributesXml = "") {
    return "<dict><key>FilterName</key><string>" + name + "</string>" +
           (attributesXml.empty() ? "" : "<key>Attributes</key><dict>" + attributesXml + "</dict>") + "</dict>";
}

TEST(PixFilterPipeline, CallsTheConfiguredMethodsWithTheirTypedValuesInOrder) {
    const std::string attributes = "<key>setIntensity:</key><string>float(0.25)</string>"
                                   "<key>setCount:</key><string>float(3.9)</string>"
                                   "<key>setCenter:</key><string>CGPoint(0.5, 0.75)</string>"
                                   "<key>setTitle:</key><string>NSString(a, b)</string>"
                                   "<key>setControlPoints:</key><array><string>CGPoint(0, 0)</string>"
                                   "<string>NSString(dropped)</string><string>CGPoint(1, 1)</string></array>"
                                   "<key>setWeights:</key><array><string>float(1)</string><string>float(x)</string></array>"
                                   "<key>reset</key><string>anything</string>"
                                   "<key>setIntensity:</key><string>float( 7.5 units)</string>";
    auto pipeline = PixFilterPipeline::createWithConfiguration(plist(filterXml("Recorder", attributes)), nullptr,
                                                               nullptr, testRegistry());
    ASSERT_TRUE(pipeline) << pipeline.error().text();
    ASSERT_EQ(pipeline.value()->filters().size(), 1u);
    const auto& recorder = static_cast<RecordingFilter&>(*pipeline.value()->filters()[0]);
    // A key given twice keeps its first place and its last value, as a dictionary does.
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"setIntensity 7.5", "setCount 3", "setCenter 0.5, 0.75",
                                                        "setTitle a", "setControlPoints (0, 0) (1, 1)",
                                                        "setWeights 1 0", "reset"}));
}

TEST(PixFilterPipeline, AWholeNumberBeyondItsTypeTakesTheNearestEnd) {
    const std::pair<const char*, const char*> cases[] = {
        {"float(1e12)", "setCount 2147483647"}, {"float(-1e12)", "setCount -2147483648"}, {"float(-3.9)", "setCount -3"}};
    for (const auto& [text, call] : cases) {
        auto pipeline = PixFilterPipeline::createWithConfiguration(
            plist(filterXml("Recorder", std::string("<key>setCount:</key><string>") + text + "</string>")), nullptr,
            nullptr, testRegistry());
        ASSERT_TRUE(pipeline) << pipeline.error().text();
        EXPECT_EQ(static_cast<RecordingFilter&>(*pipeline.value()->filters()[0]).calls, std::vector<std::string>{call})
            << text;
    }
}

TEST(PixFilterPipeline, ReadsTypedTexts) {
    struct Case {
        const char* text;
        PixPipelineValue value;
    };
    const Case cases[] = {
        {"float(0.25)", {PixPipelineValue::Kind::Float, 0.25f, {}, {}, {}}},
        {"float(-2e1)", {PixPipelineValue::Kind::Float, -20, {}, {}, {}}},
        {"float()", {PixPipelineValue::Kind::Float, 0, {}, {}, {}}},
        {"float(nan)", {PixPipelineValue::Kind::Float, 0, {}, {}, {}}},
        {"CGPoint(0.5, 0.75)", {PixPipelineValue::Kind::Point, 0, {0.5f, 0.75f}, {}, {}}},
        {"CGPoint(3)", {PixPipelineValue::Kind::Point, 0, {3, 0}, {}, {}}},
        {"CGPoint(1, 2, 4)", {PixPipelineValue::Kind::Point, 0, {1, 4}, {}, {}}},
        {"NSString(a, b)", {PixPipelineValue::Kind::String, 0, {}, "a", {}}},
        {"the float(2) inside", {PixPipelineValue::Kind::Float, 2, {}, {}, {}}},
    };
    for (const Case& c : cases) {
        const auto value = readPixPipelineValue(core::Value(c.text));
        ASSERT_TRUE(value) << c.text;
        EXPECT_EQ(value.value(), c.value) << c.text;
    }
}

TEST(PixFilterPipeline, RefusesWhatItCannotReadAndConnectsNothing) {
    struct Case {
        const char* name;
        std::string configuration; // a property list, or the name of a file that does not exist
        const char* reason;
    };
    const Case cases[] = {
        {"no filters", "<plist><dict/></plist>", "no \"Filters\""},
        {"filters that are no array", "<plist><dict><key>Filters</key><string>x</string></dict></plist>",
         "no \"Filters\""},
        {"a filter that is no dictionary", "<plist><dict><key>Filters</key><array><string/></array></dict></plist>",
         "Filter 1 is not a dictionary"},
        {"no class name", "<plist><dict><key>Filters</key><array><dict/></array></dict></plist>",
         "Filter 1 has no \"FilterName\""},
        {"an unknown class", "", "no filter named \"Nothing\""},
        {"an unknown setter", "", "Recorder has no method \"setNothing:\""},
        {"a point for a number", "", "setIntensity: of Recorder takes float(), not \"CGPoint(1, 2)\""},
        {"an unknown type", "", "\"int(3)\" is not a float(), CGPoint() or NSString() value"},
        {"a number instead of a text", "", "neither a typed text nor an array"},
        {"numbers among points", "", "setControlPoints: of Recorder takes an array of CGPoint()"},
        {"attributes that are no dictionary", "", "attributes of Recorder are not a dictionary"},
        {"a missing file", "missing.plist", "missing.plist is not a readable property list"},
        {"a file that is no property list", "<plist><dict>", "is not a readable property list"},
    };
    const std::map<std::string, std::string> filters = {
        {"an unknown class", filterXml("Nothing")},
        {"an unknown setter", filterXml("Recorder", "<key>setNothing:</key><string>float(1)</string>")},
        {"a point for a number", filterXml("Recorder", "<key>setIntensity:</key><string>CGPoint(1, 2)</string>")},
        {"an unknown type", filterXml("Recorder", "<key>setIntensity:</key><string>int(3)</string>")},
        {"a number instead of a text", filterXml("Recorder", "<key>setIntensity:</key><real>1</real>")},
        {"numbers among points",
         filterXml("Recorder", "<key>setControlPoints:</key><array><string>float(1)</string></array>")},
        {"attributes that are no dictionary",
         "<dict><key>FilterName</key><string>Recorder</string><key>Attributes</key><array/></dict>"},
    };
    core::TemporaryFolder folder;
    for (const Case& c : cases) {
        auto input = PixTestImageSource::filled(1, 1, {0, 0, 0, 255});
        std::filesystem::path file = folder.path() / (c.configuration.empty() ? "configuration.plist" : c.configuration);
        if (c.configuration.empty()) {
            ASSERT_TRUE(core::writeFileAtomically(file, core::toPropertyList(plist(filters.at(c.name))).value()));
        } else if (c.configuration.starts_with("<")) {
            file = folder.path() / "written.plist";
            ASSERT_TRUE(core::writeFileAtomically(file, c.configuration));
        }
        auto pipeline = PixFilterPipeline::createWithConfigurationFile(file, input, nullptr, testRegistry());
        ASSERT_FALSE(pipeline) << c.name;
        EXPECT_TRUE(pipeline.error().description.starts_with("Sorry, a parsing error occurred. "))
            << pipeline.error().description;
        EXPECT_NE(pipeline.error().description.find(c.reason), std::string::npos)
            << c.name << ": " << pipeline.error().description;
        EXPECT_TRUE(input->targets().empty()) << c.name;
    }
}

TEST(PixFilterPipeline, MakesTheFrameworksFiltersFromAFile) {
    core::TemporaryFolder folder;
    const auto file = folder.path() / "pipeline.plist";
    ASSERT_TRUE(core::writeFileAtomically(
        file, core::toPropertyList(plist(filterXml("PixGaussianBlurFilter", "<key>setBlurSize:</key><string>float(2)</string>") +
                                         filterXml("PixBrightnessFilter", "<key>setBrightness:</key><string>float(0.25)</string>")))
                  .value()));
    auto input = PixTestImageSource::filled(1, 1, {0, 0, 0, 255});

    auto pipeline = PixFilterPipeline::createWithConfigurationFile(file, input, nullptr);

    ASSERT_TRUE(pipeline) << pipeline.error().text();
    const auto filters = pipeline.value()->filters();
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(std::dynamic_pointer_cast<PixGaussianBlurFilter>(filters[0])->blurSize(), 2);
    EXPECT_EQ(std::dynamic_pointer_cast<PixBrightnessFilter>(filters[1])->brightness(), 0.25f);
    EXPECT_EQ(input->targets(), (std::vector<std::shared_ptr<PixInput>>{filters[0]}));
}

TEST(PixFilterPipeline, GivesTheCurveFilterItsCurveFileByPath) {
    core::TemporaryFolder folder;
    // Four curves of two points, output then input: red from (0, 0) to (255 in, 128 out).
    const std::uint8_t halveRed[] = {0, 1, 0, 4, 0, 2, 0, 0, 0, 0, 0, 255, 0, 255, 0, 2, 0, 0, 0, 0, 0, 128, 0, 255,
                                     0, 2, 0, 0, 0, 0, 0, 255, 0, 255, 0, 2, 0, 0, 0, 0, 0, 255, 0, 255};
    const auto curves = folder.path() / "halve-red.acv";
    ASSERT_TRUE(core::writeFileAtomically(curves, std::string(reinterpret_cast<const char*>(halveRed), sizeof halveRed)));
    auto input = PixTestImageSource::filled(1, 1, {0, 0, 0, 255});
    auto pipeline = PixFilterPipeline::createWithConfiguration(
        plist(filterXml("PixToneCurveFilter", "<key>setPointsWithACVURL:</key><string>NSString(" + curves.string() + ")</string>")),
        input, nullptr);
    ASSERT_TRUE(pipeline) << pipeline.error().text();
    const auto curve = std::dynamic_pointer_cast<PixToneCurveFilter>(pipeline.value()->filters().at(0));
    ASSERT_TRUE(curve);
    EXPECT_NEAR(curve->toneCurveBytes()[200 * 4 + 2], 100, 2); // red, in the table's blue-green-red order
    EXPECT_NEAR(curve->toneCurveBytes()[200 * 4 + 1], 200, 2);
}

TEST(PixFilterPipeline, EveryRegisteredFilterIsMadeAndTakesEachOfItsMethods) {
    const PixFilterRegistry& registry = PixFilterRegistry::shared();
    for (const std::string& name : registry.filterNames()) {
        const PixFilterRegistry::FilterClass& filterClass = *registry.filterClass(name);
        const std::shared_ptr<PixFilterNode> filter = filterClass.make();
        ASSERT_TRUE(filter) << name; // the application's images are there
        for (const auto& [selector, method] : filterClass.methods) {
            PixPipelineValue value;
            switch (method.argument) {
            case PixFilterRegistry::Argument::None:
            case PixFilterRegistry::Argument::Float:
                value = {PixPipelineValue::Kind::Float, 0.5f, {}, {}, {}};
                break;
            case PixFilterRegistry::Argument::Point:
                value = {PixPipelineValue::Kind::Point, 0, {0.5f, 0.5f}, {}, {}};
                break;
            case PixFilterRegistry::Argument::String:
                value = {PixPipelineValue::Kind::String, 0, {}, "value", {}};
                break;
            case PixFilterRegistry::Argument::FloatArray:
            case PixFilterRegistry::Argument::PointArray:
                value = {PixPipelineValue::Kind::Array, 0, {}, {}, {}};
                break;
            }
            method.call(*filter, &value);
        }
    }
    EXPECT_GT(registry.filterNames().size(), 20u);
}

TEST(PixFilterPipeline, ConnectsTheChainAgainAfterEachChange) {
    using Change = std::function<void(PixFilterPipeline&, const std::vector<std::shared_ptr<PixFilterNode>>&)>;
    struct Case {
        const char* name;
        Change change;
        std::vector<int> chain;    // the filters from input to output, by their number (A = 0 ... D = 3)
        std::vector<int> lonely;   // filters out of the chain that still hold a target, and whom: pairs
    };
    const Case cases[] = {
        {"removing B", [](auto& p, auto&) { p.removeFilterAtIndex(1); }, {0, 2}, {1, 2}},
        {"inserting D second", [](auto& p, auto& f) { p.addFilter(f[3], 1); }, {0, 3, 1, 2}, {}},
        {"adding D last", [](auto& p, auto& f) { p.addFilter(f[3]); }, {0, 1, 2, 3}, {}},
        {"replacing A by D", [](auto& p, auto& f) { p.replaceFilterAtIndex(0, f[3]); }, {3, 1, 2}, {0, 1}},
        {"removing all", [](auto& p, auto&) { p.removeAllFilters(); }, {}, {0, 1, 1, 2}},
        {"an index past the end changes nothing", [](auto& p, auto&) { p.removeFilterAtIndex(7); }, {0, 1, 2}, {}},
    };
    for (const Case& c : cases) {
        auto input = PixTestImageSource::filled(1, 1, {0, 0, 0, 255});
        auto output = std::make_shared<pixtest::PixRecordingTarget>();
        std::vector<std::shared_ptr<PixFilterNode>> filters;
        for (int made = 0; made < 4; ++made)
            filters.push_back(PixFilter::create());
        auto pipeline = PixFilterPipeline::createWithOrderedFilters({filters[0], filters[1], filters[2]}, input, output);

        c.change(*pipeline, filters);

        std::vector<std::shared_ptr<PixInput>> expected;
        for (const int index : c.chain)
            expected.push_back(filters[static_cast<std::size_t>(index)]);
        expected.push_back(output);
        std::vector<std::shared_ptr<PixInput>> chain;
        for (std::shared_ptr<PixOutput> link = input;;) {
            const auto targets = link->targets();
            ASSERT_EQ(targets.size(), 1u) << c.name;
            chain.push_back(targets[0]);
            if (targets[0] == output)
                break;
            link = std::dynamic_pointer_cast<PixOutput>(targets[0]);
        }
        EXPECT_EQ(chain, expected) << c.name;
        for (std::size_t pair = 0; pair + 1 < c.lonely.size(); pair += 2) {
            EXPECT_EQ(filters[static_cast<std::size_t>(c.lonely[pair])]->targets(),
                      (std::vector<std::shared_ptr<PixInput>>{filters[static_cast<std::size_t>(c.lonely[pair + 1])]}))
                << c.name;
        }
    }
}

} // namespace
} // namespace zm
