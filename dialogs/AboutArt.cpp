// The about dialog's pictures, drawn in code.
#include "dialogs/AboutArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace tavorin {

namespace {

void drawLandscape(QPainter& p, const QRectF& area) {
    QLinearGradient sky(area.topLeft(), area.bottomLeft());
    sky.setColorAt(0.0, QColor(28, 64, 140));
    sky.setColorAt(0.6, QColor(240, 150, 90));
    sky.setColorAt(1.0, QColor(250, 210, 140));
    p.fillRect(area, sky);

    const double w = area.width();
    const double h = area.height();
    QRadialGradient sun(area.left() + w * 0.68, area.top() + h * 0.55, w * 0.16);
    sun.setColorAt(0.0, QColor(255, 245, 200));
    sun.setColorAt(1.0, QColor(255, 200, 120, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sun);
    p.drawEllipse(QPointF(area.left() + w * 0.68, area.top() + h * 0.55), w * 0.16, w * 0.16);

    QPainterPath far;
    far.moveTo(area.left(), area.top() + h * 0.70);
    far.lineTo(area.left() + w * 0.25, area.top() + h * 0.45);
    far.lineTo(area.left() + w * 0.45, area.top() + h * 0.62);
    far.lineTo(area.left() + w * 0.62, area.top() + h * 0.40);
    far.lineTo(area.right(), area.top() + h * 0.66);
    far.lineTo(area.bottomRight());
    far.lineTo(area.bottomLeft());
    far.closeSubpath();
    p.setBrush(QColor(70, 60, 110));
    p.drawPath(far);

    QPainterPath near;
    near.moveTo(area.left(), area.top() + h * 0.85);
    near.cubicTo(area.left() + w * 0.3, area.top() + h * 0.70, area.left() + w * 0.6,
                 area.top() + h * 0.92, area.right(), area.top() + h * 0.78);
    near.lineTo(area.bottomRight());
    near.lineTo(area.bottomLeft());
    near.closeSubpath();
    p.setBrush(QColor(30, 40, 60));
    p.drawPath(near);
}

} // namespace

QPixmap AboutPicture(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    // The screen.
    const QRectF bezel(s * 0.06, s * 0.10, s * 0.88, s * 0.62);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(45, 45, 52));
    p.drawRoundedRect(bezel, s * 0.05, s * 0.05);
    const QRectF glass = bezel.adjusted(s * 0.05, s * 0.05, -s * 0.05, -s * 0.05);
    p.save();
    p.setClipRect(glass);
    drawLandscape(p, glass);
    p.restore();
    // The stand.
    p.setBrush(QColor(45, 45, 52));
    p.drawRect(QRectF(s * 0.44, s * 0.72, s * 0.12, s * 0.12));
    p.drawRoundedRect(QRectF(s * 0.28, s * 0.84, s * 0.44, s * 0.06), s * 0.03, s * 0.03);
    return pixmap;
}

QPixmap AboutEmblem(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area(1, 1, size - 2, size - 2);
    QPainterPath circle;
    circle.addEllipse(area);
    p.setClipPath(circle);
    drawLandscape(p, area);
    p.setClipping(false);
    p.setPen(QPen(QColor(45, 45, 52), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(area);
    return pixmap;
}

} // namespace tavorin
