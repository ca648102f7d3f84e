#pragma once

#include <QString>
#include <QWidget>

class QPlainTextEdit;

// The help window: fixed usage notes in an editable, unwrapped text box. Constructing it loads
// it (Form_Load fills the text); closing it destroys it, so edits never outlive the window.
class Form2 : public QWidget {
    Q_OBJECT
    // The box's current text with "\r\n" line breaks, as Form_Load writes them.
    Q_PROPERTY(QString text READ text)

public:
    explicit Form2(QWidget* parent = nullptr);

    QString text() const;

protected:
    // Escape closes the window, as it does a dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();

    QPlainTextEdit* txt1;
};
