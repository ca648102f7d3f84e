#include "widgetimage.h"

#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QImageWriter>
#include <QMessageBox>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QWidget>

namespace kestrelon {

namespace {

bool writeSvg(QWidget* client, QSaveFile& file) {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(client->size());
    svg.setViewBox(client->rect());
    svg.setTitle(client->window()->windowTitle());
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    client->render(&painter);
    return painter.end();
}

bool writePng(QWidget* client, QSaveFile& file, QString& why) {
    const qreal scale = client->devicePixelRatioF() * 2;
    QImage image(client->size() * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    client->render(&image);
    QImageWriter writer(&file, "png");
    if (writer.write(image))
        return true;
    why = writer.errorString();
    return false;
}

} // namespace

QString saveWidgetImage(QWidget* client, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    QString why;
    const bool svg = path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive);
    const bool drawn = svg ? writeSvg(client, file) : writePng(client, file, why);
    if (!drawn) {
        file.cancelWriting();
        return why.isEmpty() ? file.errorString() : why;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

QFileDialog* imageSaveDialog(QWidget* parent, const QString& objectName, const QString& title,
                             const QString& fileName) {
    auto* dialog = new QFileDialog(parent, title);
    dialog->setObjectName(objectName);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setNameFilters(
        {QStringLiteral("PNG image (*.png)"), QStringLiteral("SVG drawing (*.svg)")});
    dialog->setDefaultSuffix(QStringLiteral("png"));
    dialog->selectFile(fileName);
    // The filter chosen sets the suffix a bare name gets.
    QObject::connect(dialog, &QFileDialog::filterSelected, dialog, [dialog](const QString& filter) {
        dialog->setDefaultSuffix(filter.contains(QLatin1String("svg")) ? QStringLiteral("svg")
                                                                       : QStringLiteral("png"));
    });
    return dialog;
}

void tellImageNotSaved(QWidget* parent, const QString& objectName, const QString& what,
                       const QString& path, const QString& why) {
    auto* box = new QMessageBox(
        QMessageBox::Warning, QStringLiteral("Kestrelon"),
        QStringLiteral("%1 was not saved to %2: %3").arg(what, QDir::toNativeSeparators(path), why),
        QMessageBox::Ok, parent);
    box->setObjectName(objectName);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace kestrelon
