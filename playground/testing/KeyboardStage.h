#pragma once

// Test support for the algebra keyboard: an input delegate and a hosting screen that write down what
// they hear, and a headless device with the keyboard up, with fingers for its keys.

#include "JTMathParser/ExprTextReader.h"
#include "platform/core/FileLocations.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Button.h"
#include "platform/ui/Device.h"
#include "platform/ui/InterfaceFile.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/Window.h"
#include "playground/keyboard/AlgebraKeyboardKey.h"
#include "playground/keyboard/ExprInputDelegate.h"
#include "playground/keyboard/ExprInputViewController.h"
#include "playground/testing/PlaygroundStage.h"
#include "playground/testing/RecordingInputContainer.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zm::testing {

// Writes down every message: "update <text of the expression>" (with " (unreadable)" for a text that
// does not parse), "clear", "finish", "cancel".
class RecordingInputDelegate : public ExprInputDelegate {
public:
    void cancelInput() override { messages.push_back("cancel"); }
    void clearExprInput() override { messages.push_back("clear"); }
    void updateInputWithExpr(const ExprPtr& expr, bool readable) override {
        messages.push_back("update " + (expr ? expr->description() : std::string("null")) +
                           (readable ? "" : " (unreadable)"));
    }
    void finishInput() override { messages.push_back("finish"); }
    std::optional<std::string> initialText() override { return initial; }

    std::vector<std::string> messages;
    std::optional<std::string> initial;
};

// The message an update of the text `text` carries: its parse, as the keyboard reads it.
inline std::string updateOf(const std::string& text) {
    bool failed = false;
    const std::string shown = ExprTextReader::parseString(text, failed)->description();
    return "update " + shown + (failed ? " (unreadable)" : "");
}

// Reads the keyboard's interface files from the resources, for the device of the test.
class KeyboardInterface {
public:
    explicit KeyboardInterface(ui::Idiom idiom)
        : m_settings({core::FileLocations::shared().resources / "interface", idiom, nullptr}) {}

private:
    ui::InterfaceLoader::SharedOverride m_settings;
};

// Fingers on a keyboard that is up, in game time.
class KeyboardFingers {
public:
    explicit KeyboardFingers(host::HeadlessHost& host)
        : m_host(host) {}

    // Where the key of `keyString` on the pad shown is, in the window.
    core::Point keyPoint(const ExprInputViewController& keyboard, const std::string& keyString) const {
        const auto found = std::ranges::find_if(
            keyboard.keys(), [&](const auto& key) { return key->keyString() == keyString; });
        EXPECT_NE(found, keyboard.keys().end()) << "no key \"" << keyString << "\" on the pad";
        if (found == keyboard.keys().end())
            return {};
        const core::Rect bounds = (*found)->bounds();
        return (*found)->convertPointToView({bounds.midX(), bounds.midY()}, nullptr);
    }

    // Taps each key in turn: the delete key is "", and "xyz" and "123" switch pads.
    void type(const ExprInputViewController& keyboard, const std::vector<std::string>& keys) {
        for (const std::string& key : keys) {
            const core::Point point = keyPoint(keyboard, key);
            m_host.touchDown(point);
            m_host.advance(0.05);
            m_host.touchUp(point);
            m_host.advance(0.05);
        }
    }

    // Taps the toolbar button of the item at `index` (0 cancel, 2 done).
    void tapBar(const ExprInputViewController& keyboard, size_t index) {
        ASSERT_TRUE(keyboard.toolbar());
        const ui::Toolbar& bar = *keyboard.toolbar();
        ASSERT_LT(index, bar.items().size());
        ui::Button* button = bar.buttonFor(*bar.items()[index]);
        ASSERT_TRUE(button);
        const core::Rect bounds = button->bounds();
        const core::Point point = button->convertPointToView({bounds.midX(), bounds.midY()}, nullptr);
        m_host.touchDown(point);
        m_host.advance(0.05);
        m_host.touchUp(point);
        m_host.advance(0.05);
    }

private:
    host::HeadlessHost& m_host;
};

// A device with the keyboard up over an empty window, typing for a recording delegate.
class KeyboardStage {
public:
    explicit KeyboardStage(ui::Idiom idiom = ui::Idiom::Tablet)
        : host(ui::Device{idiom, 1})
        , interface(idiom)
        , fingers(host) {}

    // Opens the keyboard and waits until it is up.
    ExprInputViewController& open() {
        keyboard = ExprInputViewController::create();
        keyboard->setInputDelegate(delegate);
        keyboard->setContainerDelegate(container);
        container->addChildInputViewController(keyboard);
        host.advance(1);
        return *keyboard;
    }

    std::string text() const { return keyboard && keyboard->textView() ? keyboard->textView()->text() : ""; }
    void type(const std::vector<std::string>& keys) { fingers.type(*keyboard, keys); }
    core::Point keyPoint(const std::string& keyString) const {
        return fingers.keyPoint(*keyboard, keyString);
    }
    std::shared_ptr<const gfx::Image> render(const std::string& name) { return renderWindow(host, name); }

    host::HeadlessHost host;
    KeyboardInterface interface;
    KeyboardFingers fingers;
    std::shared_ptr<RecordingInputDelegate> delegate = std::make_shared<RecordingInputDelegate>();
    std::shared_ptr<RecordingInputContainer> container =
        std::make_shared<RecordingInputContainer>(host.window());
    std::shared_ptr<ExprInputViewController> keyboard;
};

} // namespace zm::testing
