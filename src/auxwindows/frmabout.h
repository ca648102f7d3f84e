#pragma once

#include <QWidget>

class QLabel;

// The About box: application title, build version, a fixed description and the logo. A fixed-size
// tool window at a fixed screen position; constructing it loads it (Form_Load sets the captions).
class frmAbout : public QWidget {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);

protected:
    // Escape closes the window, as it does a dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();

    QLabel* picIcon;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
};
