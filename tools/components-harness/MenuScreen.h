#pragma once

#include "platform/ui/ViewController.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zm {

// The harness's first screen: a button for each component on trial, which pushes its screen.
class MenuScreen : public ui::ViewController {
public:
    struct Entry {
        std::string title;
        std::function<std::shared_ptr<ui::ViewController>()> make;
    };

    static std::shared_ptr<MenuScreen> create(std::vector<Entry> entries);

protected:
    explicit MenuScreen(std::vector<Entry> entries)
        : m_entries(std::move(entries)) {}

    void viewDidLoad() override;

private:
    std::vector<Entry> m_entries;
};

} // namespace zm
