#include "settingsstore.h"

#include "iniformat.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <new>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace kestrelon {

namespace {

const QString kGroup = QStringLiteral("Properties");
const QString kGroupPrefix = QStringLiteral("properties/"); // folded, as keys are compared

struct StoreFile {
    QByteArray data;
    bool exists = false;
    struct stat info {};
    QString error; // set when something stands at the path but cannot be read
};

// The whole file, however large. Opened without blocking and checked after opening, so that a
// pipe, device or socket at the path is refused instead of waited for.
StoreFile readStoreFile(const QString& path) {
    StoreFile file;
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno != ENOENT)
            file.error = QString::fromLocal8Bit(std::strerror(errno));
        return file;
    }
    file.exists = true;
    QFile reader;
    reader.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    if (fstat(fd, &file.info) != 0)
        file.error = QString::fromLocal8Bit(std::strerror(errno));
    else if (S_ISDIR(file.info.st_mode))
        file.error = QStringLiteral("a folder of that name is in the way");
    else if (!S_ISREG(file.info.st_mode))
        file.error = QStringLiteral("it is not a regular file but a pipe, device or socket");
    if (!file.error.isEmpty())
        return file;
    try {
        file.data = reader.readAll();
    } catch (const std::bad_alloc&) {
        file.error = QStringLiteral("it is too large to read");
    }
    if (reader.error() != QFileDevice::NoError)
        file.error = reader.errorString();
    return file;
}

// Creates the store's folder. Names the file that stands in the way, if any: the system's own
// message would only say "Not a directory".
QString makeFolder(const QString& folder) {
    QString probe = folder;
    while (!QFileInfo::exists(probe) && QFileInfo(probe).path() != probe)
        probe = QFileInfo(probe).path();
    if (!QFileInfo(probe).isDir() && probe == folder)
        return QStringLiteral("%1 is a file, not a folder").arg(QDir::toNativeSeparators(probe));
    if (!QFileInfo(probe).isDir())
        return QStringLiteral("%1 is a file, so the folder %2 cannot be created")
            .arg(QDir::toNativeSeparators(probe), QDir::toNativeSeparators(folder));
    std::error_code ec;
    std::filesystem::create_directories(
        std::filesystem::path(QFile::encodeName(folder).toStdString()), ec);
    if (ec)
        return QStringLiteral("the folder %1 could not be created: %2")
            .arg(QDir::toNativeSeparators(folder), QString::fromLocal8Bit(ec.message()));
    return {};
}

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// A piece of the new file: bytes of the old one, or new bytes.
struct Piece {
    qsizetype from;
    qsizetype to;
    QByteArray bytes;
};

bool writeAll(int fd, QByteArrayView bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written = ::write(fd, bytes.constData() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            errno = written == 0 ? ENOSPC : errno;
            return false;
        }
        done += written;
    }
    return true;
}

// The new file is written beside the store under this name, then renamed over it.
constexpr char kPartSuffix[] = ".saving-XXXXXX";

// A save killed before its rename leaves its new file behind. One that has stood for a minute
// belongs to no save that is still running.
void removeStaleParts(const QFileInfo& store) {
    const QString pattern = store.fileName() + QByteArray(kPartSuffix).replace('X', '?');
    const QDateTime now = QDateTime::currentDateTime();
    const QFileInfoList parts =
        store.dir().entryInfoList({pattern}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& part : parts) {
        if (!part.isSymLink() && part.ownerId() == geteuid() &&
            part.lastModified().secsTo(now) > 60)
            QFile::remove(part.filePath());
    }
}

// A rename is only lasting once the folder that holds it is on the disk.
void syncFolder(const QString& folder) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        ::close(fd);
    }
}

// The file a link at the store's path leads to: the store is replaced there, and the link stays.
QFileInfo replacedFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.isSymLink())
        return info;
    return QFileInfo(info.exists() ? info.canonicalFilePath() : info.symLinkTarget());
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
    load(readStoreFile(m_path).data);
}

