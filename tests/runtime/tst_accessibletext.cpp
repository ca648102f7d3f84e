#include "accessibletext.h"

#include <QAccessible>
#include <QLabel>
#include <QTest>

using namespace kestrelon::ui;

class TestAccessibleText : public QObject {
    Q_OBJECT

private slots:
    void descriptionJoinsMeaningAndHint_data();
    void descriptionJoinsMeaningAndHint();
    void eachOwnerReplacesOnlyItsOwnPart();
    void aNewWidgetStartsWithoutParts();
};

namespace {

QString spokenDescription(QWidget* widget) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(QAccessible::Description) : QString();
}

} // namespace

void TestAccessibleText::descriptionJoinsMeaningAndHint_data() {
    QTest::addColumn<QString>("meaning");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("hintFirst");
    QTest::addColumn<QString>("expected");
    const QString m = QStringLiteral("3.50 kΩ");
    const QString h = QStringLiteral("Nearest E24 3.6 kΩ");
    QTest::newRow("meaning only") << m << QString() << false << m;
    QTest::newRow("hint only") << QString() << h << false << h;
    QTest::newRow("both") << m << h << false << m + QStringLiteral(". ") + h;
    QTest::newRow("hint set first, meaning still first")
        << m << h << true << m + QStringLiteral(". ") + h;
    QTest::newRow("neither") << QString() << QString() << false << QString();
}

void TestAccessibleText::descriptionJoinsMeaningAndHint() {
    QFETCH(QString, meaning);
    QFETCH(QString, hint);
    QFETCH(bool, hintFirst);
    QFETCH(QString, expected);
    QLabel label;
    if (hintFirst)
        setAccessibleHint(&label, hint);
    setAccessibleMeaning(&label, meaning);
    if (!hintFirst)
        setAccessibleHint(&label, hint);
    QCOMPARE(label.accessibleDescription(), expected);
    QCOMPARE(spokenDescription(&label), expected);
}

void TestAccessibleText::eachOwnerReplacesOnlyItsOwnPart() {
    QLabel label;
    setAccessibleMeaning(&label, QStringLiteral("2.50 V"));
    setAccessibleHint(&label, QStringLiteral("old hint"));
    setAccessibleHint(&label, QStringLiteral("new hint"));
    QCOMPARE(label.accessibleDescription(), QStringLiteral("2.50 V. new hint"));
    setAccessibleMeaning(&label, QStringLiteral("2.51 V"));
    QCOMPARE(label.accessibleDescription(), QStringLiteral("2.51 V. new hint"));
    setAccessibleHint(&label, QString());
    QCOMPARE(label.accessibleDescription(), QStringLiteral("2.51 V"));
}

// A widget made where a deleted one lived must not inherit its hint.
void TestAccessibleText::aNewWidgetStartsWithoutParts() {
    for (int i = 0; i < 50; ++i) {
        auto* old = new QLabel;
        setAccessibleHint(old, QStringLiteral("old hint"));
        delete old;
        QLabel label;
        setAccessibleMeaning(&label, QStringLiteral("2.50 V"));
        QCOMPARE(label.accessibleDescription(), QStringLiteral("2.50 V"));
    }
}

QTEST_MAIN(TestAccessibleText)
#include "tst_accessibletext.moc"
