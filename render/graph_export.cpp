// SPDX-License-Identifier: MIT
// Writes graphs as PNG and SVG.
#include "render/graph_export.h"

#include <QIODevice>
#include <QPainter>
#include <QSvgGenerator>

namespace render {

PictureFormat pictureFormatOf(const QString& fileName)
{
    if (fileName.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return PictureFormat::Png;
    if (fileName.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        return PictureFormat::Svg;
    return PictureFormat::Unknown;
}

QImage graphImage(QSize size, const GraphScene& scene, GraphTab tab, const GraphStyle& style,
                  qreal devicePixelRatio)
{
    QImage image(size * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&image);
    paintGraph(painter, size, scene, tab, style);
    painter.end();
    return image;
}

bool writeGraph(QIODevice& device, PictureFormat format, QSize size, const GraphScene& scene, GraphTab tab,
                const GraphStyle& style, const QString& title)
{
    switch (format) {
    case PictureFormat::Png:
        return graphImage(size, scene, tab, style).save(&device, "PNG");
    case PictureFormat::Svg: {
        QSvgGenerator generator;
        generator.setOutputDevice(&device);
        // The resolution of a screen, so that the labels have the size they have on it and in the PNG.
        generator.setResolution(96);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setTitle(title);
        QPainter painter;
        if (!painter.begin(&generator))
            return false;
        paintGraph(painter, size, scene, tab, style);
        return painter.end() && device.isOpen();
    }
    case PictureFormat::Unknown:
        break;
    }
    return false;
}

} // namespace render
