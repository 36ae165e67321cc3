// Runs a function when a scope is left, also through an exception.
#pragma once

#include <utility>

namespace quorvane::engine {

/// Keeps window state consistent (buttons enabled, monitor back on) whatever ends an
/// operation. The function must not throw.
template<typename Function>
class OnScopeExit
{
public:
    explicit OnScopeExit(Function function)
        : m_function(std::move(function))
    { }
    ~OnScopeExit() { m_function(); }
    OnScopeExit(const OnScopeExit&) = delete;
    OnScopeExit& operator=(const OnScopeExit&) = delete;

private:
    Function m_function;
};

} // namespace quorvane::engine
