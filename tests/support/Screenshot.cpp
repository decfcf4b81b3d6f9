#include "Screenshot.h"

#include <QPainter>
#include <QPixmap>
#include <QWidget>

QImage WithCaption(QWidget& dialog) {
    const QPixmap body = dialog.grab();
    const int caption = dialog.fontMetrics().height() + 10;
    QImage shot(body.width(), body.height() + caption, QImage::Format_RGB32);
    shot.fill(QColor(0xd9, 0xde, 0xe6));
    QPainter painter(&shot);
    painter.setFont(dialog.font());
    painter.setPen(Qt::black);
    painter.drawText(QRect(8, 0, body.width() - 16, caption), Qt::AlignLeft | Qt::AlignVCenter,
                     dialog.windowTitle());
    painter.drawPixmap(0, caption, body);
    return shot;
}
