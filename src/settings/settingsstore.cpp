#include "settingsstore.h"

#include "iniformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QStandardPaths>

#include <filesystem>
#include <system_error>

namespace kestrelon {

namespace {

const QString kGroupPrefix = QStringLiteral("Properties/");

struct FileContent {
    QByteArray data;
    QString error; // set when the file exists but cannot be read
};

// The head of the file, cut back to a whole line when the file is longer than the limit.
FileContent readHead(const QString& path) {
    if (!QFileInfo::exists(path))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, file.errorString()};
    QByteArray data = file.read(SettingsStore::kMaxReadBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return {{}, file.errorString()};
    if (data.size() > SettingsStore::kMaxReadBytes) {
        data.truncate(SettingsStore::kMaxReadBytes);
        data.truncate(std::max(data.lastIndexOf('\n'), data.lastIndexOf('\r')) + 1);
    }
    return {data, {}};
}

// Creates the store's folder. Names the file that stands in the way, if any: the system's own
// message would only say "Not a directory".
QString makeFolder(const QString& folder) {
    if (QFileInfo(folder).isDir())
        return {};
    for (QString probe = folder;;) {
        const QFileInfo info(probe);
        if (info.exists()) {
            if (info.isDir())
                break;
            if (probe == folder)
                return QStringLiteral("%1 is a file, not a folder")
                    .arg(QDir::toNativeSeparators(probe));
            return QStringLiteral("%1 is a file, so the folder %2 cannot be created")
                .arg(QDir::toNativeSeparators(probe), QDir::toNativeSeparators(folder));
        }
        const QString parent = info.path();
        if (parent == probe)
            break;
        probe = parent;
    }
    std::error_code ec;
    std::filesystem::create_directories(
        std::filesystem::path(QFile::encodeName(folder).toStdString()), ec);
    if (ec)
        return QStringLiteral("the folder %1 could not be created: %2")
            .arg(QDir::toNativeSeparators(folder), QString::fromLocal8Bit(ec.message()));
    return {};
}

QString describe(const QFileDevice& file) {
    if (file.error() == QFileDevice::NoError)
        return QStringLiteral("the data could not be written completely (is the disk full?)");
    return file.errorString();
}

// The header QSettings writes for a section, so that an oddly written header in a hand-edited file
// does not survive to confuse the next reader.
QByteArray headerFor(const QString& prefix) {
    if (prefix.isEmpty())
        return QByteArrayLiteral("[General]");
    const QString name = prefix.chopped(1);
    if (name.compare(u"general", Qt::CaseInsensitive) == 0)
        return "[%" + name.toLatin1() + ']';
    return '[' + ini::escapedKey(name) + ']';
}

// A line break that cannot change the line's meaning: a line may end in an escaped '\r', which
// would take a following '\n' along as one "\r\n" line break.
void appendLine(QByteArray& out, const QByteArray& line) {
    out += line;
    out += line.endsWith('\r') ? "\r\n" : "\n";
}

} // namespace

QString SaveResult::message() const {
    if (ok)
        return {};
    return QStringLiteral("The settings could not be saved to %1: %2.")
        .arg(QDir::toNativeSeparators(filePath), reason);
}

QString SettingsStore::userStorePath() {
    // The file that QSettings(NativeFormat, UserScope, "Kestrelon", "Kestrelon") uses. Not asked
    // of QSettings itself, because a QSettings object reads the whole file however large it is.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Kestrelon/Kestrelon.conf");
}

SettingsStore::SettingsStore() : SettingsStore(userStorePath()) {}

SettingsStore::SettingsStore(QString filePath) : m_path(std::move(filePath)) {
    // An unreadable store reads as an empty one; the reason comes up again if a save fails.
    load(readHead(m_path).data);
}

void SettingsStore::load(const QByteArray& data) {
    m_values.clear();
    const ini::Document doc = ini::parse(data);
    // QSettings parses the top level before the "Properties" sections, so an entry written as
    // "Properties\key" at the top level loses to the same key inside [Properties].
    for (const QString& prefix : {QString(), kGroupPrefix}) {
        for (const ini::Section& section : doc.sections) {
            if (section.prefix != prefix)
                continue;
            for (const ini::Entry& entry : section.entries) {
                if (entry.key.startsWith(kGroupPrefix)) {
                    m_values.insert(
                        ini::foldedKey(QStringView(entry.key).sliced(kGroupPrefix.size())),
                        entry.line.sliced(entry.valueStart));
                }
            }
        }
    }
}

std::optional<QString> SettingsStore::getSetting(QStringView key, const QString& def) const {
    const QString folded = ini::foldedKey(key);
    for (auto it = m_staged.rbegin(); it != m_staged.rend(); ++it) {
        if (ini::foldedKey(it->first) == folded)
            return it->second;
    }
    const auto found = m_values.constFind(folded);
    if (found == m_values.constEnd())
        return def;
    return ini::valueText(*found);
}

void SettingsStore::saveSetting(QStringView key, const QString& value) {
    const QString folded = ini::foldedKey(key);
    for (auto& staged : m_staged) {
        if (ini::foldedKey(staged.first) == folded) {
            staged = {key.toString(), value};
            return;
        }
    }
    m_staged.emplace_back(key.toString(), value);
}

SaveResult SettingsStore::commit() {
    const auto failure = [this](const QString& reason) {
        return SaveResult{false, m_path, reason};
    };

    if (const QString error = makeFolder(QFileInfo(m_path).absolutePath()); !error.isEmpty())
        return failure(error);

    if (QFileInfo(m_path).isDir())
        return failure(QStringLiteral("a folder of that name is in the way"));

    // Merge with the file as it is now, so that entries this program does not own survive.
    const FileContent current = readHead(m_path);
    if (!current.error.isEmpty())
        return failure(
            QStringLiteral("the existing file could not be read: %1").arg(current.error));

    QSet<QString> replaced;
    for (const auto& staged : m_staged)
        replaced.insert(ini::foldedKey(staged.first));
    const auto isReplaced = [&replaced](const QString& key) {
        return key.startsWith(kGroupPrefix) &&
               replaced.contains(ini::foldedKey(QStringView(key).sliced(kGroupPrefix.size())));
    };

    QByteArray out;
    bool stagedWritten = false;
    const auto writeStaged = [&] {
        for (const auto& [key, value] : m_staged)
            out += ini::escapedKey(key) + '=' + ini::escapedValue(value) + '\n';
        stagedWritten = true;
    };
    for (const ini::Section& section : ini::parse(current.data).sections) {
        if (!section.complete) // a header with an open quote that swallowed the rest of the file
            continue;
        if (section.hasHeader) {
            if (!out.isEmpty())
                out += '\n';
            out += headerFor(section.prefix) + '\n';
        }
        if (section.prefix == kGroupPrefix && !stagedWritten)
            writeStaged();
        for (const ini::Entry& entry : section.entries) {
            // An entry whose quotes the end of the file left open would swallow the lines after it.
            if (entry.complete && !isReplaced(entry.key))
                appendLine(out, entry.line);
        }
    }
    if (!stagedWritten && !m_staged.empty()) {
        if (!out.isEmpty())
            out += '\n';
        out += "[Properties]\n";
        writeStaged();
    }

    // QSaveFile writes a temporary file, syncs it and renames it over the store. Unbuffered,
    // because a buffered QSaveFile loses the tail of a short write and still commits.
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(QStringLiteral("the file could not be created: %1").arg(file.errorString()));
    for (qint64 done = 0; done < out.size();) {
        const qint64 written = file.write(out.constData() + done, out.size() - done);
        if (written <= 0) {
            const QString reason = describe(file);
            file.cancelWriting();
            return failure(QStringLiteral("writing failed: %1").arg(reason));
        }
        done += written;
    }
    if (!file.commit())
        return failure(QStringLiteral("the file could not be replaced: %1").arg(describe(file)));

    load(out);
    m_staged.clear();
    return {true, m_path, {}};
}

} // namespace kestrelon
