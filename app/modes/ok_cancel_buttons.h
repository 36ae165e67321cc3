// The OK and Cancel buttons the mode dialogs share.
#pragma once

class QDialog;
class QDialogButtonBox;

namespace quorvane::app {

/// "OK" (OKBtn, the default button) and "Cancel" (CancelBtn) for `dialog`, calling its
/// accept() and reject(), which a dialog overrides to check or undo what it edits.
[[nodiscard]] QDialogButtonBox* okCancelButtons(QDialog& dialog);

} // namespace quorvane::app
