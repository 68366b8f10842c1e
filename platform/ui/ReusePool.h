#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// The cells of a collection or table view that scrolled out of sight, kept by reuse identifier to be
// handed out again, and the factories that make new ones for an identifier.
template <class Cell> class ReusePool {
public:
    using Factory = std::function<std::shared_ptr<Cell>()>;

    void registerFactory(std::string identifier, Factory factory) {
        m_factories[std::move(identifier)] = std::move(factory);
    }

    void recycle(std::shared_ptr<Cell> cell, const std::string& identifier) {
        if (cell && !identifier.empty())
            m_idle[identifier].push_back(std::move(cell));
    }

    // A cell that waits for reuse under `identifier`, or else a new one from its factory; nullptr when
    // there is neither.
    std::shared_ptr<Cell> take(std::string_view identifier) {
        if (const auto idle = m_idle.find(identifier); idle != m_idle.end() && !idle->second.empty()) {
            std::shared_ptr<Cell> cell = std::move(idle->second.back());
            idle->second.pop_back();
            return cell;
        }
        const auto factory = m_factories.find(identifier);
        return factory != m_factories.end() && factory->second ? factory->second() : nullptr;
    }

    // Whether `take` would answer a reused cell rather than a new one.
    bool hasIdle(std::string_view identifier) const {
        const auto idle = m_idle.find(identifier);
        return idle != m_idle.end() && !idle->second.empty();
    }

private:
    std::map<std::string, Factory, std::less<>> m_factories;
    std::map<std::string, std::vector<std::shared_ptr<Cell>>, std::less<>> m_idle;
};

} // namespace ui
