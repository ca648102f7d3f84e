#include "frmabout.h"

#include "accessibleobjects.h"
#include "classicpalette.h"
#include "conversions.h"
#include "uimetrics.h"
#include "version.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

// Outside any namespace: Q_INIT_RESOURCE declares the resource's global init function.
static void initAuxWindowsResources() {
    Q_INIT_RESOURCE(auxwindows);
}

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QRect& geometry, bool black) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (black) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
    }
    return label;
}

} // namespace

// A tool window has no taskbar entry: a utility window on X11, a tool window on Windows.
// Customized hints leave out the minimize and maximize buttons.
frmAbout::frmAbout(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    initAuxWindowsResources();

    setObjectName(QStringLiteral("frmAbout"));
    kestrelon::ui::keepClassicColours(this);
    // Tool windows do not keep the program alive by default; this one must, like the help window.
    setAttribute(Qt::WA_QuitOnClose, true);
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(kestrelon::designFont(8.25, false));
    kestrelon::ui::setAccessibleRole(this, QAccessible::Dialog);

    // The client area's corner is fixed relative to the primary screen.
    QPoint screenCorner;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        screenCorner = screen->geometry().topLeft();
    const QRect client = kestrelon::twipsRect(2340, 1935, 5730, 2385);
    setGeometry(client.translated(screenCorner));
    setFixedSize(client.size());

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    // 45 x 31 picture plus a 2-pixel sunken border on each side.
    picIcon->setGeometry(kestrelon::twipsRect(210, 210, 735, 525));
    picIcon->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picIcon->setLineWidth(2);
    picIcon->setAlignment(Qt::AlignCenter);
    picIcon->setPixmap(QPixmap(QStringLiteral(":/auxwindows/logo.png")));
    picIcon->setAccessibleName(QString::fromLatin1(kestrelon::kAppTitle) + QStringLiteral(" logo"));

    lblTitle = makeLabel(this, "lblTitle", kestrelon::twipsRect(1050, 240, 3885, 480), true);
    lblVersion = makeLabel(this, "lblVersion", kestrelon::twipsRect(1050, 780, 3885, 225), false);
    lblDescription =
        makeLabel(this, "lblDescription", kestrelon::twipsRect(1050, 1110, 3885, 1170), true);
    lblDescription->setWordWrap(true);
    lblDescription->setText(
        QStringLiteral("Kestrelon V3.0 Calculator\n\nThis program needs its runtime files to run; "
                       "they are free to download from the web."));

    Form_Load();
}

void frmAbout::Form_Load() {
    const QString title = QString::fromLatin1(kestrelon::kAppTitle);
    setWindowTitle(QStringLiteral("About ") + title);
    lblVersion->setText(QStringLiteral("Version ") +
                        kestrelon::integerToText(kestrelon::kVersionMajor) + QLatin1Char('.') +
                        kestrelon::integerToText(kestrelon::kVersionMinor) + QLatin1Char('.') +
                        kestrelon::integerToText(kestrelon::kVersionRevision));
    lblTitle->setText(title);
}

void frmAbout::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel))
        close();
    else
        QWidget::keyPressEvent(event);
}
