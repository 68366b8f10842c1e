#pragma once

#include "analytics/TmDeviceKey.h"
#include "platform/core/Value.h"

#include <optional>
#include <string>
#include <vector>

namespace zm {

class TMSession;

// The device's identity with the analytics service, for the whole process: the canonical key under
// which the service files this device (its key space and unique id go into every request), the
// device's other keys, and the session-start request that reports them. Prepared on the first send of
// any record and kept while the account key and secret stay the same; a preparation that gets no
// answer is tried again on the next send.
//
// Thread safety: every operation may be called from any thread (in practice the API thread).
class TmID {
public:
    // Prepares the identity for the account key and secret; answers whether it is ready.
    static bool initKey(const std::string& key, const std::string& secret);
    static void loadDeviceKeys();
    // The /resolve answer for `key`, or nothing.
    static std::optional<core::Dictionary> resolveDeviceKey(const TmDeviceKey& key);
    // Reconciles the device's keys with what a /resolve or /start answer says.
    static void resolveHelper(const core::Dictionary& answer);
    // The /start answer for the session (a second request after a refusal naming another key), or
    // nothing.
    static std::optional<core::Dictionary> startSession(const TMSession& session, const std::string& key,
                                                        const std::string& secret);
    static std::optional<core::Dictionary> startHelper(const TMSession& session, const std::string& key,
                                                       const std::string& secret);

    // Of the current key; nothing before the identity has a key and secret.
    static std::optional<std::string> uniqueId();
    static std::optional<std::string> keySpace();
    static std::optional<std::vector<TmDeviceKey>> deviceKeys();
    // The current key with its signature.
    static std::optional<TmDeviceKey> currentKey();

    // For tests: forgets the identity.
    static void reset();

    // Reconciliation starts over when an answer names a key it has not seen; it gives up after this
    // many rounds, changing nothing, so a service that names a new key in every answer cannot make it
    // recurse for ever.
    static constexpr int kMostRounds = 8;
};

} // namespace zm
