#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace kvr::core {

// An expected failure, carried as a value: the message is the text the user sees.
struct Error {
    std::string message;
};

template <typename T>
class Result {
public:
    Result(T value) : m_data(std::move(value)) {}
    Result(Error error) : m_data(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(m_data); }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<T>(m_data); }
    const T& value() const& { return std::get<T>(m_data); }
    T&& value() && { return std::get<T>(std::move(m_data)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    const Error& error() const { return std::get<Error>(m_data); }
    const std::string& message() const { return error().message; }

private:
    std::variant<T, Error> m_data;
};

// Result of an action with no value: empty on success.
class Status {
public:
    Status() = default;
    Status(Error error) : m_error(std::move(error)) {}
    static Status success() { return {}; }

    bool ok() const { return !m_error.has_value(); }
    explicit operator bool() const { return ok(); }
    const std::string& message() const { return m_error->message; }

private:
    std::optional<Error> m_error;
};

} // namespace kvr::core
