#pragma once

#include <QHash>
#include <QString>

class QObject;

namespace kestrelon {

class ChipModel;

// Makes the main window readable through a screen reader: the inputs' names, what a slider's
// value means, each read-out as what it is and what it shows, and every LED's state as the
// model's last result has it.
void makeAccessible(const QHash<QString, QObject*>& controls, const ChipModel& model);

} // namespace kestrelon
