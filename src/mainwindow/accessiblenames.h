#pragma once

#include <QHash>
#include <QString>

class QObject;

namespace kestrelon {

// What a screen reader calls a thing of one chip: "Chip 1 LED supply voltage".
QString chipName(int chip, const QString& what);

// Gives every input of the main window a name a screen reader can speak,
// e.g. "Chip 1 LED supply voltage".
void setAccessibleNames(const QHash<QString, QObject*>& controls);

} // namespace kestrelon
