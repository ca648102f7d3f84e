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
// Keys match without regard to ASCII letter case. When the file holds several entries whose keys
// differ only in case, the one that QSettings ranks last wins: the last one in the file (entries
// of a [Properties] section rank above "Properties\key" entries at the top level, as in
// QSettings). Saving a key removes all its case variants, so the next save leaves one entry.
//
// getSetting() reads the file as it was when the store was opened; commit() merges with the file
// as it is at that moment. Anything unreadable in the file only costs the entries concerned. Only
// the first kMaxReadBytes of the file are looked at, so a save keeps nothing beyond them.
class SettingsStore {
public:
    static constexpr qint64 kMaxReadBytes = 16 * 1024 * 1024; // a real store is about 1 KiB

    // The per-user store.
    SettingsStore();
    // The store in the given file.
    explicit SettingsStore(QString filePath);

    static QString userStorePath();

    QString fileName() const { return m_path; }

    // The stored text, or def when there is no entry (an entry holding empty text gives the
    // empty text). nullopt when the entry holds something that is not text.
    std::optional<QString> getSetting(QStringView key, const QString& def) const;

    // Stages an entry; nothing reaches the disk before commit().
    void saveSetting(QStringView key, const QString& value);

    // Writes the file at once: the staged entries replace their keys (in any case), every other
    // well-formed entry of the file is kept. The new file is fully written and synced before it
    // replaces the old one, so a failure leaves the old file unchanged.
    [[nodiscard]] SaveResult commit();

private:
    void load(const QByteArray& data);

    QString m_path;
    QHash<QString, QByteArray> m_values; // folded key -> raw value
    std::vector<std::pair<QString, QString>> m_staged;
};

} // namespace kestrelon
