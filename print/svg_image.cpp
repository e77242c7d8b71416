// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/svg_image.h"

#include <QBuffer>
#include <QByteArray>
#include <QPainter>
#include <QSvgRenderer>

#include "core/korvanet_error.h"

namespace korvanet {

QImage SvgImage(const std::string& svg, int width) {
    QSvgRenderer renderer(QByteArray::fromStdString(svg));
    const QSizeF size = renderer.defaultSize();
    if (!renderer.isValid() || size.isEmpty() || width <= 0) throw KorvanetError("图形无法绘制");
    const int height = static_cast<int>(width * size.height() / size.width() + 0.5);
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) throw KorvanetError("图形无法绘制: 内存不足");
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    renderer.render(&painter, QRectF(0, 0, width, height));
    painter.end();
    return image;
}

int SvgWidth(const std::string& svg) {
    const QSvgRenderer renderer(QByteArray::fromStdString(svg));
    return renderer.isValid() ? renderer.defaultSize().width() : 0;
}

std::string PngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        throw KorvanetError("无法生成 PNG 图像");
    return bytes.toStdString();
}

}  // namespace korvanet
