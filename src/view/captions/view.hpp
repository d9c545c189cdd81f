#pragma once

#include <QWidget>

#include "common/palette.hpp"
#include "wire_types.hpp"

class LiveTranslationActiveCard;
class LiveTranslationCaptionList;
class LiveTranslationDivider;

// The captions column: the list of committed cards (or the empty state) and, below a divider,
// the caption still being built, shown during a session or while the host sends live text.
class LiveTranslationCaptionsView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationCaptionsView)

public:
    explicit LiveTranslationCaptionsView(QWidget *parent = nullptr);

    void render(
        const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette);
    // Scroll to the newest card at once instead of easing there.
    void setReduceMotion(bool reduceMotion);

    LiveTranslationCaptionList *list() const { return m_list; }
    LiveTranslationActiveCard *activeCard() const { return m_activeCard; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    LiveTranslationCaptionList *m_list;
    LiveTranslationDivider *m_divider;
    QWidget *m_activeSection;
    LiveTranslationActiveCard *m_activeCard;
};
