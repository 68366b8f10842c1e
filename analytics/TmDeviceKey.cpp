#include "analytics/TmDeviceKey.h"

#include "analytics/TMJSON.h"
#include "platform/core/Digest.h"

namespace zm {

namespace {

std::optional<std::string> text(const core::Value* value) {
    if (!value || !value->asString())
        return std::nullopt;
    return *value->asString();
}

std::optional<TmDeviceKey> keyOf(const core::Value* space, const core::Value* id, const core::Value* signature) {
    const auto keySpace = text(space);
    const auto uniqueId = text(id);
    if (!keySpace || !uniqueId)
        return std::nullopt;
    return TmDeviceKey(*keySpace, *uniqueId, text(signature).value_or(""));
}

} // namespace

TmDeviceKey::TmDeviceKey(std::string keySpace, std::string uniqueId, std::string signature, bool canonical)
    : m_keySpace(std::move(keySpace))
    , m_uniqueId(std::move(uniqueId))
    , m_signature(std::move(signature))
    , m_canonical(canonical) {}

TmDeviceKey TmDeviceKey::TMID() {
    return TmDeviceKey("TMID", core::uuidString());
}

std::optional<TmDeviceKey> TmDeviceKey::deviceKeyFromResolve(const core::Dictionary& answer) {
    return keyOf(answer.find("k"), answer.find("u"), answer.find("csign"));
}

std::optional<TmDeviceKey> TmDeviceKey::deviceKeyFromKnown(const core::Value& entry) {
    return keyOf(entry.find("k"), entry.find("v"), nullptr);
}

std::optional<TmDeviceKey> TmDeviceKey::deviceKeyFromDictionary(const core::Dictionary& values) {
    return keyOf(values.find("keySpace"), values.find("uniqueId"), values.find("signature"));
}

size_t TmDeviceKey::hash() const {
    return std::hash<std::string>()(m_keySpace + m_uniqueId);
}

std::string TmDeviceKey::description() const {
    return TMJSONStringFromObject(core::Dictionary{
        {"keySpace", m_keySpace}, {"uniqueId", m_uniqueId}, {"signature", m_signature}, {"canonical", m_canonical ? 1 : 0}});
}

} // namespace zm
