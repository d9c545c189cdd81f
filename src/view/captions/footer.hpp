#pragma once

#include <QWidget>

#include "common/palette.hpp"
#include "wire_types.hpp"

class QLabel;
class TavuButton;
class LiveTranslationSourceToggle;
class LiveTranslationHelperModel;

// The row under the captions: the "Original" toggle, a note on what the cards show, and the two
// copy buttons. The toggle always shows the snapshot's value; each change the user makes sends
// one command and waits for the host's next snapshot.
class LiveTranslationCaptionsFooter final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationCaptionsFooter)

public:
    explicit LiveTranslationCaptionsFooter(
        LiveTranslationHelperModel *model, QWidget *parent = nullptr);

    void render(
        const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette);

private:
    void sendShowsSourceText(bool shows);
    void copyLatest();
    void copyAll();

    LiveTranslationHelperModel *m_model;
    LiveTranslationSourceToggle *m_toggle;
    QLabel *m_note;
    TavuButton *m_copyLatest;
    TavuButton *m_copyAll;
    bool m_showsSource = true;
};
