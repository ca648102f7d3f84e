#include "formfixture.h"

#include <QAction>
#include <QMenuBar>
#include <QStyle>
#include <QStyleOptionSlider>

using namespace kestrelon;

namespace {

// Where the slider's thumb is drawn along its track, in pixels from the left or top.
double thumbCentre(QScrollBar* bar) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    const QRect thumb = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                     QStyle::SC_ScrollBarSlider, bar);
    return bar->orientation() == Qt::Horizontal ? thumb.center().x() : thumb.center().y();
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void menuBarMarksTheCommandReachedByKeys_data();
    void menuBarMarksTheCommandReachedByKeys();
    void sliderKeysMoveTheThumbTheWayTheyPoint_data();
    void everyFocusableControlShowsFocus_data();
    void everyFocusableControlShowsFocus();
    void focusedCheckBoxFramesItsCaptionLikeAnOption();
    void sliderKeysMoveTheThumbTheWayTheyPoint();
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

void TestKeyboard::sliderKeysMoveTheThumbTheWayTheyPoint_data() {
    // Left, Up and Page Up lead to the left or top end, the others away from it. R1 has its
    // smallest value at the left, the vertical sliders their largest at the top.
    QTest::addColumn<QString>("slider");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("change");
    const struct {
        const char* name;
        int towardsStart; // value change of one step towards the left or top end
    } sliders[] = {{"hsR1_0", -1}, {"hsR1_1", -1}, {"vsR2_0", 1},
                   {"vsVin_1", 1}, {"vsRLo_0", 1}, {"vsRHi_1", 1}};
    const struct {
        Qt::Key key;
        const char* label;
        int direction; // 1 towards the left or top end
    } keys[] = {{Qt::Key_Left, "Left", 1},     {Qt::Key_Up, "Up", 1},
                {Qt::Key_PageUp, "PageUp", 1}, {Qt::Key_Right, "Right", -1},
                {Qt::Key_Down, "Down", -1},    {Qt::Key_PageDown, "PageDown", -1}};
    for (const auto& s : sliders)
        for (const auto& k : keys)
            QTest::addRow("%s %s", s.name, k.label)
                << QString::fromLatin1(s.name) << int(k.key) << s.towardsStart * k.direction;
}

void TestKeyboard::sliderKeysMoveTheThumbTheWayTheyPoint() {
    QFETCH(QString, slider);
    QFETCH(int, key);
    QFETCH(int, change);
    FormFixture f;
    ui::ScrollBar* bar = f.bar(slider);
    const int before = bar->value();
    const double thumbBefore = thumbCentre(bar);
    bar->setFocus();
    // Held long enough for the thumb to move by whole pixels.
    constexpr int presses = 100;
    for (int i = 0; i < presses; ++i)
        QTest::keyClick(bar, static_cast<Qt::Key>(key));
    QCOMPARE(bar->value(), before + presses * change);
    // The thumb moves the way the key points on the screen as well.
    const double moved = thumbCentre(bar) - thumbBefore;
    const bool pointsToStart = key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_PageUp;
    QVERIFY2(pointsToStart ? moved < 0 : moved > 0, qPrintable(QString::number(moved)));
}

void TestKeyboard::everyFocusableControlShowsFocus_data() {
    QTest::addColumn<QString>("className");
    QTest::addColumn<int>("count");
    QTest::newRow("sliders") << "kestrelon::ui::ScrollBar" << 10;
    QTest::newRow("entry boxes") << "kestrelon::ui::TextBox" << 10;
    QTest::newRow("option buttons") << "kestrelon::ui::OptionButton" << 22;
    QTest::newRow("check box") << "kestrelon::ui::CheckBox" << 1;
}

void TestKeyboard::everyFocusableControlShowsFocus() {
    QFETCH(QString, className);
    QFETCH(int, count);
    FormFixture f;
    f.form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
    // Somewhere to put the focus that is none of the controls.
    QWidget* canvas = f.form->centralWidget();
    canvas->setFocusPolicy(Qt::ClickFocus);
    // Styles mark focus once the keyboard has moved it, as Tab does.
    QTest::keyClick(f.form.get(), Qt::Key_Tab);
    int checked = 0;
    for (QWidget* control : canvas->findChildren<QWidget*>()) {
        if (control->metaObject()->className() != className)
            continue;
        QVERIFY(control->focusPolicy() & Qt::TabFocus);
        canvas->setFocus();
        const QImage unfocused = control->grab().toImage();
        control->setFocus(Qt::TabFocusReason);
        QVERIFY(control->hasFocus());
        const QImage focused = control->grab().toImage();
        QVERIFY2(focused != unfocused, qPrintable(control->objectName()));
        ++checked;
    }
    QCOMPARE(checked, count);
}

void TestKeyboard::focusedCheckBoxFramesItsCaptionLikeAnOption() {
    FormFixture f;
    f.form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
    QTest::keyClick(f.form.get(), Qt::Key_Tab);
    for (const QString& name : {QStringLiteral("chkSlave"), QStringLiteral("optMode_0")}) {
        auto* control = f.get<QWidget>(name);
        f.form->centralWidget()->setFocusPolicy(Qt::ClickFocus);
        f.form->centralWidget()->setFocus();
        const QImage unfocused = control->grab().toImage();
        control->setFocus(Qt::TabFocusReason);
        const QImage focused = control->grab().toImage();
        // The caption's half, right of the box or circle, changes.
        const QRect caption(focused.width() / 2, 0, focused.width() / 2, focused.height());
        QVERIFY2(focused.copy(caption) != unfocused.copy(caption), qPrintable(name));
    }
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
