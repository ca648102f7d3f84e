#include "conversions.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QTest>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

using namespace kestrelon;

class TestConversions : public QObject {
    Q_OBJECT

private slots:
    void parseReadsLeadingNumber_data();
    void parseReadsLeadingNumber();
    void parseBeyondDoubleRange_data();
    void parseBeyondDoubleRange();
    void formatRoundsOnFifteenDigits_data();
    void formatRoundsOnFifteenDigits();
    void formatAgreesWithPrintfDigits();
    void formatOfOverflowIsNoNumber();
    void formatIntoKeepsAnUnchangedCaption();
    void formattedCaptionReadsBack_data();
    void formattedCaptionReadsBack();
    void integerAndSingleToText_data();
    void integerAndSingleToText();
    void roundingConversion_data();
    void roundingConversion();
    void truthConversion_data();
    void truthConversion();
    void commaLocaleChangesNothing();
    void arbitraryTextNeverBreaksAConversion();
};

void TestConversions::parseReadsLeadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("unit suffix") << "4.50v" << 4.5;
    QTest::newRow("kilo suffix") << "0.25k" << 0.25;
    QTest::newRow("blanks around") << " 12.5 V" << 12.5;
    QTest::newRow("blank inside") << "1 2" << 12.0;
    QTest::newRow("tab and newline inside") << "1\t2\n3" << 123.0;
    QTest::newRow("comma stops") << "3,3" << 3.0;
    QTest::newRow("leading point") << "-.5" << -0.5;
    QTest::newRow("plus sign") << "+7" << 7.0;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("D exponent") << "2D2" << 200.0;
    QTest::newRow("negative exponent") << "25e-1" << 2.5;
    QTest::newRow("dangling exponent") << "5e" << 5.0;
    QTest::newRow("exponent with lone sign") << "5e-" << 5.0;
    QTest::newRow("exponent without mantissa") << "e5" << 0.0;
    QTest::newRow("double sign") << "+-5" << 0.0;
    QTest::newRow("lone point") << "." << 0.0;
    QTest::newRow("hex") << "&H1F" << 31.0;
    QTest::newRow("hex 16-bit wraps") << "&HFFFF" << -1.0;
    QTest::newRow("hex 8000") << "&H8000" << -32768.0;
    QTest::newRow("hex 17 bits") << "&h10000" << 65536.0;
    QTest::newRow("hex 32-bit wraps") << "&HFFFFFFFF" << -1.0;
    QTest::newRow("hex beyond 32 bits") << "&H100000000" << 4294967296.0;
    QTest::newRow("hex stops at non-digit") << "&H1G" << 1.0;
    QTest::newRow("hex without digits") << "&H" << 0.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("octal stops at 8") << "&o178" << 15.0;
    QTest::newRow("octal 16-bit wraps") << "&O177777" << -1.0;
    QTest::newRow("ampersand alone") << "&12" << 0.0;
    QTest::newRow("tiny underflows to zero") << "1e-999" << 0.0;
    QTest::newRow("full-width digit is no digit") << QString::fromUtf8("\xef\xbc\x91") << 0.0;
}

void TestConversions::parseReadsLeadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(parse(text), expected);
}

void TestConversions::parseBeyondDoubleRange_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("1e999") << "1e999" << inf;
    QTest::newRow("-1e999") << "-1e999" << -inf;
    QTest::newRow("long mantissa") << QString(400, QLatin1Char('9')) << inf;
    QTest::newRow("small mantissa huge exponent") << "0.001e310" << 1e307;
    QTest::newRow("huge exponent digits") << "1e99999999999999999999" << inf;
    QTest::newRow("huge hex") << "&H" + QString(300, QLatin1Char('F')) << inf;
}

void TestConversions::parseBeyondDoubleRange() {
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(parse(text), expected);
}

