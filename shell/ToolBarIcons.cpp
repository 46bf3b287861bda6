#include "shell/ToolBarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace keel {

QIcon tileIcon(const QString& legend, const QColor& tile) {
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF area(0.5, 0.5, size - 1.0, size - 1.0);
        painter.setPen(QPen(tile.darker(140), 1.0));
        painter.setBrush(tile);
        painter.drawRoundedRect(area, size / 5.0, size / 5.0);
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(legend.size() > 1 ? size * 9 / 20 : size * 3 / 5);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(area, Qt::AlignCenter, legend);
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(20, 60, 110));
        painter.drawEllipse(QRectF(0.5, 0.5, size - 1.0, size - 1.0));
        // A keel and a wave line across the disc.
        QPainterPath hull;
        hull.moveTo(size * 0.2, size * 0.45);
        hull.lineTo(size * 0.8, size * 0.45);
        hull.lineTo(size * 0.62, size * 0.68);
        hull.lineTo(size * 0.38, size * 0.68);
        hull.closeSubpath();
        painter.setBrush(QColor(235, 240, 245));
        painter.drawPath(hull);
        painter.setPen(QPen(QColor(120, 190, 230), size / 16.0));
        painter.drawLine(QPointF(size * 0.15, size * 0.76), QPointF(size * 0.85, size * 0.76));
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace keel
