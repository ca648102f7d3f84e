#include "auxwindows.h"
#include "form2.h"
#include "frmabout.h"
#include "version.h"

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

namespace {

// The help text row by row, as the user sees it: header, an empty row, the 29 lines, and the
// empty row after the last line break.
const QStringList kExpectedHelpRows = {
    QStringLiteral("              ********** Kestrelon V3.0 ************"),
    QString(),
    QStringLiteral("Download the LM3914 datasheet from the web. "),
    QStringLiteral(" "),
    QStringLiteral("Checking the 'SLAVE to #1' [LM3914], the 2nd LM3914 will use the Vin setting "
                   "from #1"),
    QStringLiteral(" "),
    QStringLiteral("The LM3914 module can used to determine the required resistor values for the "),
    QStringLiteral("LED current and Vsense voltage. "),
    QStringLiteral(" "),
    QStringLiteral("The Vhigh and Vlow voltages for the comparator divider chain can also be set"),
    QStringLiteral("Using the internal Vref or an external voltage"),
    QStringLiteral(" "),
    QStringLiteral("The colour of the LED can also be selected"),
    QStringLiteral(" "),
    QStringLiteral(" "),
    QStringLiteral("Due to variations in the LM3914 parameters I would suggest that the variable "),
    QStringLiteral("resistor values as shown in the module, in an actual circuit be split into a"),
    QStringLiteral("fixed and variable resistor. "),
    QStringLiteral("Example: if the R1 variable was shown as 1.25K, I would use a 1K fixed and a "
                   "500R variable. "),
    QStringLiteral(" "),
    QStringLiteral(
        "The Rlimiting resistor is required for Vled supply voltages over approx 7volts."),
    QStringLiteral("The module will display a limiting resistor value [and Wattage rating] that "
                   "will "),
    QStringLiteral("set the LM3914 dissipation to approx 1Watt. "),
    QStringLiteral(" "),
    QStringLiteral(
        "When using over 7V for the Vled supply and using the Bar mode for the display a "
        "Rlimiter "),
    QStringLiteral("should be connected in series Voltage source and the commoned LED anodes."),
    QStringLiteral(" "),
    QStringLiteral("When using a Rlimiter resistor the LED end of the resistor should be decoupled "
                   "to 0V "),
    QStringLiteral("using a 10uF capacitor "),
    QStringLiteral(" "),
    QStringLiteral("Settings for the modules paramters are saved at close and restored when the "
                   "module is run. "),
    QString(),
};

const QString kLineBreak = QStringLiteral("\r\n");
const QRect kTextBoxGeometry(10, 14, 585, 569); // 150, 210, 8775 x 8535 twips

template <typename Window> QList<Window*> openWindows() {
    QList<Window*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget))
            found.append(window);
    }
    return found;
}

// The single open instance; fails the calling test when there is none or more than one.
template <typename Window> Window* theOpenWindow() {
    const QList<Window*> windows = openWindows<Window>();
    return windows.size() == 1 ? windows.first() : nullptr;
}

QString helpText(const QWidget* help) {
    return help->property("text").toString();
}

QPlainTextEdit* textBox(QWidget* help) {
    return help->findChild<QPlainTextEdit*>(QStringLiteral("txt1"));
}

QLabel* label(QWidget* about, const QString& name) {
    return about->findChild<QLabel*>(name);
}

QtMessageHandler previousMessageHandler = nullptr;

// The offscreen platform cannot raise windows and says so on every show; the rest goes through.
void dropRaiseWarning(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message == QLatin1String("This plugin does not support raise()"))
        return;
    previousMessageHandler(type, context, message);
}

} // namespace

