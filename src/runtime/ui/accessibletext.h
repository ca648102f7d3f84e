#pragma once

#include <QString>

class QWidget;

// A control's accessible description is made of two parts with different owners: what its
// current value means ("3.50 kΩ" for R1 at 700) and the design assistant's hint about it. Each
// owner sets its own part; the description is always both, the meaning first.
namespace kestrelon::ui {

void setAccessibleMeaning(QWidget* widget, const QString& meaning);
void setAccessibleHint(QWidget* widget, const QString& hint);

} // namespace kestrelon::ui
