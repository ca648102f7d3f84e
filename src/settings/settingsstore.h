#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringView>

#include <optional>
#include <utility>
#include <vector>

namespace kestrelon {

// Outcome of writing the store. On failure the store on disk is as it was before.
struct SaveResult {
    bool ok = true;
    QString filePath; // the store's file
    QString reason;   // why it failed, for the user; empty on success

    explicit operator bool() const noexcept { return ok; }
    // One sentence naming the file and the reason, for a message box.
    QString message() const;
};

// The per-user settings store: text values under keys of the group "Properties", in the file
// that QSettings uses for organisation and application "Kestrelon" in its native format
// ($XDG_CONFIG_HOME/Kestrelon/Kestrelon.conf on Linux, ~/.config when unset).
//
// Keys and the group's name match without regard to ASCII letter case. When the file holds
// several entries whose keys differ only in case, the one that QSettings ranks last wins: the
// last one in the file (entries of a [Properties] section rank above "Properties\key" entries at
// the top level, as in QSettings).
//
// getSetting() reads the file as it was when the store was opened; commit() edits the file as it
// is at that moment. Only a regular file (or a link to one) is read; anything else at the path
// reads as an empty store and is never replaced. Anything unreadable in the file only costs the
// entries concerned.
class SettingsStore {
public:
    // The per-user store.
    SettingsStore();
    // The store in the given file.
    explicit SettingsStore(QString filePath);

    static QString userStorePath();

    QString fileName() const { return m_path; }

    // The stored text, or def when there is no entry (an entry holding empty text gives the
    // empty text). nullopt when the entry holds something that is not text.
    std::optional<QString> getSetting(QStringView key, const QString& def) const;
    // Whether the file or a staged entry has the key.
    bool hasSetting(QStringView key) const;

    // Stages an entry; nothing reaches the disk before commit(). Keys are ASCII letters and digits.
    void saveSetting(QStringView key, const QString& value);

    // Writes the file at once, changing only the values of the staged keys (every entry of each,
    // in any case); a key that has no entry is added at the end of the last [Properties] section,
    // or in a new one at the end. Every other byte stays as it was, and the file keeps its mode
    // and, for root, its owner. The new file is fully written and synced before it replaces the
    // old one, so a failure leaves the old file unchanged.
    [[nodiscard]] SaveResult commit();

private:
    void load(QByteArrayView data);

    QString m_path;
    QHash<QString, QByteArray> m_values; // folded key -> raw value
    std::vector<std::pair<QString, QString>> m_staged;
};

} // namespace kestrelon
