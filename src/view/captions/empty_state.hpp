#pragma once

#include <QWidget>

#include "common/palette.hpp"

class QLabel;
class LiveTranslationSymbol;

// What the caption list shows before the first card: a symbol, a title that says whether a
// session listens, and a line on what will appear.
class LiveTranslationCaptionsEmptyState final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationCaptionsEmptyState)

public:
    explicit LiveTranslationCaptionsEmptyState(QWidget *parent = nullptr);

    void render(bool isSessionActive, const LiveTranslationPalette &palette);
    QString title() const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

private:
    LiveTranslationSymbol *m_symbol;
    QLabel *m_title;
    QLabel *m_body;
};
