#include "platform/documents/MetadataQuery.h"

#include "platform/core/DispatchQueue.h"
#include "platform/core/Log.h"
#include "platform/core/Timer.h"
#include "platform/documents/FileQueue.h"

#include <cerrno>
#include <cstring>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace documents {

namespace {

// Folders below the scope searched at most this deep.
constexpr int kMaximumDepth = 8;

constexpr uint32_t kWatchedEvents =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_CLOSE_WRITE | IN_DELETE_SELF | IN_MOVE_SELF;

struct Found {
    std::vector<MetadataQuery::Item> items;
    std::vector<std::filesystem::path> folders;
};

void searchFolder(const std::filesystem::path& folder, const std::string& suffix, int depth, Found& found) {
    found.folders.push_back(folder);
    std::error_code code;
    std::filesystem::directory_iterator it(folder, code);
    for (; !code && it != std::filesystem::directory_iterator(); it.increment(code)) {
        const std::filesystem::path path = it->path();
        const std::string name = path.filename().string();
        const bool hidden = name.starts_with('.');
        std::error_code typeCode;
        if (it->is_directory(typeCode)) {
            if (!hidden && depth < kMaximumDepth)
                searchFolder(path, suffix, depth + 1, found);
            continue;
        }
        if (!name.ends_with(suffix))
            continue;
        struct stat status {};
        MetadataQuery::Item item{path, std::nullopt};
        if (::lstat(path.c_str(), &status) == 0)
            item.isHidden = hidden;
        found.items.push_back(std::move(item));
    }
}

} // namespace

std::shared_ptr<MetadataQuery> MetadataQuery::create(std::filesystem::path scope, std::string nameSuffix) {
    return std::shared_ptr<MetadataQuery>(new MetadataQuery(std::move(scope), std::move(nameSuffix)));
}

MetadataQuery::MetadataQuery(std::filesystem::path scope, std::string nameSuffix)
    : m_scope(std::move(scope))
    , m_nameSuffix(std::move(nameSuffix)) {}

MetadataQuery::~MetadataQuery() {
    stop();
}

void MetadataQuery::start(Handler handler) {
    stop();
    m_handler = std::move(handler);
    m_watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_watch < 0)
        core::log(core::LogLevel::Error, std::string("cannot watch for changes: ") + std::strerror(errno));
    // The scope is watched before it is searched, so that nothing changes unseen in between.
    watchFolders({m_scope});
    const std::weak_ptr<MetadataQuery> weakSelf = weak_from_this();
    m_pollTimer = core::Timer::schedule(core::fromSeconds(kPollInterval), core::Timer::Repeat::Repeating,
                                        [weakSelf](core::Timer&) {
                                            if (const std::shared_ptr<MetadataQuery> query = weakSelf.lock())
                                                query->poll();
                                        });
    search(Event::GatheringFinished);
}

void MetadataQuery::stop() {
    ++m_generation;
    m_handler = nullptr;
    if (m_pollTimer)
        m_pollTimer->invalidate();
    m_pollTimer = nullptr;
    if (m_watch >= 0)
        ::close(m_watch);
    m_watch = -1;
    m_watched.clear();
}

void MetadataQuery::poll() {
    if (m_watch < 0)
        return;
    bool changed = false;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t count = ::read(m_watch, buffer, sizeof buffer);
        if (count <= 0)
            break;
        changed = true;
    }
    if (changed)
        search(Event::Updated);
}

void MetadataQuery::search(Event event) {
    const std::weak_ptr<MetadataQuery> weakSelf = weak_from_this();
    FileQueue::shared().async([weakSelf, scope = m_scope, suffix = m_nameSuffix, generation = m_generation,
                               event] {
        auto found = std::make_shared<Found>();
        searchFolder(scope, suffix, 0, *found);
        core::DispatchQueue::main()->async([weakSelf, found, generation, event] {
            const std::shared_ptr<MetadataQuery> query = weakSelf.lock();
            if (!query || generation != query->m_generation || !query->m_handler)
                return;
            // A folder that was not watched yet may have changed before it was: it is searched again.
            if (query->watchFolders(found->folders))
                query->search(Event::Updated);
            // Changes that leave the results as they were (drafts of saves, other files) are not news.
            if (event == Event::Updated && found->items == query->m_results)
                return;
            query->m_results = std::move(found->items);
            // The handler may stop or restart the query: it runs on a copy.
            const Handler handler = query->m_handler;
            handler(event, query->m_results);
        });
    });
}

bool MetadataQuery::watchFolders(const std::vector<std::filesystem::path>& folders) {
    if (m_watch < 0)
        return false;
    bool added = false;
    for (const std::filesystem::path& folder : folders) {
        // Watching a folder watched already answers its watch again.
        const int watch = ::inotify_add_watch(m_watch, folder.c_str(), kWatchedEvents);
        if (watch >= 0 && m_watched.insert(watch).second)
            added = true;
    }
    return added;
}

} // namespace documents
