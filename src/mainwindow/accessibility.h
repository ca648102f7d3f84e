#pragma once

#include <QHash>
#include <QString>

class QObject;

namespace kestrelon {

// Makes the main window readable through a screen reader: the inputs' names, what a slider's
// value means, each read-out as what it is and what it shows, and every LED's state.
void makeAccessible(const QHash<QString, QObject*>& controls);

} // namespace kestrelon
