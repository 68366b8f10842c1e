#include "playground/views/DeathManager.h"

namespace zm {

ViewList DeathManager::getViewList() const {
    ViewList views;
    for (const CondemnedPair& pair : m_condemned) {
        const ViewList own = pair.key->getViewList();
        views.insert(views.end(), own.begin(), own.end());
    }
    return views;
}

void DeathManager::animateDead() {
    for (const CondemnedPair& pair : m_condemned) {
        pair.key->moveTo(pair.value->point(), pair.value->anchor());
        pair.key->alterAlpha(0);
    }
}

} // namespace zm
