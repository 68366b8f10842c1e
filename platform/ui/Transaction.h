#pragma once

#include <functional>

namespace ui {

// Groups the layer animations added between begin and commit, so that one completion runs (on a later
// turn of the main loop) once every one of them has stopped, finished or not. Transactions nest.
class Transaction {
public:
    Transaction() = delete;

    static void begin();
    // The completion of the innermost open transaction.
    static void setCompletion(std::function<void()> completion);
    static void commit();
};

} // namespace ui
