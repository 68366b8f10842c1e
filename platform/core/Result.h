#pragma once

#include "platform/core/Error.h"

#include <cassert>
#include <optional>
#include <utility>
#include <variant>

namespace core {

// Either a value or the Error that prevented it.
template <typename T> class [[nodiscard]] Result {
public:
    Result(T value)
        : m_state(std::in_place_index<0>, std::move(value)) {}
    Result(Error error)
        : m_state(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T& value() const& {
        assert(ok());
        return std::get<0>(m_state);
    }
    T& value() & {
        assert(ok());
        return std::get<0>(m_state);
    }
    T&& value() && {
        assert(ok());
        return std::get<0>(std::move(m_state));
    }
    const T& operator*() const& { return value(); }
    const T* operator->() const { return &value(); }

    const Error& error() const {
        assert(!ok());
        return std::get<1>(m_state);
    }

private:
    std::variant<T, Error> m_state;
};

// The outcome of an operation that answers nothing but success or an Error.
class [[nodiscard]] Status {
public:
    Status() = default;
    Status(Error error)
        : m_error(std::move(error)) {}

    bool ok() const { return !m_error; }
    explicit operator bool() const { return ok(); }
    const Error& error() const {
        assert(!ok());
        return *m_error;
    }

private:
    std::optional<Error> m_error;
};

} // namespace core
