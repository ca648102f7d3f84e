#include "auxwindows.h"

#include "form2.h"
#include "frmabout.h"

#include <QPointer>

namespace {

// Null again as soon as the user's close has destroyed the window.
QPointer<Form2> helpWindow;
QPointer<frmAbout> aboutBox;

void bringToFront(QWidget* window) {
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

template <typename Window> void closeAndDestroy(QPointer<Window>& window) {
    if (window) {
        window->close();
        // Destroy now rather than on the next event-loop pass: the program may be ending.
        delete window.data();
    }
}

} // namespace

void showHelpWindow() {
    if (!helpWindow)
        helpWindow = new Form2;
    bringToFront(helpWindow);
}

void showAboutBox() {
    if (!aboutBox)
        aboutBox = new frmAbout;
    bringToFront(aboutBox);
}

void closeAuxWindows() {
    closeAndDestroy(helpWindow);
    closeAndDestroy(aboutBox);
}
