#include "platform/host/RecordingSoundPlayer.h"

#include <algorithm>

namespace host {

RecordingSoundPlayer::SoundId RecordingSoundPlayer::load(std::string_view name) {
    const auto found = std::find(m_names.begin(), m_names.end(), name);
    if (found != m_names.end())
        return SoundId(found - m_names.begin() + 1);
    m_names.emplace_back(name);
    return SoundId(m_names.size());
}

void RecordingSoundPlayer::play(SoundId sound) {
    if (sound >= 1 && sound <= m_names.size())
        m_played.push_back(m_names[sound - 1]);
}

} // namespace host
