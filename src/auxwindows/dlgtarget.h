#pragma once

#include "targetsolver.h"

#include <QDialog>

#include <functional>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace kestrelon {

// Asks for a wanted reference and LED current and shows the slider positions that come closest,
// on a real chip (the default) or in the window's figures, with what both the window and a real
// chip then give and the standard parts. Every edit solves again;
// OK hands the positions on through chosen(), Cancel changes nothing.
class dlgTarget : public QDialog {
    Q_OBJECT

public:
    // Solves for the chip's inputs as they stand when it is called.
    using Solve =
        std::function<TargetSolution(QStringView volts, QStringView milliamps, TargetModel model)>;

    dlgTarget(int chip, const TargetPrefill& prefill, Solve solve, QWidget* parent = nullptr);

    const TargetSolution& solution() const { return m_solution; }

signals:
    // The positions for the chip's hsR1 and vsR2, sent when the user accepts a usable design.
    void chosen(int hsR1, int vsR2);

public slots:
    void accept() override;

private:
    void solveAgain();

    Solve m_solve;
    TargetSolution m_solution;
    QLineEdit* m_volts = nullptr;
    QLineEdit* m_milliamps = nullptr;
    QRadioButton* m_real = nullptr; // match what a real chip does; else what the window shows
    QLabel* m_answer = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

} // namespace kestrelon
