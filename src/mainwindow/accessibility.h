#pragma once

#include <QHash>
#include <QString>

class QObject;

namespace kestrelon {

class ChipModel;
class ResultNews;

// Makes the main window readable through a screen reader: the inputs' names, what a slider's
// value means, each read-out as what it is and what it shows, every LED's state and each chip's
// lit LEDs in one line. The window tells the returned object of every recalculation, so that a
// change is told to the control the user changed.
ResultNews* makeAccessible(const QHash<QString, QObject*>& controls, const ChipModel& model,
                           QObject* parent);

} // namespace kestrelon
