#include "accessibletextbox.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <utility>

namespace kestrelon::ui {

namespace {

using Span = std::pair<int, int>;

bool startsSegment(const QTextBoundaryFinder& finder) {
    // Between two words lie boundaries that end a word or surround a blank: only a word's start
    // opens a segment.
    return finder.type() != QTextBoundaryFinder::Word ||
           finder.boundaryReasons().testFlag(QTextBoundaryFinder::StartOfItem);
}

// The segment holding the character at `at`, 0 <= at < text.size(). Each search walks from
// `at` outwards and stops at the text's ends, so a query always ends.
Span segmentHolding(const QString& text, int at, QAccessible::TextBoundaryType boundary) {
    const int length = static_cast<int>(text.size());
    QTextBoundaryFinder::BoundaryType type = QTextBoundaryFinder::Grapheme;
    switch (boundary) {
    case QAccessible::CharBoundary:
        break;
    case QAccessible::WordBoundary:
        type = QTextBoundaryFinder::Word;
        break;
    case QAccessible::SentenceBoundary:
        type = QTextBoundaryFinder::Sentence;
        break;
    default: // one line, one paragraph
        return {0, length};
    }
    QTextBoundaryFinder finder(type, text);
    finder.setPosition(at + 1);
    int start = 0;
    for (qsizetype p = finder.toPreviousBoundary(); p > 0; p = finder.toPreviousBoundary())
        if (startsSegment(finder)) {
            start = static_cast<int>(p);
            break;
        }
    finder.setPosition(at);
    int end = length;
    for (qsizetype p = finder.toNextBoundary(); p > at && p < length; p = finder.toNextBoundary())
        if (startsSegment(finder)) {
            end = static_cast<int>(p);
            break;
        }
    return {start, end};
}

class TextBoxAccessible : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
public:
    explicit TextBoxAccessible(QLineEdit* box)
        : QAccessibleWidget(box, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface && !box()->isReadOnly())
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = !box()->isReadOnly();
        s.readOnly = box()->isReadOnly();
        s.selectableText = true;
        return s;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return box()->text();
        return QAccessibleWidget::text(t);
    }

    // QAccessibleTextInterface
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index != 0 || !box()->hasSelectedText())
            return;
        *start = box()->selectionStart();
        *end = *start + box()->selectionLength();
    }
    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0)
            box()->deselect();
    }
    void setSelection(int index, int start, int end) override {
        const Span s = clamped(start, end);
        if (index == 0)
            box()->setSelection(s.first, s.second - s.first);
    }
    int cursorPosition() const override { return box()->cursorPosition(); }
    void setCursorPosition(int position) override { box()->setCursorPosition(position); }
    QString text(int start, int end) const override {
        const Span s = clamped(start, end);
        return box()->text().mid(s.first, s.second - s.first);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                             int* end) const override {
        return answer(textSegment(box()->text(), offset, boundary, SegmentPlace::Before), start,
                      end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                            int* end) const override {
        return answer(textSegment(box()->text(), offset, boundary, SegmentPlace::After), start,
                      end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                         int* end) const override {
        return answer(textSegment(box()->text(), offset, boundary, SegmentPlace::At), start, end);
    }
    int characterCount() const override { return static_cast<int>(box()->text().size()); }
    QRect characterRect(int offset) const override {
        const QString text = box()->text();
        if (offset < 0 || offset >= text.size())
            return {};
        // Measured from the caret, which the box places itself, whatever its alignment and
        // scrolling.
        const QRect caret = box()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const QFontMetrics metrics(box()->font());
        const int x = caret.x() + metrics.horizontalAdvance(text.left(offset)) -
                      metrics.horizontalAdvance(text.left(box()->cursorPosition()));
        const QRect local(x, caret.y(), metrics.horizontalAdvance(text.mid(offset, 1)),
                          caret.height());
        return QRect(box()->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint local = box()->mapFromGlobal(point);
        return box()->rect().contains(local) ? box()->cursorPositionAt(local) : -1;
    }
    void scrollToSubstring(int start, int) override { setCursorPosition(start); }
    QString attributes(int offset, int* start, int* end) const override {
        // The whole text is set in one font and colour: one run, with nothing to tell.
        const int length = characterCount();
        if (offset < 0 || offset > length)
            *start = *end = -1;
        else {
            *start = 0;
            *end = length;
        }
        return {};
    }

    // QAccessibleEditableTextInterface
    void deleteText(int start, int end) override { replaceText(start, end, QString()); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        if (box()->isReadOnly())
            return;
        const Span s = clamped(start, end);
        box()->setText(box()->text().replace(s.first, s.second - s.first, text));
        box()->setCursorPosition(s.first + static_cast<int>(text.size()));
    }

private:
    QLineEdit* box() const { return static_cast<QLineEdit*>(widget()); }

    // A range inside the text; -1 for an end means the end of the text.
    Span clamped(int start, int end) const {
        const int length = characterCount();
        if (end < 0 || end > length)
            end = length;
        start = std::clamp(start, 0, end);
        return {start, end};
    }

    static QString answer(const TextSegment& segment, int* start, int* end) {
        *start = segment.start;
        *end = segment.end;
        return segment.text;
    }
};

} // namespace

TextSegment textSegment(const QString& text, int offset, QAccessible::TextBoundaryType boundary,
                        SegmentPlace place) {
    const int length = static_cast<int>(text.size());
    if (offset < 0 || offset > length)
        return {};
    Span at{length, length};
    if (offset < length)
        at = segmentHolding(text, offset, boundary);
    else if (length > 0 && boundary != QAccessible::CharBoundary)
        at = segmentHolding(text, length - 1, boundary);
    Span found = at;
    if (place == SegmentPlace::Before)
        found = at.first == 0 ? Span{0, 0} : segmentHolding(text, at.first - 1, boundary);
    else if (place == SegmentPlace::After)
        found =
            at.second >= length ? Span{length, length} : segmentHolding(text, at.second, boundary);
    return {found.first, found.second, text.mid(found.first, found.second - found.first)};
}

QAccessibleInterface* accessibleTextBox(QLineEdit* box) {
    return new TextBoxAccessible(box);
}

} // namespace kestrelon::ui
