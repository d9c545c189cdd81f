#pragma once

#include <QObject>
#include <QString>

// What the panel shows that is the view's own rather than the host's: which picker is open and
// the language search text. The root view keeps it; the pickers read it and change it, and the
// text outlives closing the language picker and choosing a language.
class LiveTranslationViewState final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationViewState)

public:
    explicit LiveTranslationViewState(QObject *parent = nullptr);

    bool languagesPresented() const { return m_languagesPresented; }
    bool audioPresented() const { return m_audioPresented; }
    const QString &languageSearch() const { return m_languageSearch; }
    // Each setter signals only a change.
    void setLanguagesPresented(bool presented);
    void setAudioPresented(bool presented);
    void setLanguageSearch(const QString &search);

signals:
    void languagesPresentedChanged(bool presented);
    void audioPresentedChanged(bool presented);

private:
    bool m_languagesPresented = false;
    bool m_audioPresented = false;
    QString m_languageSearch;
};
