#pragma once

#include <QString>

class QWidget;

// A control's accessible description is made of parts with different owners: what its current
// value means ("R1 3.50 kΩ" for R1 at 700) and the design assistant's hint about it, both first,
// the meaning first; and, just after a change the user made, the news of what it did, which
// stands alone while it is fresh so that a screen reader tells it briefly.
namespace kestrelon::ui {

void setAccessibleMeaning(QWidget* widget, const QString& meaning);
void setAccessibleHint(QWidget* widget, const QString& hint);
// Empty news gives the control its meaning and hint back.
void setAccessibleNews(QWidget* widget, const QString& news);

} // namespace kestrelon::ui
