// How a text box is read by character, word, sentence and line: every question has an answer,
// at every offset, the end of the text included.
#include "accessibletextbox.h"

#include <QTest>

using namespace kestrelon::ui;

Q_DECLARE_METATYPE(kestrelon::ui::SegmentPlace)
Q_DECLARE_METATYPE(QAccessible::TextBoundaryType)

class TestAccessibleTextBox : public QObject {
    Q_OBJECT

private slots:
    void segments_data();
    void segments();
    void everyOffsetHasAnAnswer();
};

void TestAccessibleTextBox::segments_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QAccessible::TextBoundaryType>("boundary");
    QTest::addColumn<SegmentPlace>("place");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    const auto at = SegmentPlace::At;
    const auto before = SegmentPlace::Before;
    const auto after = SegmentPlace::After;
    const auto word = QAccessible::WordBoundary;
    const auto character = QAccessible::CharBoundary;
    const auto line = QAccessible::LineBoundary;
    QTest::newRow("a number is one word") << "12.5" << 1 << word << at << 0 << 4;
    QTest::newRow("the word at the end is the last") << "12.5" << 4 << word << at << 0 << 4;
    QTest::newRow("no word before the first") << "12.5" << 4 << word << before << 0 << 0;
    QTest::newRow("a word takes the blank after it") << "12.5 V" << 2 << word << at << 0 << 5;
    QTest::newRow("the word after") << "12.5 V" << 0 << word << after << 5 << 6;
    QTest::newRow("the word before the end") << "12.5 V" << 6 << word << before << 0 << 5;
    QTest::newRow("nothing after the last word") << "12.5 V" << 6 << word << after << 6 << 6;
    QTest::newRow("a sign before a number") << "-3" << 0 << word << at << 0 << 1;
    QTest::newRow("blanks only") << "   " << 3 << word << at << 0 << 3;
    QTest::newRow("no character at the end") << "12.5" << 4 << character << at << 4 << 4;
    QTest::newRow("the character before the end") << "12.5" << 4 << character << before << 3 << 4;
    QTest::newRow("a sentence ends at its stop")
        << "Too high. Lower it" << 12 << QAccessible::SentenceBoundary << at << 10 << 18;
    QTest::newRow("the sentence at the end")
        << "Too high. Lower it" << 18 << QAccessible::SentenceBoundary << before << 0 << 10;
    QTest::newRow("the line is the whole text") << "12.5 V" << 6 << line << at << 0 << 6;
    QTest::newRow("an empty text has nothing") << "" << 0 << word << at << 0 << 0;
    QTest::newRow("an offset past the end") << "12.5" << 5 << word << at << -1 << -1;
    QTest::newRow("a negative offset") << "12.5" << -1 << line << at << -1 << -1;
}

void TestAccessibleTextBox::segments() {
    QFETCH(QString, text);
    QFETCH(int, offset);
    QFETCH(QAccessible::TextBoundaryType, boundary);
    QFETCH(SegmentPlace, place);
    QFETCH(int, start);
    QFETCH(int, end);
    const TextSegment segment = textSegment(text, offset, boundary, place);
    QCOMPARE(segment.start, start);
    QCOMPARE(segment.end, end);
    QCOMPARE(segment.text, start < 0 ? QString() : text.mid(start, end - start));
}

void TestAccessibleTextBox::everyOffsetHasAnAnswer() {
    // Segments of one kind cover the text without a gap, and each offset lies in its segment.
    const QString text = QStringLiteral("V+ = 12.5 V.  Too high!  é\u0301 ok");
    for (const auto boundary :
         {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary,
          QAccessible::LineBoundary, QAccessible::ParagraphBoundary, QAccessible::NoBoundary}) {
        int covered = 0;
        while (covered < text.size()) {
            const TextSegment s = textSegment(text, covered, boundary);
            QCOMPARE(s.start, covered);
            QVERIFY(s.end > s.start);
            const TextSegment next = textSegment(text, s.start, boundary, SegmentPlace::After);
            QCOMPARE(next.start, s.end);
            covered = s.end;
        }
        for (int offset = 0; offset <= text.size(); ++offset) {
            const TextSegment s = textSegment(text, offset, boundary);
            QVERIFY(s.start <= offset && (offset < s.end || offset == text.size()));
        }
    }
}

QTEST_MAIN(TestAccessibleTextBox)
#include "tst_accessibletextbox.moc"
