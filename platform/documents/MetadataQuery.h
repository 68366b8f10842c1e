#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace core {
class Timer;
}

namespace documents {

// A live search of a folder tree for files whose names end in a suffix, standing in for the cloud's
// metadata query: it reports the matching files once it has gathered them and again whenever they
// change, also by the hand of another program (an inotify watch). Hidden folders (a leading point) are
// not searched; a hidden file is reported with its flag.
//
// Changes are picked up from the watch a few times a second on the main queue (or at once with
// poll()); the tree is then searched again on the file queue, and the results come on the main queue.
//
// Main thread only.
class MetadataQuery : public std::enable_shared_from_this<MetadataQuery> {
public:
    struct Item {
        std::filesystem::path url;
        // Nothing when it could not be read (the file went away meanwhile).
        std::optional<bool> isHidden;

        friend bool operator==(const Item&, const Item&) = default;
    };
    enum class Event { GatheringFinished, Updated };
    using Handler = std::function<void(Event event, const std::vector<Item>& results)>;

    // How often the watch is looked at.
    static constexpr double kPollInterval = 0.25;

    static std::shared_ptr<MetadataQuery> create(std::filesystem::path scope, std::string nameSuffix);
    ~MetadataQuery();
    MetadataQuery(const MetadataQuery&) = delete;
    MetadataQuery& operator=(const MetadataQuery&) = delete;

    const std::filesystem::path& scope() const { return m_scope; }
    // Starts gathering and watching; the handler hears every result set until stop().
    void start(Handler handler);
    // No results are reported any more, not even those on their way.
    void stop();
    bool isStarted() const { return bool(m_handler); }
    // Looks at the watch now: when something changed, the tree is searched again.
    void poll();

    const std::vector<Item>& results() const { return m_results; }

private:
    MetadataQuery(std::filesystem::path scope, std::string nameSuffix);

    void search(Event event);
    // Answers whether a folder was not watched before.
    bool watchFolders(const std::vector<std::filesystem::path>& folders);

    const std::filesystem::path m_scope;
    const std::string m_nameSuffix;
    Handler m_handler;
    std::vector<Item> m_results;
    int m_watch = -1;        // the inotify descriptor while started
    std::set<int> m_watched; // its watches
    std::shared_ptr<core::Timer> m_pollTimer;
    unsigned m_generation = 0; // bumped by stop(): searches of an earlier run report nothing
};

} // namespace documents
