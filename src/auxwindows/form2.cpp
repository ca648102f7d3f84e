#include "form2.h"

#include "accessibleobjects.h"
#include "classicpalette.h"
#include "uimetrics.h"
#include "version.h"

#include <QKeyEvent>
#include <QPlainTextEdit>

#include <array>

namespace {

constexpr auto kLineBreak = "\r\n";

// The header piece gets two line breaks, every other piece one. Blanks, leading and trailing,
// are part of the text.
constexpr std::array<const char*, 30> kHelpPieces = {
    "              ********** Kestrelon V3.0 ************",
    "Download the LM3914 datasheet from the web. ",
    " ",
    "Checking the 'SLAVE to #1' [LM3914], the 2nd LM3914 will use the Vin setting from #1",
    " ",
    "The LM3914 module can used to determine the required resistor values for the ",
    "LED current and Vsense voltage. ",
    " ",
    "The Vhigh and Vlow voltages for the comparator divider chain can also be set",
    "Using the internal Vref or an external voltage",
    " ",
    "The colour of the LED can also be selected",
    " ",
    " ",
    "Due to variations in the LM3914 parameters I would suggest that the variable ",
    "resistor values as shown in the module, in an actual circuit be split into a",
    "fixed and variable resistor. ",
    "Example: if the R1 variable was shown as 1.25K, I would use a 1K fixed and a 500R variable. ",
    " ",
    "The Rlimiting resistor is required for Vled supply voltages over approx 7volts.",
    "The module will display a limiting resistor value [and Wattage rating] that will ",
    "set the LM3914 dissipation to approx 1Watt. ",
    " ",
    "When using over 7V for the Vled supply and using the Bar mode for the display a Rlimiter ",
    "should be connected in series Voltage source and the commoned LED anodes.",
    " ",
    "When using a Rlimiter resistor the LED end of the resistor should be decoupled to 0V ",
    "using a 10uF capacitor ",
    " ",
    "Settings for the modules paramters are saved at close and restored when the module is run. ",
};

} // namespace

Form2::Form2(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form2"));
    kestrelon::ui::keepClassicColours(this);
    setWindowTitle(QStringLiteral("Form2"));
    // The caption says nothing to a screen-reader user; the window is announced by what it is.
    setAccessibleName(QString::fromLatin1(kestrelon::kAppTitle) + QStringLiteral(" help"));
    kestrelon::ui::setAccessibleRole(this, QAccessible::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(kestrelon::twipsToPixels(9075), kestrelon::twipsToPixels(9015));

    // Placed absolutely and never laid out again: resizing the window leaves the box alone.
    txt1 = new QPlainTextEdit(this);
    txt1->setObjectName(QStringLiteral("txt1"));
    txt1->setGeometry(kestrelon::twipsRect(150, 210, 8775, 8535));
    txt1->setFont(kestrelon::designFont(9.75, false));
    txt1->setLineWrapMode(QPlainTextEdit::NoWrap);
    txt1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txt1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txt1->setFocus();
    txt1->setAccessibleName(QStringLiteral("Usage notes"));

    Form_Load();
}

QString Form2::text() const {
    // The document keeps lines as blocks; give them back with the line breaks they went in with.
    return txt1->toPlainText().replace(QLatin1Char('\n'), QLatin1String(kLineBreak));
}

void Form2::Form_Load() {
    bool header = true;
    for (const char* piece : kHelpPieces) {
        QString line = QString::fromLatin1(piece) + QLatin1String(kLineBreak);
        if (header)
            line += QLatin1String(kLineBreak);
        header = false;
        // Inserts at the insertion point, which then stands after the piece.
        txt1->insertPlainText(line);
    }
}

void Form2::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel))
        close();
    else
        QWidget::keyPressEvent(event);
}
