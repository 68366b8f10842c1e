#include "analytics/TmID.h"

#include "analytics/TMDB.h"
#include "analytics/TMJSON.h"
#include "analytics/TMRecords.h"
#include "analytics/TmUtils.h"
#include "platform/core/Format.h"

#include <algorithm>
#include <mutex>

namespace zm {

namespace {

struct Identity {
    std::recursive_mutex lock;
    std::optional<std::string> key;
    std::optional<std::string> secret;
    std::optional<TmDeviceKey> current;
    std::vector<TmDeviceKey> keySet;
    bool ready = false;
};

Identity& identity() {
    static Identity shared;
    return shared;
}

std::pair<std::string, std::string> credentials() {
    Identity& state = identity();
    std::lock_guard guard(state.lock);
    return {state.key.value_or(""), state.secret.value_or("")};
}

void addOnce(std::vector<TmDeviceKey>& keys, const TmDeviceKey& key) {
    if (std::find(keys.begin(), keys.end(), key) == keys.end())
        keys.push_back(key);
}

// The keys the device can offer for the names the service desires, in its order.
std::vector<TmDeviceKey> desiredKeys(const core::Dictionary& answer) {
    std::vector<TmDeviceKey> keys;
    const core::Value* desired = answer.find("desired");
    if (!desired || !desired->asArray())
        return keys;
    for (const core::Value& name : *desired->asArray()) {
        const std::string space = name.stringValue();
        std::optional<std::string> id;
        if (space == "MAC5" && TmUtils::hasMAC())
            id = TmUtils::MAC5();
        else if (space == "MAC1" && TmUtils::hasMAC())
            id = TmUtils::MAC1();
        else if (space == "ODIN" && TmUtils::hasMAC())
            id = TmUtils::ODIN();
        else if (space == "IDFA")
            id = TmUtils::IDFA();
        else if (space == "IDFV")
            id = TmUtils::IDFV();
        if (id)
            addOnce(keys, TmDeviceKey(space, *id));
    }
    return keys;
}

// One reconciliation round; answers the answer to start over with, if any.
std::optional<core::Dictionary> reconcile(const core::Dictionary& answer) {
    const auto candidateKey = TmDeviceKey::deviceKeyFromResolve(answer);
    if (!candidateKey)
        return std::nullopt;
    TmDeviceKey candidate = *candidateKey;

    std::vector<TmDeviceKey> known;
    if (const core::Value* entries = answer.find("known"); entries && entries->asArray()) {
        for (const core::Value& entry : *entries->asArray()) {
            if (auto key = TmDeviceKey::deviceKeyFromKnown(entry))
                addOnce(known, *key);
        }
    }
    const std::vector<TmDeviceKey> desired = desiredKeys(answer);
    const auto [key, secret] = credentials();
    TMDB store(key, secret);
    std::vector<TmDeviceKey> stored = store.deviceKeys();

    if (known.empty()) {
        for (const TmDeviceKey& wanted : desired) {
            const auto resolved = TmID::resolveDeviceKey(wanted);
            if (!resolved)
                return std::nullopt;
            const auto named = TmDeviceKey::deviceKeyFromResolve(*resolved);
            if (named && !(*named == wanted) && !(*named == candidate))
                return resolved;
        }
    }

    const bool oldKinds = std::any_of(stored.begin(), stored.end(), [](const TmDeviceKey& k) {
        return k.keySpace() == "UDID" || k.keySpace() == "MAC5" || k.keySpace() == "MAC1" || k.keySpace() == "ODIN";
    });
    if (oldKinds)
        stored.clear();

    std::vector<TmDeviceKey> keySet;
    std::vector<TmDeviceKey> others = desired;
    others.insert(others.end(), known.begin(), known.end());
    others.insert(others.end(), stored.begin(), stored.end());
    for (TmDeviceKey other : others) {
        if (other == candidate)
            continue;
        other.setCanonical(false);
        addOnce(keySet, other);
    }
    candidate.setCanonical(true);
    store.setDeviceKeys({candidate});

    Identity& state = identity();
    std::lock_guard guard(state.lock);
    state.current = candidate;
    state.keySet = std::move(keySet);
    state.ready = true;
    return std::nullopt;
}

} // namespace

bool TmID::initKey(const std::string& key, const std::string& secret) {
    Identity& state = identity();
    std::lock_guard guard(state.lock);
    if (state.key == key && state.secret == secret && state.ready)
        return true;
    state.ready = false;
    state.key = key;
    state.secret = secret;
    loadDeviceKeys();
    return state.ready;
}

void TmID::loadDeviceKeys() {
    const auto [key, secret] = credentials();
    std::optional<TmDeviceKey> canonical;
    {
        TMDB store(key, secret);
        for (const TmDeviceKey& stored : store.deviceKeys()) {
            if (stored.canonical()) {
                canonical = stored;
                break;
            }
        }
    }
    if (const auto answer = resolveDeviceKey(canonical.value_or(TmDeviceKey::TMID())))
        resolveHelper(*answer);
}

std::optional<core::Dictionary> TmID::resolveDeviceKey(const TmDeviceKey& key) {
    const auto [account, secret] = credentials();
    TmQuery query(account);
    // Key spaces and ids are plain words; escaping keeps an odd one from reading as more parts.
    query.addEncoded("k", key.keySpace()).addEncoded("u", key.uniqueId());
    query.add("p", "iOS").add("v", TmUtils::createUrlencode(TmUtils::systemVersion())).add("rt", "plist");
    return TmService::get("/resolve", query, secret);
}

void TmID::resolveHelper(const core::Dictionary& answer) {
    std::optional<core::Dictionary> next = answer;
    for (int round = 0; next && round < kMostRounds; ++round)
        next = reconcile(*next);
}

std::optional<core::Dictionary> TmID::startSession(const TMSession& session, const std::string& key,
                                                   const std::string& secret) {
    auto answer = startHelper(session, key, secret);
    if (!answer || TmService::isOK(*answer))
        return answer;
    const auto named = TmDeviceKey::deviceKeyFromResolve(*answer);
    const auto current = [] {
        Identity& state = identity();
        std::lock_guard guard(state.lock);
        return state.current;
    }();
    if (!named || (current && *named == *current))
        return answer;
    resolveHelper(*answer);
    return startHelper(session, key, secret);
}

std::optional<core::Dictionary> TmID::startHelper(const TMSession& session, const std::string& key,
                                                  const std::string& secret) {
    TmDeviceKey current;
    std::vector<TmDeviceKey> keySet;
    {
        Identity& state = identity();
        std::lock_guard guard(state.lock);
        current = state.current.value_or(TmDeviceKey());
        keySet = state.keySet;
    }
    core::Array schemes;
    for (const std::string& scheme : TmUtils::schemes())
        schemes.push_back(scheme);
    core::Array keys;
    for (const TmDeviceKey& other : keySet)
        keys.push_back(core::Dictionary{{"k", other.keySpace()}, {"v", other.uniqueId()}});
    const bool unsigned_ = current.signature().empty();

    TmQuery query(key);
    query.addEncoded("av", session.appVersion())
        .add("c", TmUtils::connectionType())
        .addEncoded("i", TmUtils::applicationBundleId())
        .add("lag", core::format("%.2f", session.lag()))
        .addEncoded("n", TmUtils::applicationName())
        .add("p", "iOS")
        .add("rt", "plist")
        .addEncoded("s", session.sessionId())
        .addEncoded("sdk", kSDKName)
        .addEncoded("u", current.uniqueId())
        .addEncoded("v", TmUtils::systemVersion())
        .addEncoded("d", TmUtils::deviceType())
        .addEncoded("k", current.keySpace());
    if (const auto scheme = TmUtils::urlScheme())
        query.addEncoded("sc", *scheme);
    query.addEncoded("scs", TMJSONStringFromObject(schemes))
        .addEncoded("dk", TMJSONStringFromObject(keys))
        .add("cr", unsigned_ ? "1" : "0");
    if (TmUtils::hasAdSupportFramework())
        query.add("dnt", TmUtils::doNotTrack() ? "1" : "0");
    else
        query.addPart("&dnt=-1");

    auto answer = TmService::get("/start", query, secret);
    if (answer && unsigned_) {
        if (const core::Value* signature = answer->find("csign"); signature && signature->asString()) {
            Identity& state = identity();
            std::lock_guard guard(state.lock);
            if (state.current && *state.current == current)
                state.current->setSignature(*signature->asString());
        }
    }
    return answer;
}

std::optional<std::string> TmID::uniqueId() {
    Identity& state = identity();
    std::lock_guard guard(state.lock);
    if (!state.key || !state.secret || !state.current)
        return std::nullopt;
    return state.current->uniqueId();
}

std::optional<std::string> TmID::keySpace() {
    Identity& state = identity();
    std::lock_guard guard(state.lock);
    if (!state.key || !state.secret || !state.current)
        return std::nullopt;
    return state.current->keySpace();
}

std::optional<std::vector<TmDeviceKey>> TmID::deviceKeys() {
    Identity& state = identity();
    std::lock_guard guard(state.lock);
    if (!state.key || !state.secret)
        return std::nullopt;
    return state.keySet;
}

std::optional<TmDeviceKey> TmID::currentKey() {
    Identity& state = identity();
    std::lock_guard guard(state.lock);
    return state.current;
}

void TmID::reset() {
    Identity& state = identity();
    std::lock_guard guard(state.lock);
    state.key.reset();
    state.secret.reset();
    state.current.reset();
    state.keySet.clear();
    state.ready = false;
}

} // namespace zm
