#pragma once

#include <QString>

class QWidget;

namespace kestrelon {

// Writes what the widget shows now as an image: SVG when the path ends in ".svg", otherwise PNG
// at twice the screen's scale. The file is replaced whole or not at all. Returns why it could
// not be written, or an empty text when it was.
QString saveSchematicImage(QWidget* client, const QString& path);

} // namespace kestrelon
