#pragma once

#include <optional>
#include <utility>
#include <variant>

#include <QtGlobal>

namespace plumeo {

// The value of an operation that can fail in an expected way, or its typed error. Errors are values
// here rather than exceptions so that they never cross the event loop unnoticed, and a Result
// cannot be dropped without a warning: a failure is either handled or passed on.
//
// hasValue() (and the bool conversion) is true on success; value() may be asked only then, and
// error() only on failure. Result<void, E> is the form for operations that give nothing back on
// success: default-constructed (or success()), it is a success.
template <typename T, typename E> class [[nodiscard]] Result
{
public:
    Result(T value)
        : m_storage(std::in_place_index<0>, std::move(value))
    {}
    Result(E error)
        : m_storage(std::in_place_index<1>, std::move(error))
    {}

    bool hasValue() const { return m_storage.index() == 0; }
    explicit operator bool() const { return hasValue(); }

    const T &value() const &
    {
        Q_ASSERT(hasValue());
        return std::get<0>(m_storage);
    }
    T &value() &
    {
        Q_ASSERT(hasValue());
        return std::get<0>(m_storage);
    }
    T &&value() &&
    {
        Q_ASSERT(hasValue());
        return std::get<0>(std::move(m_storage));
    }
    const E &error() const
    {
        Q_ASSERT(!hasValue());
        return std::get<1>(m_storage);
    }

private:
    std::variant<T, E> m_storage;
};

template <typename E> class [[nodiscard]] Result<void, E>
{
public:
    Result() = default;
    Result(E error)
        : m_error(std::move(error))
    {}
    static Result success() { return {}; }

    bool hasValue() const { return !m_error.has_value(); }
    explicit operator bool() const { return hasValue(); }

    const E &error() const
    {
        Q_ASSERT(!hasValue());
        return *m_error;
    }

private:
    std::optional<E> m_error;
};

} // namespace plumeo
