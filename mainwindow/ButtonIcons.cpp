// The main window's picture buttons, drawn in code.
#include "mainwindow/ButtonIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tavorin {

namespace {

constexpr int kSide = 18;

void drawSearch(QPainter& p) {
    p.setPen(QPen(QColor(40, 40, 120), 2.2));
    p.setBrush(QColor(200, 230, 255));
    p.drawEllipse(QRectF(2, 2, 10, 10));
    p.setPen(QPen(QColor(90, 60, 20), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11.5, 11.5), QPointF(16, 16));
}

void drawAdd(QPainter& p) {
    // A picture frame with a green plus.
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(250, 250, 235));
    p.drawRect(QRectF(1.5, 3.5, 11, 9));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 160, 220));
    p.drawPolygon(QPolygonF({QPointF(2.5, 11.5), QPointF(6, 7), QPointF(9, 10), QPointF(11.5, 8),
                             QPointF(11.5, 11.5)}));
    p.setPen(QPen(QColor(20, 140, 40), 3, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(13.5, 9), QPointF(13.5, 17));
    p.drawLine(QPointF(9.5, 13), QPointF(17.5, 13));
}

void drawDelete(QPainter& p) {
    p.setPen(QPen(QColor(200, 30, 30), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 4), QPointF(14, 14));
    p.drawLine(QPointF(14, 4), QPointF(4, 14));
}

void drawArrow(QPainter& p, bool up) {
    QPolygonF arrow({QPointF(9, 2), QPointF(16, 9), QPointF(12, 9), QPointF(12, 16), QPointF(6, 16),
                     QPointF(6, 9), QPointF(2, 9)});
    if (!up) {
        for (QPointF& point : arrow)
            point.setY(kSide - point.y());
    }
    p.setPen(QPen(QColor(20, 70, 20), 1));
    p.setBrush(QColor(60, 170, 70));
    p.drawPolygon(arrow);
}

QPixmap drawPicture(ButtonPicture picture) {
    QPixmap pixmap(kSide, kSide);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (picture) {
    case ButtonPicture::Search:
        drawSearch(p);
        break;
    case ButtonPicture::Add:
        drawAdd(p);
        break;
    case ButtonPicture::Delete:
        drawDelete(p);
        break;
    case ButtonPicture::Up:
        drawArrow(p, true);
        break;
    case ButtonPicture::Down:
        drawArrow(p, false);
        break;
    }
    return pixmap;
}

} // namespace

QIcon ButtonIcon(ButtonPicture picture) {
    return QIcon(drawPicture(picture));
}

} // namespace tavorin
