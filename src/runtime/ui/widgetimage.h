#pragma once

#include <QString>

class QFileDialog;
class QWidget;

namespace kestrelon {

// Writes what the widget shows now as an image: SVG when the path ends in ".svg", otherwise PNG
// at twice the screen's scale. The file is replaced whole or not at all. Returns why it could
// not be written, or an empty text when it was.
QString saveWidgetImage(QWidget* client, const QString& path);

// A save dialog for such an image, PNG or SVG, whose bare names take the suffix of the filter
// chosen; it deletes itself when closed. Its fileSelected signal gives the path.
QFileDialog* imageSaveDialog(QWidget* parent, const QString& objectName, const QString& title,
                             const QString& fileName);

// Tells the user plainly that what (capitalised, "The schematic") was not saved to path.
void tellImageNotSaved(QWidget* parent, const QString& objectName, const QString& what,
                       const QString& path, const QString& why);

} // namespace kestrelon
