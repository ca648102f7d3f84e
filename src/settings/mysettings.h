#pragma once

#include "settingsstore.h"
#include "settingstarget.h"

namespace kestrelon {

// Restores every entry of settingsEntries() into its control, in table order. Each entry is a
// step of its own: a stored value that does not convert, a slider value outside the slider's
// limits, an entry that holds no text or a handler that throws leaves that control as it was,
// and the next entry follows. Nothing is reported.
void GetMySettings(const SettingsStore& store, SettingsTarget& target);

// Writes every entry from its control, all at once. On failure nothing has been written and the
// result names the file and the reason.
[[nodiscard]] SaveResult SaveMySettings(SettingsStore& store, const SettingsTarget& target);

} // namespace kestrelon
