#pragma once

#include "chipdesign.h"

#include <QPointer>
#include <QWidget>

#include <array>

class QDialog;
class QLabel;
class QSpinBox;

namespace kestrelon {

// Below the drawing: a line per chip with its failed checks, each a link that opens the list of
// all the chip's checks, and the ambient temperature the checks assume.
class DesignStatus : public QWidget {
    Q_OBJECT

public:
    explicit DesignStatus(QWidget* parent = nullptr);

    void showDesign(const ChipDesign& d);

    double ambient() const;
    void setAmbient(double celsius);

signals:
    void ambientChanged(double celsius);

private:
    void showChecks(int chip);

    std::array<QLabel*, 2> m_lines{};
    std::array<QString, 2> m_lists; // every check, for the list a line opens
    std::array<QPointer<QDialog>, 2> m_open;
    QSpinBox* m_ambient = nullptr;
};

} // namespace kestrelon