void TestConversions::formatRoundsOnFifteenDigits_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    auto row = [](const char* name, double v, const char* p, const char* e) {
        QTest::newRow(name) << v << QString::fromLatin1(p) << QString::fromLatin1(e);
    };
    row("1.005 up despite binary", 1.005, "#0.00", "1.01");
    row("2.675 up despite binary", 2.675, "#0.00", "2.68");
    row("zero two places", 0, "#0.00", "0.00");
    row("12.3456", 12.3456, "#0.00", "12.35");
    row("4.999 carries", 4.999, "#0.00", "5.00");
    row("1234.5 no grouping", 1234.5, "#0.00", "1234.50");
    row("negative", -0.5, "#0.00", "-0.50");
    row("large", 12345.678, "#0.00", "12345.68");
    row("negative rounding to zero has no sign", -0.001, "#0.00", "0.00");
    row("12.35 one place", 12.35, "#0.0", "12.4");
    row("7.25 half away", 7.25, "#0.0", "7.3");
    row("25.01", 25.01, "#0.0", "25.0");
    row("112.96 carries", 112.96, "#0.0", "113.0");
    row("0.04", 0.04, "#0.0", "0.0");
    row("kilo 0.25", 0.25, "#0.00k", "0.25k");
    row("kilo 5.5", 5.5, "#0.00k", "5.50k");
    row("kilo 3.125", 3.125, "#0.00k", "3.13k");
    row("kilo 9", 9, "#0.00k", "9.00k");
    row("optional 0", 0, "#0.0#", "0.0");
    row("optional 2", 2, "#0.0#", "2.0");
    row("optional 2.5", 2.5, "#0.0#", "2.5");
    row("optional 0.35", 0.35, "#0.0#", "0.35");
    row("optional 0.125", 0.125, "#0.0#", "0.13");
    row("optional 0.355", 0.355, "#0.0#", "0.36");
    row("optional 0.296", 0.296, "#0.0#", "0.3");
    row("optional negative", -2.5, "#0.0#", "-2.5");
    row("optional 0.321", 0.321, "#0.0#", "0.32");
    row("ohms 470.25", 470.25, "##0.0R", "470.3R");
    row("ohms 0.75", 0.75, "##0.0R", "0.8R");
    row("ohms 99.95 carries", 99.95, "##0.0R", "100.0R");
    row("ohms 1234.56", 1234.56, "##0.0R", "1234.6R");
    row("watts 0.05", 0.05, "0.0W", "0.1W");
    row("watts 1.25", 1.25, "0.0W", "1.3W");
    row("watts 0.96", 0.96, "0.0W", "1.0W");
    row("dissipation 0.5", 0.5, "#0.00W", "0.50W");
    row("dissipation 1.005", 1.005, "#0.00W", "1.01W");
    row("dissipation 1.8499", 1.8499, "#0.00W", "1.85W");
    row("tiny value", 1e-300, "#0.00", "0.00");
    row("just below half", 0.004999999, "#0.00", "0.00");
    row("rounding digit beyond 15", 0.0050000000000000001, "#0.00", "0.01");
    row("all nines carry to new digit", 999.999, "#0.00", "1000.00");
    // 309 integer digits: the 15 significant ones, then zeros.
    QTest::newRow("largest double") << std::numeric_limits<double>::max() << QStringLiteral("#0.0")
                                    << QStringLiteral("179769313486232") +
                                           QString(294, QLatin1Char('0')) + QStringLiteral(".0");
}

void TestConversions::formatRoundsOnFifteenDigits() {
    QFETCH(double, value);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(Format(value, pattern.toStdString()), expected);
}

// A slow, independent rendering: printf's exactly rounded 15 significant digits, then decimal
// rounding half away from zero to two places.
static QString referenceTwoPlaces(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    QString digits = QString::fromLatin1(buf, 1) + QString::fromLatin1(buf + 2, 14);
    const int exponent = std::atoi(std::strchr(buf, 'e') + 1);
    // Place the point: pad with zeros on either side so that there are 3 decimals or more.
    int pointAt = exponent + 1;
    if (pointAt <= 0) {
        digits.prepend(QString(1 - pointAt, QLatin1Char('0')));
        pointAt = 1;
    }
    while (digits.size() < pointAt + 3)
        digits.append(QLatin1Char('0'));
    QString kept = digits.left(pointAt + 2);
    if (digits.at(pointAt + 2) >= QLatin1Char('5')) {
        int i = kept.size() - 1;
        while (i >= 0 && kept.at(i) == QLatin1Char('9'))
            kept[i--] = QLatin1Char('0');
        if (i < 0)
            kept.prepend(QLatin1Char('1'));
        else
            kept[i] = QChar(kept.at(i).unicode() + 1);
    }
    QString integer = kept.left(kept.size() - 2);
    while (integer.size() > 1 && integer.startsWith(QLatin1Char('0')))
        integer.remove(0, 1);
    const QString text = integer + QLatin1Char('.') + kept.right(2);
    return value < 0 && text != QLatin1String("0.00") ? QLatin1Char('-') + text : text;
}