class TestAuxWindows : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void helpText_rows_data();
    void helpText_rows();
    void helpText_lineBreaksAndInsertionPoint();
    void helpText_blankRows();
    void helpWindow_frameAndTextBox();
    void helpWindow_linesDoNotWrap();
    void helpWindow_resizeLeavesTextBox_data();
    void helpWindow_resizeLeavesTextBox();
    void showHelpWindow_again_keepsOneWindowAndEdits();
    void showHelpWindow_afterClose_discardsEdits();
    void showAgain_bringsWindowToFront();

    void aboutBox_captions_data();
    void aboutBox_captions();
    void aboutBox_versionMatchesProjectVersion();
    void aboutBox_labelsShowWholeText();
    void aboutBox_logoFromResource();
    void aboutBox_fixedFrame();
    void aboutBox_fixedScreenPosition();
    void showAboutBox_again_keepsOneWindow();

    void closeAuxWindows_destroysBoth();
    void escape_closesTheWindow_data();
    void escape_closesTheWindow();
    void screenReadersFindWindowsAndTheirContents_data();
    void screenReadersFindWindowsAndTheirContents();
};

void TestAuxWindows::initTestCase() {
    previousMessageHandler = qInstallMessageHandler(dropRaiseWarning);
}

void TestAuxWindows::cleanup() {
    closeAuxWindows();
    QVERIFY(openWindows<Form2>().isEmpty());
    QVERIFY(openWindows<frmAbout>().isEmpty());
}

void TestAuxWindows::helpText_rows_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("expected");
    for (int i = 0; i < kExpectedHelpRows.size(); ++i) {
        const QByteArray name = QByteArray("row ") + QByteArray::number(i + 1) + ": \"" +
                                kExpectedHelpRows.at(i).left(24).toLatin1() + "\"";
        QTest::newRow(name.constData()) << i + 1 << kExpectedHelpRows.at(i);
    }
}

void TestAuxWindows::helpText_rows() {
    QFETCH(int, row);
    QFETCH(QString, expected);
    showHelpWindow();
    Form2* help = theOpenWindow<Form2>();
    QVERIFY(help);
    const QStringList rows = helpText(help).split(kLineBreak);
    QCOMPARE(rows.size(), 32);
    QCOMPARE(rows.at(row - 1), expected);
}

void TestAuxWindows::helpText_lineBreaksAndInsertionPoint() {
    showHelpWindow();
    Form2* help = theOpenWindow<Form2>();
    QVERIFY(help);
    const QString text = helpText(help);
    // Every break is a CR LF pair: no lone CR or LF.
    QCOMPARE(text.count(kLineBreak), 31);
    QCOMPARE(text.count(QLatin1Char('\n')), 31);
    QCOMPARE(text.count(QLatin1Char('\r')), 31);
    QVERIFY(text.endsWith(QStringLiteral("module is run. \r\n")));

    const QString header = QString(14, QLatin1Char(' ')) + QString(10, QLatin1Char('*')) +
                           QStringLiteral(" Kestrelon V3.0 ") + QString(12, QLatin1Char('*'));
    QVERIFY(text.startsWith(header + kLineBreak + kLineBreak + QStringLiteral("Download")));

    QPlainTextEdit* box = textBox(help);
    QVERIFY(box);
    QCOMPARE(box->document()->blockCount(), 32);
    // The insertion point is left on the empty last row.
    QVERIFY(box->textCursor().atEnd());
    QCOMPARE(box->textCursor().blockNumber(), 31);
}

void TestAuxWindows::helpText_blankRows() {
    showHelpWindow();
    Form2* help = theOpenWindow<Form2>();
    QVERIFY(help);
    const QStringList rows = helpText(help).split(kLineBreak);

    QSet<int> singleBlankRows;
    QSet<int> trailingBlankRows;
    QSet<int> emptyRows;
    for (int i = 0; i < rows.size(); ++i) {
        const QString& row = rows.at(i);
        if (row.isEmpty())
            emptyRows.insert(i + 1);
        else if (row == QStringLiteral(" "))
            singleBlankRows.insert(i + 1);
        else if (row.endsWith(QLatin1Char(' ')))
            trailingBlankRows.insert(i + 1);
    }
    // Lines 3, 5, 8, 11, 13, 14, 19, 23, 26 and 29 of the notes, one row further down.
    QCOMPARE(singleBlankRows, (QSet<int>{4, 6, 9, 12, 14, 15, 20, 24, 27, 30}));
    QCOMPARE(trailingBlankRows, (QSet<int>{3, 7, 8, 16, 18, 19, 22, 23, 25, 28, 29, 31}));
    QCOMPARE(emptyRows, (QSet<int>{2, 32}));
}

