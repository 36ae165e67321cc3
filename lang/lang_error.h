// The localisation subsystem's own error type.
#pragma once

#include <stdexcept>

namespace quorvane::lang {

/// A localisation failure; carries its message only.
class ELangError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

} // namespace quorvane::lang
