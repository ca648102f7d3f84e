#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// The INI dialect of QSettings' native format on Linux, as docs/settings-format.md describes it.
// The store reads and writes it itself: QSettings turns unquoted commas into lists, rewrites the
// whole file (dropping comments) and does not notice a short write.
namespace kestrelon::ini {

// A "key=value" line; offsets are into the parsed data.
struct Entry {
    QString key;          // section prefix plus the key, e.g. "Properties/Vin0"
    qsizetype valueStart; // the raw value, just after the '='
    qsizetype valueEnd;   // where the raw value ends: at a comment or the line break
    // The value's own characters, without the blanks around them: what a save replaces.
    qsizetype ownStart;
    qsizetype ownEnd;
};

struct Section {
    QString prefix;       // "" for the top level ([General]), otherwise "Name/"
    bool isGroup = false; // the group asked for, its name in any case
    qsizetype end = 0;    // just past the line break of the section's last header or entry line
    std::vector<Entry> entries; // listed for the group's sections and the top level only
};

// Sections in file order; the first one holds the entries that precede any header.
struct Document {
    std::vector<Section> sections;
    QByteArray lineBreak = "\n"; // the file's first line break
    // What text appended to the file must follow so that it starts a line of its own.
    QByteArray closing;
};

Document parse(QByteArrayView data, QStringView group);

// The text of a raw value as QSettings reads it, except that an unquoted comma is an ordinary
// character and invalid UTF-8 gives one U+FFFD per invalid sequence. nullopt when QSettings
// reads something other than text.
std::optional<QString> valueText(QByteArrayView rawValue);

// The raw value written for a text: valid UTF-8 on one line that QSettings reads back as the same
// text. It is what QSettings writes, except for a lone surrogate and a leading U+FEFF.
QByteArray escapedValue(QStringView text);

// Keys folded for matching: ASCII letters only, so no other character makes two keys equal.
QString foldedKey(QStringView key);

} // namespace kestrelon::ini
