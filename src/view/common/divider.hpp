#pragma once

#include <QColor>
#include <QWidget>

// A horizontal line across the panel, one unit thick.
class LiveTranslationDivider final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationDivider)

public:
    static constexpr int kThickness = 1;

    explicit LiveTranslationDivider(QWidget *parent = nullptr);

    void setColor(const QColor &color);
    QColor color() const { return m_color; }

    QSize sizeHint() const override { return {kThickness, kThickness}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color;
};
