#pragma once

#include "settingsstore.h"
#include "settingstarget.h"

#include <QString>

#include <optional>

namespace kestrelon {

// A design file holds the per-user store's [Properties] entries, so either opens as the other.
inline constexpr char kDesignSuffix[] = "kestrelon";
inline constexpr char kDesignMimeType[] = "application/x-kestrelon";

// The file format this version writes and reads. A file without the key is a store written by
// Exit&Save, which is format 1.
inline constexpr char kDesignFormatKey[] = "designFormat";
inline constexpr int kDesignFormat = 1;

struct OpenedDesign {
    std::optional<SettingsStore> store; // set when the file is a design this version reads
    QString reason;                     // why not, for the user

    // One sentence naming the file and why it was refused.
    QString message(const QString& path) const;
};

// Reads path as a design. Refused, with the reason, when the file is missing, not a regular
// file, unreadable, too large to be a design, holds none of the design's entries, or was written
// by a newer version.
OpenedDesign openDesignFile(const QString& path);

// Writes every input (the window position included), the ambient temperature (°C) the checks
// assume and the format to path in one step; a file already there keeps everything that is not
// a design entry.
[[nodiscard]] SaveResult saveDesignFile(const QString& path, const SettingsTarget& target,
                                        double ambient);

// The restore of a design, which leaves the window where it is.
void restoreDesign(const SettingsStore& store, SettingsTarget& target);

} // namespace kestrelon
