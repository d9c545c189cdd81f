#pragma once

#include <optional>

#include <QWidget>

#include "common/palette.hpp"
#include "wire_types.hpp"

class QAbstractButton;
class QLabel;
class LiveTranslationStatusDot;
class LiveTranslationStatusText;
class LiveTranslationCapsuleButton;
class LiveTranslationPlainButton;
class TavuButton;

// The header: title and status, the language and audio capsules, the session buttons and the
// close button. It only shows; what its buttons do is for the view that owns it.
class LiveTranslationTopBar final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationTopBar)

public:
    static constexpr int kHorizontalPadding = 14;
    static constexpr int kVerticalPadding = 11;
    static constexpr int kSpacing = 10;
    static constexpr int kTitleSpacing = 3;
    static constexpr int kStatusSpacing = 6;
    static constexpr int kMinSpacerLength = 6;
    static constexpr int kTitlePixelSize = 15;
    static constexpr int kCancelPixelSize = 11;
    static constexpr int kClosePixelSize = 12;
    static constexpr int kCloseFrame = 24;

    explicit LiveTranslationTopBar(QWidget *parent = nullptr);

    void render(
        const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette);

    QAbstractButton *languagePairButton() const;
    QAbstractButton *audioSourceButton() const;

signals:
    void startPressed();
    void stopPressed();
    void cancelPressed();
    void closePressed();
    void languagePairPressed();
    void audioSourcePressed();

protected:
    void changeEvent(QEvent *event) override;

private:
    // Everything the bar shows; a render pass with equal inputs changes nothing.
    struct Inputs {
        LiveTranslationPalette palette;
        QColor statusColor;
        QString statusMessage;
        bool hasFailure = false;
        QString pairLabel;
        QString audioTitle;
        bool isSessionActive = false;
        bool isStopEnabled = false;
        bool isStartEnabled = false;
        bool canRequestMoreTime = false;
        bool operator==(const Inputs &) const = default;
    };
    static Inputs inputsFor(
        const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette);
    void display(const Inputs &inputs);
    void retranslate();

    QLabel *m_title;
    LiveTranslationStatusDot *m_dot;
    LiveTranslationStatusText *m_status;
    // Which of the controls that come and go can keep the focus after a snapshot.
    struct Usable {
        bool audio = false;
        bool cancel = false;
        bool stop = false;
        bool start = false;
    };
    void keepFocus(const Usable &usable);

    LiveTranslationCapsuleButton *m_pairButton;
    LiveTranslationCapsuleButton *m_audioButton;
    LiveTranslationPlainButton *m_cancelButton;
    TavuButton *m_stopButton;
    TavuButton *m_startButton;
    LiveTranslationPlainButton *m_closeButton;
    std::optional<Inputs> m_shown;
};
