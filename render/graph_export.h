// SPDX-License-Identifier: MIT
// A graph as a picture file: PNG from an offscreen image, SVG through Qt SVG, chosen by the file name.
#pragma once

#include "render/graph_painter.h"

#include <QImage>
#include <QString>

class QIODevice;

namespace render {

enum class PictureFormat { Png, Svg, Unknown };

/// The format a file name asks for by its extension (".png", ".svg", in any case).
[[nodiscard]] PictureFormat pictureFormatOf(const QString& fileName);

/// The picture of tab in an image of size logical pixels at the given device pixel ratio.
[[nodiscard]] QImage graphImage(QSize size, const GraphScene& scene, GraphTab tab, const GraphStyle& style,
                                qreal devicePixelRatio = 1.0);

/// Writes the picture of tab, size pixels (PNG) or points (SVG, titled title), to device. False when
/// the format is Unknown or writing failed.
[[nodiscard]] bool writeGraph(QIODevice& device, PictureFormat format, QSize size, const GraphScene& scene,
                              GraphTab tab, const GraphStyle& style, const QString& title);

} // namespace render