void SettingsStore::load(QByteArrayView data) {
    m_values.clear();
    const ini::Document doc = ini::parse(data, kGroup);
    // QSettings parses the top level before the "Properties" sections, so an entry written as
    // "Properties\key" at the top level loses to the same key inside [Properties].
    for (const bool inGroup : {false, true}) {
        for (const ini::Section& section : doc.sections) {
            if (section.isGroup != inGroup)
                continue;
            for (const ini::Entry& entry : section.entries) {
                const QString folded = ini::foldedKey(entry.key);
                if (folded.startsWith(kGroupPrefix)) {
                    m_values.insert(folded.sliced(kGroupPrefix.size()),
                                    data.sliced(entry.valueStart, entry.valueEnd - entry.valueStart)
                                        .toByteArray());
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

bool SettingsStore::hasSetting(QStringView key) const {
    const QString folded = ini::foldedKey(key);
    for (const auto& staged : m_staged)
        if (ini::foldedKey(staged.first) == folded)
            return true;
    return m_values.contains(folded);
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

    // Edit the file as it is now, so that everything this program does not own survives.
    const StoreFile current = readStoreFile(m_path);
    if (!current.error.isEmpty())
        return failure(QStringLiteral("the existing file is not replaced: %1").arg(current.error));
    // Root could write it anyway; the user who made it read-only meant otherwise.
    if (current.exists && (current.info.st_mode & 0222) == 0)
        return failure(QStringLiteral("the existing file is not writable (it is read-only)"));

    const QByteArray& data = current.data;
    const ini::Document doc = ini::parse(data, kGroup);
    QHash<QString, QByteArray> values; // folded key -> raw value
    for (const auto& [key, value] : m_staged)
        values.insert(kGroupPrefix + ini::foldedKey(key), ini::escapedValue(value));

    std::vector<Piece> pieces;
    QSet<QString> present;
    const ini::Section* group = nullptr; // the last [Properties] section
    for (const ini::Section& section : doc.sections) {
        if (section.isGroup)
            group = &section;
        for (const ini::Entry& entry : section.entries) {
            const QString folded = ini::foldedKey(entry.key);
            if (const auto value = values.constFind(folded); value != values.constEnd()) {
                pieces.push_back({entry.ownStart, entry.ownEnd, *value});
                present.insert(folded);
            }
        }
    }

    QByteArray added;
    for (const auto& [key, value] : m_staged) {
        if (!present.contains(kGroupPrefix + ini::foldedKey(key)))
            added += key.toLatin1() + '=' + ini::escapedValue(value) + doc.lineBreak;
    }
    if (!group && !added.isEmpty())
        added.prepend((data.isEmpty() ? "" : doc.lineBreak) + "[" + kGroup.toLatin1() + "]" +
                      doc.lineBreak);
    const qsizetype at = group ? group->end : data.size();
    if (!added.isEmpty() && at == data.size()) {
        // A last line whose value is replaced stands open no longer, but it may lack its break.
        const QByteArrayView rest =
            QByteArrayView(data).sliced(pieces.empty() ? 0 : pieces.back().to);
        if (pieces.empty() || !rest.trimmed().isEmpty())
            added.prepend(doc.closing);
        else if (!rest.contains('\n') && !rest.contains('\r'))
            added.prepend(doc.lineBreak);
    }
    if (!added.isEmpty())
        pieces.insert(std::upper_bound(pieces.begin(), pieces.end(), at,
                                       [](qsizetype pos, const Piece& p) { return pos < p.from; }),
                      {at, at, added});

    pieces.push_back({data.size(), data.size(), {}}); // the rest of the old file

    // The new file is written whole and synced under a name of its own, then renamed over the
    // store, so that a failure or a crash at any point leaves either the old file or the new.
    const QFileInfo target = replacedFile(m_path);
    removeStaleParts(target);
    QByteArray part = QFile::encodeName(target.filePath()) + kPartSuffix;
    const int fd = mkostemp(part.data(), O_CLOEXEC);
    if (fd < 0)
        return failure(QStringLiteral("the file could not be created: %1").arg(systemError()));
    const auto abandon = [&](const char* what) {
        const QString reason = systemError();
        ::close(fd);
        ::unlink(part.constData());
        return failure(QString::fromLatin1(what).arg(reason));
    };
    const mode_t mask = umask(0);
    umask(mask);
    const mode_t mode = current.exists ? current.info.st_mode & 07777 : 0666 & ~mask;
    if ((current.exists && geteuid() == 0 &&
         fchown(fd, current.info.st_uid, current.info.st_gid) != 0) ||
        fchmod(fd, mode) != 0)
        return abandon("the file's owner and permissions could not be kept: %1");
    qsizetype done = 0;
    for (const Piece& piece : pieces) {
        if (!writeAll(fd, QByteArrayView(data).sliced(done, piece.from - done)) ||
            !writeAll(fd, piece.bytes))
            return abandon("writing failed: %1");
        done = piece.to;
    }
    if (fsync(fd) != 0)
        return abandon("the file could not be written to the disk: %1");
    if (::close(fd) != 0 || ::rename(part.constData(), QFile::encodeName(target.filePath())) != 0) {
        const QString reason = systemError();
        ::unlink(part.constData());
        return failure(QStringLiteral("the file could not be replaced: %1").arg(reason));
    }
    syncFolder(target.absolutePath());

    for (const auto& [key, value] : m_staged)
        m_values.insert(ini::foldedKey(key), ini::escapedValue(value));
    m_staged.clear();
    return {true, m_path, {}};
}

} // namespace kestrelon
