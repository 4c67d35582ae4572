#include "indicator_shape.h"

#include <QPainter>

IndicatorShape::IndicatorShape(QWidget* parent) : QWidget(parent) {}

void IndicatorShape::setFillColor(quint32 bgr) {
    m_fillColor = bgr;
    update();
}

void IndicatorShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor fill(m_fillColor & 0xFF, (m_fillColor >> 8) & 0xFF, (m_fillColor >> 16) & 0xFF);
    painter.fillRect(rect(), fill);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
