#pragma once

#include "platform/core/Value.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// The settings store of the program: typed values under string keys, kept in memory and written to
// one property-list file by `synchronize`. No defaults are registered anywhere: a missing key reads
// as false, 0 or nothing, and `contains` tells a missing key from a stored 0. Safe from any thread.
class UserDefaults {
public:
    // Reads the file when there is one, after removing the temporaries a killed save left. A file that
    // cannot be read as a dictionary is logged and moved aside (its name gains ".unreadable", numbered
    // after the first) so that the next synchronize does not destroy it; when it cannot be moved, no
    // synchronize writes it.
    explicit UserDefaults(std::filesystem::path file);

    // The process's store, over FileLocations::shared().userDefaults unless replaced.
    static UserDefaults& standard();
    static void setStandard(std::shared_ptr<UserDefaults> defaults);

    bool contains(std::string_view key) const;
    std::optional<Value> objectForKey(std::string_view key) const;
    // Numbers and texts convert (a text "YES" is true, "12" is 12); anything else reads false or 0.
    bool boolForKey(std::string_view key) const;
    int64_t integerForKey(std::string_view key) const;
    float floatForKey(std::string_view key) const;
    double doubleForKey(std::string_view key) const;
    // A text, or the text of a number.
    std::optional<std::string> stringForKey(std::string_view key) const;
    std::optional<Array> arrayForKey(std::string_view key) const;
    std::optional<Dictionary> dictionaryForKey(std::string_view key) const;
    std::optional<Bytes> dataForKey(std::string_view key) const;
    Dictionary dictionaryRepresentation() const;

    // Setting null removes the key.
    void setObject(Value value, std::string_view key);
    void setBool(bool value, std::string_view key);
    void setInteger(int64_t value, std::string_view key);
    void setFloat(float value, std::string_view key);
    void setDouble(double value, std::string_view key);
    void removeObject(std::string_view key);

    // Writes every value to the file atomically; false (and a log line) when that fails, in which
    // case the file keeps its previous content.
    bool synchronize();

    using ObserverId = uint64_t;
    // Called on the changing thread after every set or remove, outside the store's lock.
    ObserverId addChangeObserver(std::function<void()> observer);
    void removeChangeObserver(ObserverId id);

private:
    void changed();

    const std::filesystem::path m_file;
    bool m_fileMustStay = false; // unreadable and not set aside
    mutable std::mutex m_lock;
    Dictionary m_values;                                                   // guarded by m_lock
    std::vector<std::pair<ObserverId, std::function<void()>>> m_observers; // guarded by m_lock
    ObserverId m_nextObserverId = 1;                                       // guarded by m_lock
};

} // namespace core
