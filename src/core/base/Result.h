#pragma once

#include <utility>
#include <variant>

#include <QtGlobal>

namespace plumeo {

// The value of an operation that can fail in an expected way, or its typed error. Errors are values
// here rather than exceptions so that they never cross the event loop unnoticed.
template <typename T, typename E> class Result
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

} // namespace plumeo
