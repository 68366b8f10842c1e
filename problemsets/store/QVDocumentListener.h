#pragma once

namespace zm {

// Told by the problem-set store that its list of sets has changed; it shows the store's list again.
class QVDocumentListener {
public:
    virtual ~QVDocumentListener() = default;
    virtual void documentListUpdated() = 0;
};

} // namespace zm
