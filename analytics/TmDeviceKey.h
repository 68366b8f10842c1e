#pragma once

#include "platform/core/Value.h"

#include <optional>
#include <string>

namespace zm {

// One key under which the analytics service files the device: a key space ("TMID", "IDFA", "IDFV",
// "MAC5", "MAC1", "ODIN", "UDID"), a unique id in it, the service's signature of it, and whether it is
// the device's canonical key. Keys are the same when key space and unique id are.
class TmDeviceKey {
public:
    TmDeviceKey() = default;
    TmDeviceKey(std::string keySpace, std::string uniqueId, std::string signature = {}, bool canonical = false);

    // A new key in the space "TMID".
    static TmDeviceKey TMID();
    // From an answer: "k", "u", "csign".
    static std::optional<TmDeviceKey> deviceKeyFromResolve(const core::Dictionary& answer);
    // From an entry of "known": "k", "v".
    static std::optional<TmDeviceKey> deviceKeyFromKnown(const core::Value& entry);
    // From "keySpace", "uniqueId", "signature".
    static std::optional<TmDeviceKey> deviceKeyFromDictionary(const core::Dictionary& values);

    const std::string& keySpace() const { return m_keySpace; }
    const std::string& uniqueId() const { return m_uniqueId; }
    const std::string& signature() const { return m_signature; }
    bool canonical() const { return m_canonical; }
    void setSignature(std::string signature) { m_signature = std::move(signature); }
    void setCanonical(bool canonical) { m_canonical = canonical; }

    friend bool operator==(const TmDeviceKey& x, const TmDeviceKey& y) {
        return x.m_keySpace == y.m_keySpace && x.m_uniqueId == y.m_uniqueId;
    }
    size_t hash() const;
    std::string description() const;

private:
    std::string m_keySpace;
    std::string m_uniqueId;
    std::string m_signature;
    bool m_canonical = false;
};

} // namespace zm

template <> struct std::hash<zm::TmDeviceKey> {
    size_t operator()(const zm::TmDeviceKey& key) const { return key.hash(); }
};
