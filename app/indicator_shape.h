#pragma once

#include <QWidget>

// A box filled with one colour over its whole area, the colour given as 0x00BBGGRR.
class IndicatorShape : public QWidget {
    Q_OBJECT
  public:
    explicit IndicatorShape(QWidget* parent = nullptr);

    void setFillColor(quint32 bgr);
    quint32 fillColor() const { return m_fillColor; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    quint32 m_fillColor = 0;
};
