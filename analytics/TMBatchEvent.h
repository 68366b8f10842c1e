#pragma once

#include "analytics/TMRecords.h"

#include <memory>
#include <vector>

namespace zm {

// Several events of a session sent in one request. Its entries are packed with zlib and base64 unless
// compression is off or fails. A batch is never stored itself; when it comes back it deletes its
// events' rows.
class TMBatchEvent : public TMEvent {
public:
    // The most an encoded query may grow by its entries.
    static constexpr int kLongestArguments = 20000;

    TMBatchEvent(std::string key, std::string secret, const core::Dictionary& values);

    // Adds a batchable event whose entry still fits; answers whether it did.
    bool addEvent(const std::shared_ptr<TMSAPI>& record);
    // {"s", "n", "e", "t", "lag"} of each event, with the lag of this moment.
    core::Array batchedEvents() const;
    // A new empty batch of the same session, key and secret.
    std::shared_ptr<TMBatchEvent> copyEmpty() const;

    int send() override;
    bool batchable() const override { return false; }
    bool writeToDatabase(TMDB&) override { return true; }
    bool deleteFromDatabase(TMDB& store) override;
    bool writable() const override { return false; }
    int64_t rowId() const override { return -1; }

    const std::vector<std::shared_ptr<TMEvent>>& events() const { return m_events; }
    int argumentsSize() const { return m_argumentsSize; }
    bool noCompression() const { return m_noCompression; }
    void setNoCompression(bool off) { m_noCompression = off; }

private:
    std::vector<std::shared_ptr<TMEvent>> m_events;
    int m_argumentsSize = 17;
    bool m_noCompression = false;
};

} // namespace zm
