// SPDX-License-Identifier: MIT
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

} // namespace keel
