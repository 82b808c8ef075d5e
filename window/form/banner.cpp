#include "window/form/banner.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace vinkring {

namespace {

void drawFish(QPainter& p, QPointF at, qreal size, const QColor& body, const QColor& fin)
{
    p.save();
    p.translate(at);
    p.scale(size / 100.0, size / 100.0);
    QPainterPath tail;
    tail.moveTo(-38, 0);
    tail.lineTo(-62, -18);
    tail.quadTo(-55, 0, -62, 18);
    tail.closeSubpath();
    p.setBrush(fin);
    p.setPen(Qt::NoPen);
    p.drawPath(tail);

    QPainterPath fish;
    fish.moveTo(42, 0);
    fish.cubicTo(30, -26, -20, -30, -42, 0);
    fish.cubicTo(-20, 30, 30, 26, 42, 0);
    QLinearGradient shade(0, -26, 0, 26);
    shade.setColorAt(0, body.lighter(135));
    shade.setColorAt(1, body.darker(125));
    p.setBrush(shade);
    p.drawPath(fish);

    // Stripes, as on a zebra danio.
    p.setPen(QPen(QColor(30, 50, 110, 170), 3.2, Qt::SolidLine, Qt::RoundCap));
    for (int i = -1; i <= 1; ++i)
        p.drawLine(QPointF(-30, i * 7.0), QPointF(30, i * 7.0));

    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(26, -5), 5, 5);
    p.setBrush(QColor(20, 20, 30));
    p.drawEllipse(QPointF(27, -5), 2.5, 2.5);
    p.restore();
}

}  // namespace

QPixmap makeBanner(qreal devicePixelRatio, qreal scale)
{
    const QSize size(625, 90);
    QPixmap pixmap((QSizeF(size) * scale * devicePixelRatio).toSize());
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);  // the rounded-up edge pixels
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);

    QLinearGradient water(0, 0, 0, size.height());
    water.setColorAt(0, QColor(64, 160, 205));
    water.setColorAt(1, QColor(14, 68, 120));
    p.fillRect(QRect(QPoint(0, 0), size), water);

    // Plants along the bottom.
    p.setPen(QPen(QColor(60, 150, 80), 3, Qt::SolidLine, Qt::RoundCap));
    for (int x = 12; x < size.width(); x += 37) {
        QPainterPath leaf;
        leaf.moveTo(x, size.height());
        leaf.cubicTo(x - 8, 70, x + 10, 62, x + 2, 48 + (x % 3) * 5);
        p.drawPath(leaf);
    }
    p.fillRect(QRect(0, size.height() - 6, size.width(), 6), QColor(194, 170, 120));

    // Bubbles.
    p.setPen(QPen(QColor(255, 255, 255, 150), 1.2));
    p.setBrush(QColor(255, 255, 255, 40));
    const QPointF bubbles[] = {{540, 20}, {548, 36}, {536, 50}, {95, 18}, {104, 33}, {300, 12}};
    qreal r = 3;
    for (const QPointF& b : bubbles) {
        p.drawEllipse(b, r, r);
        r = r > 5 ? 3 : r + 1;
    }

    drawFish(p, QPointF(560, 58), 62, QColor(240, 190, 60), QColor(230, 140, 40));
    drawFish(p, QPointF(470, 30), 40, QColor(220, 220, 235), QColor(180, 190, 210));

    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(34);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(QPointF(22, 48), QStringLiteral("Vinkring"));
    p.setPen(Qt::white);
    p.drawText(QPointF(20, 46), QStringLiteral("Vinkring"));

    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(16);
    p.setFont(subtitle);
    p.setPen(QColor(225, 240, 250));
    p.drawText(QPointF(22, 72), QStringLiteral("Artikel Template \u2013 een vis beschrijven, stap voor stap"));
    return pixmap;
}

}  // namespace vinkring
