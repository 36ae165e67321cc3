// Names in the order people expect.
#include "natural_order.h"

#include "platform/collator.h"

namespace quorvane::engine {

bool naturalLess(std::u32string_view a, std::u32string_view b)
{
    // The collator of the file list: a sort in a dialog never disagrees with what the list
    // showed. ICU collators may be shared between threads for comparisons.
    static const platform::Collator collator;
    return collator.less(a, b);
}

} // namespace quorvane::engine
