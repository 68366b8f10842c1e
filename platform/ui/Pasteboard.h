#pragma once

#include <memory>
#include <string>

namespace ui {

// The clipboard: text that the game copies for pasting elsewhere (the share sheet copies its text).
// The shared one keeps the text in the program unless the host puts in the desktop's clipboard.
//
// Main thread only. Replacing the general pasteboard ends the one general() answered before: callers
// use it at once rather than keep it.
class Pasteboard {
public:
    virtual ~Pasteboard() = default;

    virtual void setString(std::string text) = 0;
    virtual std::string string() const = 0;

    static Pasteboard& general();
    // nullptr puts the program's own back.
    static void setGeneral(std::shared_ptr<Pasteboard> pasteboard);
};

} // namespace ui
