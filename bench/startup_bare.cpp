// The baseline: a bare Qt window of the main window's size with as many labels (112), shown and
// painted once.
#include "firstpaint.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
    constexpr int kLabels = 112;
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(571, 682);
    for (int i = 0; i < kLabels; ++i) {
        auto* label = new QLabel(QStringLiteral("%1v").arg(i), &window);
        label->setGeometry(5 + (i % 8) * 70, 5 + (i / 8) * 48, 64, 18);
    }
    new QuitAfterFirstPaint(&window);
    window.show();
    return QApplication::exec();
}
