#include "formfixture.h"

#include <QAction>
#include <QMenuBar>

using namespace kestrelon;

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void menuBarMarksTheCommandReachedByKeys_data();
    void menuBarMarksTheCommandReachedByKeys();
};

void TestKeyboard::menuBarMarksTheCommandReachedByKeys_data() {
    QTest::addColumn<QList<int>>("arrows");
    QTest::addColumn<QString>("reached");
    QTest::newRow("Alt") << QList<int>{} << QStringLiteral("mnuExit");
    QTest::newRow("Alt, Right") << QList<int>{Qt::Key_Right} << QStringLiteral("mnuAbout");
    QTest::newRow("Alt, Right, Right")
        << QList<int>{Qt::Key_Right, Qt::Key_Right} << QStringLiteral("mnuHelp");
    QTest::newRow("Alt, Left wraps to the last")
        << QList<int>{Qt::Key_Left} << QStringLiteral("mnuHelp");
}

void TestKeyboard::menuBarMarksTheCommandReachedByKeys() {
    QFETCH(QList<int>, arrows);
    QFETCH(QString, reached);
    FormFixture f;
    f.form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
    QMenuBar* bar = f.form->menuBar();
    const QImage before = bar->grab().toImage();

    QTest::keyClick(f.form.get(), Qt::Key_Alt);
    for (int key : arrows)
        QTest::keyClick(bar, static_cast<Qt::Key>(key));
    QCOMPARE(bar->activeAction(), f.get<QAction>(reached));

    // Only the command reached looks different.
    const QImage after = bar->grab().toImage();
    const qreal scale = after.devicePixelRatio();
    for (QAction* action : bar->actions()) {
        const QRect r = bar->actionGeometry(action);
        const QRect pixels(r.topLeft() * scale, r.size() * scale);
        const bool changed = before.copy(pixels) != after.copy(pixels);
        QVERIFY2(changed == (action->objectName() == reached), qPrintable(action->objectName()));
    }
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
