#include "schematicimage.h"

#include <QImage>
#include <QImageWriter>
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

QString saveSchematicImage(QWidget* client, const QString& path) {
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

} // namespace kestrelon