void TestAuxWindows::helpWindow_frameAndTextBox() {
    showHelpWindow();
    Form2* help = theOpenWindow<Form2>();
    QVERIFY(help);
    QVERIFY(QTest::qWaitForWindowExposed(help));

    QCOMPARE(help->objectName(), QStringLiteral("Form2"));
    QCOMPARE(help->windowTitle(), QStringLiteral("Form2"));
    QCOMPARE(help->windowType(), Qt::Window);
    QVERIFY(!help->parentWidget());
    QCOMPARE(help->windowModality(), Qt::NonModal);
    QCOMPARE(help->size(), QSize(605, 601));
    const Qt::WindowFlags flags = help->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(help->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(help->testAttribute(Qt::WA_QuitOnClose));

    QPlainTextEdit* box = textBox(help);
    QVERIFY(box);
    QCOMPARE(box->geometry(), kTextBoxGeometry);
    QVERIFY(!box->isReadOnly());
    QCOMPARE(box->font().pointSizeF(), 9.75);
    QVERIFY(!box->font().bold());
    QCOMPARE(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    QVERIFY(QTest::qWaitForWindowActive(help));
    QCOMPARE(QApplication::focusWidget(), box);
}

void TestAuxWindows::helpWindow_linesDoNotWrap() {
    showHelpWindow();
    Form2* help = theOpenWindow<Form2>();
    QVERIFY(help);
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QPlainTextEdit* box = textBox(help);
    QVERIFY(box);
    QCOMPARE(box->lineWrapMode(), QPlainTextEdit::NoWrap);

    for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
        QVERIFY(block.layout());
        QVERIFY2(block.layout()->lineCount() == 1, qPrintable(block.text()));
    }
    QVERIFY(box->horizontalScrollBar()->isVisible());

    // A row wider than the box stays one row and is reached by scrolling sideways.
    const QString longRow = QString(40, QLatin1Char('x')).repeated(10);
    box->moveCursor(QTextCursor::End);
    QTest::keyClicks(box, longRow);
    const QTextBlock last = box->document()->lastBlock();
    QCOMPARE(last.text(), longRow);
    QTRY_COMPARE(last.layout()->lineCount(), 1);
    QTRY_VERIFY(box->horizontalScrollBar()->maximum() > 0);
}

void TestAuxWindows::helpWindow_resizeLeavesTextBox_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("smaller than the box") << QSize(300, 200);
    QTest::newRow("wider and taller") << QSize(1000, 900);
    QTest::newRow("narrow and tall") << QSize(200, 1000);
}

void TestAuxWindows::helpWindow_resizeLeavesTextBox() {
    QFETCH(QSize, size);
    showHelpWindow();
    Form2* help = theOpenWindow<Form2>();
    QVERIFY(help);
    QVERIFY(QTest::qWaitForWindowExposed(help));
    help->resize(size);
    QTRY_COMPARE(help->size(), size);
    QCOMPARE(textBox(help)->geometry(), kTextBoxGeometry);
}

void TestAuxWindows::showHelpWindow_again_keepsOneWindowAndEdits() {
    showHelpWindow();
    QPointer<Form2> first = theOpenWindow<Form2>();
    QVERIFY(first);
    QTest::keyClicks(textBox(first), QStringLiteral("my note"));
    const QString edited = helpText(first);
    QVERIFY(edited.contains(QStringLiteral("my note")));

    showHelpWindow();
    QCOMPARE(openWindows<Form2>().size(), 1);
    QCOMPARE(theOpenWindow<Form2>(), first.data());
    QVERIFY(first->isVisible());
    // No second load: the text, edits included, is as the user left it.
    QCOMPARE(helpText(first), edited);
}

