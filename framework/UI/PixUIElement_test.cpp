#include "framework/Source/PixContext.h"
#include "framework/Source/PixFilter.h"
#include "framework/Source/PixTestSupport.h"
#include "framework/UI/PixUIElement.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Device.h"
#include "platform/ui/Layer.h"
#include "platform/ui/View.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::pixelsNear;
using pixtest::PixRecordingTarget;
using pixtest::Rgba;

class PixUIElementTest : public ::testing::Test {
protected:
    host::HeadlessHost host{ui::Device{ui::Idiom::Phone, 2}};
};

// A view of 4 x 2 points: a red top half over a blue bottom one.
std::shared_ptr<ui::View> redOverBlue() {
    auto view = ui::View::create({0, 0, 4, 2});
    view->setBackgroundColor(core::Color::rgba(0, 0, 1));
    auto top = ui::View::create({0, 0, 4, 1});
    top->setBackgroundColor(core::Color::rgba(1, 0, 0));
    view->addSubview(top);
    return view;
}

TEST_F(PixUIElementTest, DrawsTheViewUprightAtTheScreensScale) {
    auto element = PixUIElement::create(redOverBlue());
    EXPECT_EQ(element->layerSizeInPixels(), (core::Size{8, 4}));
    auto filter = PixFilter::create();
    element->addTarget(filter);

    element->update();

    const Rgba red{255, 0, 0, 255};
    const Rgba blue{0, 0, 255, 255};
    std::vector<Rgba> expected(8 * 2, red);
    expected.resize(8 * 4, blue);
    EXPECT_TRUE(pixelsNear(filter->newImageFromCurrentlyProcessedOutput(), expected, 0));
}

TEST_F(PixUIElementTest, StampsFramesFromZeroByTheClock) {
    auto layer = ui::Layer::create();
    layer->setBounds({0, 0, 100, 50});
    auto element = PixUIElement::create(layer);
    EXPECT_EQ(element->layerSizeInPixels(), (core::Size{200, 100}));
    auto target = std::make_shared<PixRecordingTarget>();
    element->addTarget(target);
    target->calls.clear();

    element->update();
    host.advance(0.5);
    element->update();

    std::vector<std::string> calls;
    runSynchronouslyOnContextQueue([&] { calls = target->calls; });
    EXPECT_EQ(calls, (std::vector<std::string>{"setInputSize(200x100, 0)", "newFrameReadyAtTime(0 s, 0)",
                                               "setInputSize(200x100, 0)", "newFrameReadyAtTime(0.5 s, 0)"}));
}

} // namespace
} // namespace zm
