#include "platform/qt/ImageConvert.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace velinor::platform::qt {

QImage ToQImage(const render::RasterImage& image) {
    if (!render::ValidImageSize(image.width, image.height)) return {};
    const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
    if (image.pixels.size() < count) return {};
    const bool icon = image.IsIcon() && image.mask.size() >= count;

    QImage out(image.width, image.height, icon ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (out.isNull()) return {};
    for (int y = 0; y < image.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        const std::size_t row = static_cast<std::size_t>(y) * image.width;
        for (int x = 0; x < image.width; ++x) {
            const render::Color c = image.pixels[row + x];
            const int alpha = icon ? (image.mask[row + x] != 0 ? 255 : 0) : 255;
            line[x] = qRgba(render::RedOf(c), render::GreenOf(c), render::BlueOf(c), alpha);
        }
    }
    return out;
}

QColor ToQColor(render::Color colour) {
    return QColor(render::RedOf(colour), render::GreenOf(colour), render::BlueOf(colour));
}

render::Color FromQColor(const QColor& colour) {
    return render::MakeColor(colour.red(), colour.green(), colour.blue());
}

QCursor PipetteCursor() {
    // 32 x 32 with the tip at (2, 29): a slanted glass tube with a dark bulb at the top right.
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(16, 16);
    painter.rotate(45);
    // Tube, drawn upright in the rotated frame (the tip points down-left on the screen).
    QPainterPath tube;
    tube.moveTo(-3, -6);
    tube.lineTo(3, -6);
    tube.lineTo(3, 12);
    tube.lineTo(0, 19);
    tube.lineTo(-3, 12);
    tube.closeSubpath();
    painter.setPen(QPen(Qt::black, 1.5));
    painter.setBrush(QColor(235, 245, 255));
    painter.drawPath(tube);
    // Collar and bulb.
    painter.setBrush(QColor(60, 60, 60));
    painter.drawRect(QRectF(-5, -9, 10, 3));
    painter.drawRoundedRect(QRectF(-4, -18, 8, 9), 3, 3);
    painter.end();
    return QCursor(pixmap, 2, 29);
}

}  // namespace velinor::platform::qt
