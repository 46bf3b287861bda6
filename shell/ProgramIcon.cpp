// SPDX-License-Identifier: MIT
#include "shell/ProgramIcon.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <array>

namespace keel {
namespace {

// The shapes, in units of the icon's width, the origin at its top left.
struct Point {
    double x;
    double y;
};

constexpr double discRadius = 0.49;
constexpr std::array<Point, 4> hull{{{0.2, 0.45}, {0.8, 0.45}, {0.62, 0.68}, {0.38, 0.68}}};
constexpr Point waveStart{0.15, 0.76};
constexpr Point waveEnd{0.85, 0.76};
constexpr double waveWidth = 1.0 / 16;

const QColor discColour(20, 60, 110);
const QColor hullColour(235, 240, 245);
const QColor waveColour(120, 190, 230);

QString svgNumber(double value) { return QString::number(value * 256, 'g', 6); }

} // namespace

QImage programIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size, size);
    painter.setPen(Qt::NoPen);
    painter.setBrush(discColour);
    painter.drawEllipse(QPointF(0.5, 0.5), discRadius, discRadius);
    QPainterPath path;
    path.moveTo(hull[0].x, hull[0].y);
    for (std::size_t i = 1; i < hull.size(); ++i) {
        path.lineTo(hull[i].x, hull[i].y);
    }
    path.closeSubpath();
    painter.setBrush(hullColour);
    painter.drawPath(path);
    QPen wave(waveColour, waveWidth);
    wave.setCapStyle(Qt::SquareCap);
    painter.setPen(wave);
    painter.drawLine(QPointF(waveStart.x, waveStart.y), QPointF(waveEnd.x, waveEnd.y));
    painter.end();
    return image;
}

QString programIconSvg() {
    QString points;
    for (const Point& point : hull) {
        points += (points.isEmpty() ? "" : " ") + svgNumber(point.x) + ',' + svgNumber(point.y);
    }
    return QString("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                   "viewBox=\"0 0 256 256\">\n"
                   "  <circle cx=\"%1\" cy=\"%1\" r=\"%2\" fill=\"%3\"/>\n"
                   "  <polygon points=\"%4\" fill=\"%5\"/>\n"
                   "  <line x1=\"%6\" y1=\"%7\" x2=\"%8\" y2=\"%9\" stroke=\"%10\" "
                   "stroke-width=\"%11\" stroke-linecap=\"square\"/>\n"
                   "</svg>\n")
        .arg(svgNumber(0.5), svgNumber(discRadius), discColour.name(), points, hullColour.name(),
             svgNumber(waveStart.x), svgNumber(waveStart.y), svgNumber(waveEnd.x), svgNumber(waveEnd.y))
        .arg(waveColour.name(), svgNumber(waveWidth));
}

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128}) {
        icon.addPixmap(QPixmap::fromImage(programIconImage(size)));
    }
    return icon;
}

} // namespace keel
