#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// The INI dialect that QSettings uses for its native format on Linux, read and written here
// byte for byte the way QSettings 6 reads and writes it. The store does its own reading because
// QSettings turns unquoted commas into lists and decodes "@..." values into non-text types, and
// its own writing because QSettings does not notice a short write and then commits a truncated
// file as a success.
namespace kestrelon::ini {

// One "key=value" line, kept raw so that entries the program does not own can be written back
// unchanged.
struct Entry {
    QString key;          // full key: section prefix plus the unescaped key, e.g. "Properties/Vin0"
    QByteArray line;      // the logical line as it stood in the file (continuations included)
    qsizetype valueStart; // offset of the raw value (just after the '=') within line
    bool complete;        // false when the file ended inside quotes
};

struct Section {
    bool hasHeader = false; // false for the entries before the first header
    QString prefix;         // "" for the top level ([General]), otherwise "Name/"
    bool complete = true;   // false when the header ran into the end of the file inside quotes
    std::vector<Entry> entries;
};

// Sections in file order; the first one always holds the entries that precede any header.
// Comments and lines that are neither header nor entry are dropped, as QSettings drops them.
struct Document {
    std::vector<Section> sections;
};

Document parse(QByteArrayView data);

// The text of a raw value. Quotes and escapes are resolved as QSettings resolves them, but an
// unquoted comma is an ordinary character, so "1, 2" is the text "1, 2" and not a list.
// nullopt when QSettings would read the value as something other than text (@ByteArray,
// @Variant, @DateTime, @Rect, @Size, @Point, @Invalid()).
std::optional<QString> valueText(QByteArrayView rawValue);

// What QSettings writes for a key and for a string value.
QByteArray escapedKey(QStringView key);
QByteArray escapedValue(QStringView text);

// Letter case folded for key matching: ASCII letters only, so no other character can make two
// different keys equal.
QString foldedKey(QStringView key);

} // namespace kestrelon::ini
