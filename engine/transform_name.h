// TransformName: every rule applied to one entry, in the program's fixed order.
#pragma once

#include "rename_options.h"
#include "run_state.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quorvane::engine {

/// An error that interrupts a run (for example no target name for an entry).
class RunError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// The new name of an entry ("name" + kind letter). position is the entry's 0-based index in
/// the walked list (for TargetNames); counter is the directory's numbering counter, read and
/// advanced by numbering. When the rules leave nothing of the name, the old name is returned:
/// the entry keeps its name. Throws RunError when a list rename has no name for the position.
[[nodiscard]] std::u32string TransformName(std::u32string_view entry, std::size_t position,
    std::int64_t& counter, const RenameOptions& options, const RunState& state);

} // namespace quorvane::engine
