// Waiting for the file list's background read, as a test must before it looks at the list.
#pragma once

#include "app/file_list_box.h"

#include <QTest>

namespace quorvane::test {

/// Processes events until the file list's newest read is in place; false when it is still
/// on its way after ten seconds.
[[nodiscard]] inline bool waitForFileList(const app::FileListBox& list)
{
    return QTest::qWaitFor([&list] { return !list.isLoading(); }, 10'000);
}

} // namespace quorvane::test