void TestAuxWindows::showHelpWindow_afterClose_discardsEdits() {
    showHelpWindow();
    QPointer<Form2> first = theOpenWindow<Form2>();
    QVERIFY(first);
    textBox(first)->selectAll();
    QTest::keyClicks(textBox(first), QStringLiteral("replaced"));
    QCOMPARE(helpText(first), QStringLiteral("replaced"));

    QVERIFY(first->close());
    QTRY_VERIFY(first.isNull());
    QVERIFY(openWindows<Form2>().isEmpty());

    showHelpWindow();
    Form2* second = theOpenWindow<Form2>();
    QVERIFY(second);
    QCOMPARE(helpText(second), kExpectedHelpRows.join(kLineBreak));
}

void TestAuxWindows::showAgain_bringsWindowToFront() {
    showHelpWindow();
    Form2* help = theOpenWindow<Form2>();
    QVERIFY(help);
    QVERIFY(QTest::qWaitForWindowActive(help));
    showAboutBox();
    frmAbout* about = theOpenWindow<frmAbout>();
    QVERIFY(about);
    QTRY_COMPARE(QApplication::activeWindow(), about);

    showHelpWindow();
    QTRY_COMPARE(QApplication::activeWindow(), help);
    showAboutBox();
    QTRY_COMPARE(QApplication::activeWindow(), about);

    help->showMinimized();
    QTRY_VERIFY(help->isMinimized());
    showHelpWindow();
    QVERIFY(!help->isMinimized());
    QVERIFY(help->isVisible());
}

void TestAuxWindows::aboutBox_captions_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("expected");
    QTest::newRow("lblTitle is the application title") << "lblTitle"
                                                       << "Kestrelon";
    // From the build's numbers, written independently of the box's own conversion.
    QTest::newRow("lblVersion from the build") << "lblVersion"
                                               << QStringLiteral("Version %1.%2.%3")
                                                      .arg(kestrelon::kVersionMajor)
                                                      .arg(kestrelon::kVersionMinor)
                                                      .arg(kestrelon::kVersionRevision);
}

void TestAuxWindows::aboutBox_captions() {
    QFETCH(QString, control);
    QFETCH(QString, expected);
    showAboutBox();
    frmAbout* about = theOpenWindow<frmAbout>();
    QVERIFY(about);
    QCOMPARE(about->objectName(), QStringLiteral("frmAbout"));
    QCOMPARE(about->windowTitle(), QStringLiteral("About Kestrelon"));
    QLabel* caption = label(about, control);
    QVERIFY(caption);
    QCOMPARE(caption->text(), expected);
}

void TestAuxWindows::aboutBox_versionMatchesProjectVersion() {
    showAboutBox();
    frmAbout* about = theOpenWindow<frmAbout>();
    QVERIFY(about);
    QCOMPARE(label(about, QStringLiteral("lblVersion"))->text(),
             QStringLiteral("Version ") + QLatin1String(KESTRELON_PROJECT_VERSION));
}

void TestAuxWindows::aboutBox_labelsShowWholeText() {
    showAboutBox();
    frmAbout* about = theOpenWindow<frmAbout>();
    QVERIFY(about);
    QVERIFY(QTest::qWaitForWindowExposed(about));
    QCOMPARE(about->font().pointSizeF(), 8.25);

    QLabel* description = label(about, QStringLiteral("lblDescription"));
    QVERIFY(description);
    QVERIFY(description->text().startsWith(QStringLiteral("Kestrelon V3.0 Calculator")));
    QVERIFY(description->wordWrap());
    QVERIFY(description->heightForWidth(description->width()) <= description->height());

    for (const QString& name : {QStringLiteral("lblTitle"), QStringLiteral("lblVersion")}) {
        QLabel* single = label(about, name);
        QVERIFY(single);
        const QSize needed = single->sizeHint();
        QVERIFY2(needed.width() <= single->width() && needed.height() <= single->height(),
                 qPrintable(name));
    }
    for (const QString& name : {QStringLiteral("lblTitle"), QStringLiteral("lblDescription")}) {
        QCOMPARE(label(about, name)->palette().color(QPalette::WindowText), QColor(Qt::black));
    }
}

