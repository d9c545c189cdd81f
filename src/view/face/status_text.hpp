#pragma once

#include <QColor>
#include <QWidget>

// The host's status message on one line, as plain text, elided when the bar is narrow.
class LiveTranslationStatusText final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationStatusText)

public:
    static constexpr int kFontPixelSize = 11;

    explicit LiveTranslationStatusText(QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const { return m_text; }
    void setColor(const QColor &color);
    QColor color() const { return m_color; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateToolTip();

    QString m_text;
    QString m_line; // as shown: one line, no longer than the widest header could show
    QColor m_color;
};