void TestConversions::formatAgreesWithPrintfDigits() {
    QRandomGenerator rng(7);
    for (int i = 0; i < 200000; ++i) {
        // Values near two-decimal ties, where the 15-digit step decides the last digit.
        const double base = rng.bounded(100000) / 1000.0 + 0.005;
        const double nudge = (rng.bounded(2001) - 1000) * 1e-17 * (1 << rng.bounded(12));
        const double value = (rng.bounded(2) ? -1 : 1) * (base + nudge);
        QCOMPARE(Format(value, "#0.00"), referenceTwoPlaces(value));
        const double wide = std::ldexp(rng.generateDouble(), rng.bounded(-40, 60));
        QCOMPARE(Format(wide, "#0.00"), referenceTwoPlaces(wide));
    }
}

void TestConversions::formatIntoKeepsAnUnchangedCaption() {
    QString caption = QStringLiteral("Steps= 0.32v");
    const QChar* storage = caption.constData();
    formatInto(caption, "Steps= ", 0.321, "#0.0#", "v");
    QCOMPARE(caption, QStringLiteral("Steps= 0.32v"));
    QCOMPARE(caption.constData(), storage); // not reallocated
    formatInto(caption, "Steps= ", 0.335, "#0.0#", "v");
    QCOMPARE(caption, QStringLiteral("Steps= 0.34v"));
    formatInto(caption, "Steps= ", std::numeric_limits<double>::infinity(), "#0.0#", "v");
    QCOMPARE(caption, QStringLiteral("Steps= overflow"));
    QCOMPARE(formatWithUnit({}, -2.5, "#0.00", "v"), QStringLiteral("-2.50v"));
}

void TestConversions::formatOfOverflowIsNoNumber() {
    const double inf = std::numeric_limits<double>::infinity();
    for (const double v : {inf, -inf, std::nan("")}) {
        const QString text = Format(v, "#0.00");
        QCOMPARE(text, QStringLiteral("overflow"));
        QVERIFY(!text.contains(QLatin1String("inf"), Qt::CaseInsensitive));
        QCOMPARE(parse(text), 0.0);
    }
}

void TestConversions::formattedCaptionReadsBack_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<double>("readBack");
    QTest::newRow("two places with v") << 4.5 << "#0.00" << 4.5;
    QTest::newRow("0.296 shows 0.3") << 0.296 << "#0.0#" << 0.3;
    QTest::newRow("0.123 shows 0.12") << 0.123 << "#0.0#" << 0.12;
    QTest::newRow("negative") << -1.256 << "#0.0#" << -1.26;
}

void TestConversions::formattedCaptionReadsBack() {
    QFETCH(double, value);
    QFETCH(QString, pattern);
    QFETCH(double, readBack);
    QCOMPARE(parse(Format(value, pattern.toStdString()) + QLatin1Char('v')), readBack);
}

void TestConversions::integerAndSingleToText_data() {
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");
    QTest::newRow("int 700") << integerToText(700) << "700";
    QTest::newRow("int 0") << integerToText(0) << "0";
    QTest::newRow("int -5") << integerToText(-5) << "-5";
    QTest::newRow("int min") << integerToText(-32768) << "-32768";
    QTest::newRow("single 1440") << singleToText(1440.0f) << "1440";
    QTest::newRow("single -60") << singleToText(-60.0f) << "-60";
    QTest::newRow("single 0") << singleToText(0.0f) << "0";
    QTest::newRow("single fraction") << singleToText(1234.5f) << "1234.5";
    QTest::newRow("single 7 digits") << singleToText(1234567.0f) << "1234567";
    QTest::newRow("single exponent") << singleToText(12345678.0f) << "1.234568E+07";
    QTest::newRow("single small exponent") << singleToText(0.00001f) << "1E-05";
    QTest::newRow("single small fixed") << singleToText(0.0001f) << "0.0001";
    QTest::newRow("single negative small") << singleToText(-0.5f) << "-0.5";
    QTest::newRow("truth true") << truthToText(true) << "True";
    QTest::newRow("truth false") << truthToText(false) << "False";
}

