#include "platform/ui/Appearance.h"

namespace ui {

Appearance& Appearance::shared() {
    static Appearance appearance;
    return appearance;
}

const Appearance::Entry* Appearance::find(const AppearanceKey& key) const {
    const auto found = m_entries.find(key);
    return found == m_entries.end() ? nullptr : &found->second;
}

void Appearance::setBackgroundImage(const AppearanceKey& key, std::shared_ptr<const gfx::Image> image) {
    m_entries[key].background = std::move(image);
}

std::shared_ptr<const gfx::Image> Appearance::backgroundImage(const AppearanceKey& key) const {
    const Entry* entry = find(key);
    return entry ? entry->background : nullptr;
}

void Appearance::setDividerImage(const AppearanceKey& key, std::shared_ptr<const gfx::Image> image) {
    m_entries[key].divider = std::move(image);
}

std::shared_ptr<const gfx::Image> Appearance::dividerImage(const AppearanceKey& key) const {
    const Entry* entry = find(key);
    return entry ? entry->divider : nullptr;
}

void Appearance::setTitleTextAttributes(const AppearanceKey& key, TitleTextAttributes attributes) {
    m_entries[key].titles = std::move(attributes);
}

std::optional<TitleTextAttributes> Appearance::titleTextAttributes(const AppearanceKey& key) const {
    const Entry* entry = find(key);
    return entry ? entry->titles : std::nullopt;
}

void Appearance::reset() {
    m_entries.clear();
}

} // namespace ui
