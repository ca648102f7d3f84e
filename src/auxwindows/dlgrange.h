#pragma once

#include "rangedesign.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace kestrelon {

class RangePlot;

// What the dialog starts with: the window's supplies, LED current, mode and chip kind, and the
// range its chip #1 shows now.
struct RangePrefill {
    QString lo;
    QString hi;
    QString milliamps;
    QString vplus;
    QString vled;
    double ledVf = 2;
    bool dot = false;
    bool twenty = false;
    ChipKind kind = ChipKind::LM3914;
};

// Asks for a measuring range and answers at once with the design: the input divider, each
// chip's parts, every LED's threshold in a table and a plot, the checks and the parts list, or
// why the range cannot be made and the nearest that can. OK hands a made design on through
// chosen(); "Copy" puts the whole answer on the clipboard; Cancel and Escape change nothing.
class dlgRange : public QDialog {
    Q_OBJECT

public:
    explicit dlgRange(const RangePrefill& prefill, QWidget* parent = nullptr);

    const RangeDesign& design() const { return m_design; }
    // The request as the boxes read now.
    RangeRequest request() const;

signals:
    void chosen(const kestrelon::RangeDesign& design);

public slots:
    void accept() override;

private:
    void createInputs(const RangePrefill& prefill);
    void createAnswer();
    void designAgain();
    void fillTable();
    void copyAnswer();
    void savePlot();

    RangeDesign m_design;
    QLineEdit* m_lo = nullptr;
    QLineEdit* m_hi = nullptr;
    QRadioButton* m_leds10 = nullptr;
    QRadioButton* m_leds20 = nullptr;
    QLineEdit* m_milliamps = nullptr;
    QLineEdit* m_vplus = nullptr;
    QLineEdit* m_vled = nullptr;
    QCheckBox* m_fromMeasured = nullptr;
    QRadioButton* m_bar = nullptr;
    QRadioButton* m_dot = nullptr;
    QComboBox* m_kind = nullptr;
    double m_ledVf = 2;
    QLabel* m_answer = nullptr;
    QTableWidget* m_table = nullptr;
    RangePlot* m_plot = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_save = nullptr;
};

} // namespace kestrelon

Q_DECLARE_METATYPE(kestrelon::RangeDesign)