void TestConversions::integerAndSingleToText() {
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

void TestConversions::roundingConversion_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("expected");
    QTest::newRow("plain") << "700" << true << 700;
    QTest::newRow("tie to even down") << "2.5" << true << 2;
    QTest::newRow("tie to even up") << "3.5" << true << 4;
    QTest::newRow("negative tie") << "-2.5" << true << -2;
    QTest::newRow("half") << "0.5" << true << 0;
    QTest::newRow("above half") << "2.51" << true << 3;
    QTest::newRow("blanks around") << " 42 " << true << 42;
    QTest::newRow("exponent") << "1e3" << true << 1000;
    QTest::newRow("sign and point") << "+.9" << true << 1;
    QTest::newRow("lowest") << "-32768" << true << -32768;
    QTest::newRow("highest") << "32767" << true << 32767;
    QTest::newRow("rounds past highest") << "32767.5" << false << 0;
    QTest::newRow("too large") << "32768" << false << 0;
    QTest::newRow("letters") << "abc" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("blank only") << "  " << false << 0;
    QTest::newRow("blank inside") << "1 2" << false << 0;
    QTest::newRow("trailing letter") << "12v" << false << 0;
    QTest::newRow("D exponent not allowed") << "1D2" << false << 0;
    QTest::newRow("dangling exponent") << "1e" << false << 0;
    QTest::newRow("huge") << "1e999" << false << 0;
}

void TestConversions::roundingConversion() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, expected);
    const auto result = roundToInt16(text);
    QCOMPARE(result.has_value(), ok);
    if (ok)
        QCOMPARE(int(*result), expected);
}

void TestConversions::truthConversion_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected"); // -1 failure, else 0/1
    QTest::newRow("TRUE") << "TRUE" << 1;
    QTest::newRow("false") << "false" << 0;
    QTest::newRow("True") << "True" << 1;
    QTest::newRow("fAlSe") << "fAlSe" << 0;
    QTest::newRow("1") << "1" << 1;
    QTest::newRow("0") << "0" << 0;
    QTest::newRow("-1") << "-1" << 1;
    QTest::newRow("0.0") << "0.0" << 0;
    QTest::newRow("0.4 is not zero") << "0.4" << 1;
    QTest::newRow("yes") << "yes" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("truely") << "truely" << -1;
}

void TestConversions::truthConversion() {
    QFETCH(QString, text);
    QFETCH(int, expected);
    const auto result = textToTruth(text);
    QCOMPARE(result.has_value(), expected >= 0);
    if (result)
        QCOMPARE(int(*result), expected);
}

void TestConversions::commaLocaleChangesNothing() {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const QByteArray saved = previous ? QByteArray(previous) : QByteArray("C");
    const QLocale savedQt;
    const bool haveGerman = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString formatted = Format(1234.5, "#0.00");
    const double parsed = parse(u"3.75");
    const QString single = singleToText(1234.5f);
    const auto rounded = roundToInt16(u"2.5");
    std::setlocale(LC_ALL, saved.constData());
    QLocale::setDefault(savedQt);
    if (!haveGerman)
        QFAIL("the de_DE.UTF-8 locale is missing; the set-up command generates it");
    QCOMPARE(formatted, QStringLiteral("1234.50"));
    QCOMPARE(parsed, 3.75);
    QCOMPARE(single, QStringLiteral("1234.5"));
    QVERIFY(rounded.has_value());
    QCOMPARE(int(*rounded), 2);
}

void TestConversions::arbitraryTextNeverBreaksAConversion() {
    // Texts built from the characters the conversions care about, plus arbitrary code units.
    static const char16_t alphabet[] = u"0123456789.+-eEdDhHoO&,  \t\nxv9";
    QRandomGenerator rng(20261208);
    int finite = 0;
    for (int i = 0; i < 20000; ++i) {
        const int length = rng.bounded(i % 50 == 0 ? 2000 : 40);
        QString text;
        text.reserve(length);
        for (int j = 0; j < length; ++j) {
            if (rng.bounded(8) == 0)
                text.append(QChar(char16_t(rng.bounded(1, 0x10000))));
            else
                text.append(QChar(alphabet[rng.bounded(int(std::size(alphabet)) - 1)]));
        }
        const double v = parse(text);
        finite += std::isfinite(v) ? 1 : 0;
        for (const char* pattern :
             {"#0.00", "#0.0", "#0.00k", "#0.0#", "##0.0R", "0.0W", "#0.00W"}) {
            const QString shown = Format(v, pattern);
            QVERIFY2(!shown.isEmpty(), qPrintable(text));
            QVERIFY2(!shown.contains(QLatin1String("inf")) && !shown.contains(QLatin1String("nan")),
                     qPrintable(shown));
        }
        (void)roundToInt16(text);
        (void)textToTruth(text);
        (void)singleToText(static_cast<float>(v));
        (void)roundToInt16(v);
    }
    QVERIFY(finite > 0);
}

QTEST_GUILESS_MAIN(TestConversions)
#include "tst_conversions.moc"