void TestAuxWindows::aboutBox_logoFromResource() {
    showAboutBox();
    frmAbout* about = theOpenWindow<frmAbout>();
    QVERIFY(about);
    QLabel* icon = label(about, QStringLiteral("picIcon"));
    QVERIFY(icon);
    const QPixmap logo = icon->pixmap();
    QVERIFY(!logo.isNull());
    QCOMPARE(logo.size(), QSize(45, 31));
    QCOMPARE(icon->geometry(), QRect(14, 14, 49, 35));
    // The picture fills the box inside its border.
    QCOMPARE(icon->contentsRect().size(), logo.size());

    // Blue lettering on yellow, nothing else.
    const QImage image = logo.toImage().convertToFormat(QImage::Format_RGB32);
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    }
    QCOMPARE(colours, (QSet<QRgb>{qRgb(255, 255, 0), qRgb(0, 0, 255)}));
    QCOMPARE(image.pixel(0, 0), qRgb(255, 255, 0));
}

void TestAuxWindows::aboutBox_fixedFrame() {
    showAboutBox();
    frmAbout* about = theOpenWindow<frmAbout>();
    QVERIFY(about);
    QVERIFY(QTest::qWaitForWindowExposed(about));
    QVERIFY(!about->parentWidget());
    QCOMPARE(about->windowModality(), Qt::NonModal);
    // A tool window has no taskbar entry.
    QCOMPARE(about->windowType(), Qt::Tool);
    const Qt::WindowFlags flags = about->windowFlags();
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(about->testAttribute(Qt::WA_DeleteOnClose));
    // Tool windows drop this by default; without it the program would end while the box is open.
    QVERIFY(about->testAttribute(Qt::WA_QuitOnClose));

    const QSize client(382, 159); // 5730 x 2385 twips
    QCOMPARE(about->size(), client);
    QCOMPARE(about->minimumSize(), client);
    QCOMPARE(about->maximumSize(), client);
    about->resize(600, 400);
    QCOMPARE(about->size(), client);
}

void TestAuxWindows::aboutBox_fixedScreenPosition() {
    const QPoint screenCorner = QGuiApplication::primaryScreen()->geometry().topLeft();
    const QPoint expected = screenCorner + QPoint(156, 129); // 2340, 1935 twips

    showAboutBox();
    QPointer<frmAbout> about = theOpenWindow<frmAbout>();
    QVERIFY(about);
    QVERIFY(QTest::qWaitForWindowExposed(about));
    QCOMPARE(about->geometry().topLeft(), expected);

    // Moved by the user, closed and shown again: back at its place.
    about->move(expected + QPoint(200, 100));
    QTRY_VERIFY(about->geometry().topLeft() != expected);
    QVERIFY(about->close());
    QTRY_VERIFY(about.isNull());
    showAboutBox();
    about = theOpenWindow<frmAbout>();
    QVERIFY(about);
    QVERIFY(QTest::qWaitForWindowExposed(about));
    QCOMPARE(about->geometry().topLeft(), expected);
}

void TestAuxWindows::showAboutBox_again_keepsOneWindow() {
    showAboutBox();
    QPointer<frmAbout> first = theOpenWindow<frmAbout>();
    QVERIFY(first);
    showAboutBox();
    QCOMPARE(openWindows<frmAbout>().size(), 1);
    QCOMPARE(theOpenWindow<frmAbout>(), first.data());

    QVERIFY(first->close());
    QTRY_VERIFY(first.isNull());
    showAboutBox();
    QCOMPARE(openWindows<frmAbout>().size(), 1);
    QVERIFY(theOpenWindow<frmAbout>()->isVisible());
}

