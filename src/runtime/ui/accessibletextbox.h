#pragma once

#include <QAccessible>
#include <QString>

#include <cstdint>

class QAccessibleInterface;
class QLineEdit;

// A single-line text box as screen readers read it: its text by character, word, sentence or
// line at any offset, the end included, and one formatting run over the whole text.
namespace kestrelon::ui {

// A piece of a text: [start, end), and the text itself.
struct TextSegment {
    int start = -1;
    int end = -1;
    QString text;

    bool operator==(const TextSegment&) const = default;
};

// Which segment of `boundary` kind the screen reader means at `offset`, before it or after it.
// Segments cover the text without gaps: a word runs from its first character to the next
// word's, so what lies between belongs to the word before. At the end of the text a character
// is empty and every longer kind is the last one. An offset outside the text gives nothing,
// -1 to -1.
enum class SegmentPlace : std::uint8_t { At, Before, After };
TextSegment textSegment(const QString& text, int offset, QAccessible::TextBoundaryType boundary,
                        SegmentPlace place = SegmentPlace::At);

QAccessibleInterface* accessibleTextBox(QLineEdit* box);

} // namespace kestrelon::ui
