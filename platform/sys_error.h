// System errors as values: the errno of a failed call and what was being done.
#pragma once

#include <cerrno>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace quorvane::platform {

/// A failed system call: its errno and the operation it was part of.
struct SysError
{
    int code = 0;
    std::string operation;

    /// The system's text for the code (strerror).
    [[nodiscard]] std::string text() const;
    /// "operation: text" for messages and logs.
    [[nodiscard]] std::string describe() const;
};

/// The SysError for the current errno.
[[nodiscard]] SysError lastError(std::string operation);

/// A value or the error that prevented it.
template<typename T>
class [[nodiscard]] Result
{
public:
    Result(T value) // NOLINT(google-explicit-constructor): results are returned implicitly
        : m_value(std::move(value))
    { }
    Result(SysError error) // NOLINT(google-explicit-constructor)
        : m_value(std::move(error))
    { }

    [[nodiscard]] bool ok() const { return m_value.index() == 0; }
    explicit operator bool() const { return ok(); }
    [[nodiscard]] T& value() { return std::get<0>(m_value); }
    [[nodiscard]] const T& value() const { return std::get<0>(m_value); }
    [[nodiscard]] const SysError& error() const { return std::get<1>(m_value); }

private:
    std::variant<T, SysError> m_value;
};

/// Success, or the error of an operation that returns nothing.
class [[nodiscard]] Status
{
public:
    Status() = default;
    Status(SysError error) // NOLINT(google-explicit-constructor)
        : m_error(std::move(error))
    { }

    [[nodiscard]] bool ok() const { return !m_error.has_value(); }
    explicit operator bool() const { return ok(); }
    [[nodiscard]] const SysError& error() const { return *m_error; }

private:
    std::optional<SysError> m_error;
};

/// Calls `call` again for as long as it fails with EINTR; returns its last result.
template<typename Call>
auto retryOnEintr(Call&& call) -> decltype(call())
{
    for (;;) {
        auto result = call();
        if (result != -1 || errno != EINTR)
            return result;
    }
}

} // namespace quorvane::platform