void TestAuxWindows::closeAuxWindows_destroysBoth() {
    showHelpWindow();
    showAboutBox();
    QPointer<Form2> help = theOpenWindow<Form2>();
    QPointer<frmAbout> about = theOpenWindow<frmAbout>();
    QVERIFY(help);
    QVERIFY(about);

    closeAuxWindows();
    // Gone at once, not on a later event-loop pass.
    QVERIFY(help.isNull());
    QVERIFY(about.isNull());

    // And they can be opened afresh afterwards.
    showHelpWindow();
    showAboutBox();
    QVERIFY(theOpenWindow<Form2>());
    QVERIFY(theOpenWindow<frmAbout>());
}

void TestAuxWindows::escape_closesTheWindow_data() {
    QTest::addColumn<bool>("help");
    QTest::newRow("About box") << false;
    QTest::newRow("help window, from its text box") << true;
}

void TestAuxWindows::escape_closesTheWindow() {
    QFETCH(bool, help);
    help ? showHelpWindow() : showAboutBox();
    QPointer<QWidget> window = help ? static_cast<QWidget*>(theOpenWindow<Form2>())
                                    : static_cast<QWidget*>(theOpenWindow<frmAbout>());
    QVERIFY(window);
    // Keys go where the keyboard focus is: the text box in the help window.
    QWidget* target = help ? static_cast<QWidget*>(textBox(window)) : window.data();
    if (help) {
        // Closing by Escape leaves the notes editable: other keys still type.
        const QString before = helpText(window);
        QTest::keyClick(target, Qt::Key_X);
        QCOMPARE(helpText(window), before + QLatin1Char('x'));
    }
    QTest::keyClick(target, Qt::Key_Escape);
    QVERIFY(!window->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!window);
}

void TestAuxWindows::screenReadersFindWindowsAndTheirContents_data() {
    QTest::addColumn<bool>("help");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");
    QTest::newRow("help window's notes")
        << true << "txt1" << int(QAccessible::EditableText) << "Usage notes";
    QTest::newRow("About box's logo")
        << false << "picIcon" << int(QAccessible::Graphic) << "Kestrelon logo";
    QTest::newRow("About box's title")
        << false << "lblTitle" << int(QAccessible::StaticText) << "Kestrelon";
    QTest::newRow("About box's version")
        << false << "lblVersion" << int(QAccessible::StaticText) << "Version 1.0.0";
}

void TestAuxWindows::screenReadersFindWindowsAndTheirContents() {
    QFETCH(bool, help);
    QFETCH(QString, control);
    QFETCH(int, role);
    QFETCH(QString, name);
    QWidget* window = nullptr;
    if (help) {
        showHelpWindow();
        window = theOpenWindow<Form2>();
    } else {
        showAboutBox();
        window = theOpenWindow<frmAbout>();
    }
    QVERIFY(window);
    QAccessibleInterface* w = QAccessible::queryAccessibleInterface(window);
    QCOMPARE(w->role(), help ? QAccessible::Window : QAccessible::Dialog);
    // The help window's caption stays "Form2"; it is announced by what it is.
    QCOMPARE(w->text(QAccessible::Name),
             help ? QStringLiteral("Kestrelon help") : QStringLiteral("About Kestrelon"));
    QCOMPARE(window->windowTitle(),
             help ? QStringLiteral("Form2") : QStringLiteral("About Kestrelon"));
    // The control is found among the window's children, as a screen reader walks them.
    QAccessibleInterface* found = nullptr;
    for (int i = 0; i < w->childCount() && !found; ++i)
        if (w->child(i)->object()->objectName() == control)
            found = w->child(i);
    QVERIFY(found);
    QCOMPARE(int(found->role()), role);
    QCOMPARE(found->text(QAccessible::Name), name);
}

QTEST_MAIN(TestAuxWindows)
#include "tst_auxwindows.moc"
