#pragma once

#include <QLabel>
#include <QString>
#include <QStringList>

// A host's notice drawn as plain text in the lines its row has room for, at most kMaxLines; when
// the text goes on, the last line drawn ends in an ellipsis and the whole text is the hover help
// and the accessible description. The accessible name is what is drawn. Only the start of the
// text that can show is ever laid out, so a notice of any length costs the same.
class LiveTranslationNoticeText final : public QLabel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationNoticeText)

public:
    static constexpr int kMaxLines = 4;
    // Hover help and description keep this many characters of a longer notice.
    static constexpr qsizetype kDescribedLength = 4096;

    explicit LiveTranslationNoticeText(QWidget *parent = nullptr);

    void setNotice(const QString &text);
    // The lines drawn at the current size, the last one elided when the notice goes on.
    QStringList shownLines() const { return m_shown; }
    bool isElided() const { return m_elided; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Layout {
        QStringList lines;
        QList<qreal> lineHeights;
        int height = 0;
        bool elided = false;
    };
    // The notice broken into lines of the width, as many as fit in maxHeight (at least one, at
    // most kMaxLines), the last one elided when text is left over.
    Layout layoutLines(int width, qreal maxHeight) const;
    void updateShown();

    mutable int m_hintWidth = -1;
    mutable int m_hintHeight = 0;
    QStringList m_shown;
    QList<qreal> m_lineHeights;
    bool m_elided = false;
};
