#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include <QObject>
#include <QString>
#include <QTimer>

class QWidget;
struct LiveTranslationHelperSnapshot;

// Tells a screen reader what arrives while the user listens: each newly committed card's
// translation, and the status when it turns to a failure. Announcements are polite (the reader
// queues them after what it is saying) and in order.
//
// Snapshots that arrive close together are heard as one: within a short window, up to
// kSpokenAtOnce captions are read one after another; more (a host catching up after a stall) are
// heard as how many arrived, then the newest, since the user cannot stop a queue of twenty and
// the newest is what is being said now. The list holds every card for reading back.
//
// Nothing is announced while the panel is hidden, and a card seen then is not announced later.
// A snapshot that repeats cards by their ids announces nothing again.
//
// With Qt 6.8 or later the announcement is Qt's own event. Before that it is the showing of a
// notification object, which is what Orca presents from a toolkit without announcements.
class LiveTranslationAnnouncer final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationAnnouncer)

public:
    // The notification objects are children of the view, which the announcements come from.
    explicit LiveTranslationAnnouncer(QWidget *view);

    // Follows the snapshot the view shows.
    void follow(const LiveTranslationHelperSnapshot &snapshot);

    static constexpr int kSpokenAtOnce = 3;
    // How long snapshots gather into one announcement.
    static constexpr int kGatherMs = 150;
    // A longer text is cut there: nobody listens to a page read out at once.
    static constexpr int kMaxSpokenLength = 600;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void retire();
    // Whether the user can see the panel.
    bool isHeard() const;
    void flush();
    void announce(const QString &text);

    QWidget *m_view;
    QTimer m_gather;
    QTimer m_retire;
    std::unordered_set<std::string> m_seenCardIDs;
    bool m_hadFailure = false;
    struct Pending {
        QString text;
        bool caption = false;
    };
    std::vector<Pending> m_pending;
    // A few, taken in turn: a reader reads an object's name when it comes to its event, which
    // may be after the next announcement.
    std::vector<QWidget *> m_notes;
    size_t m_nextNote = 0;
};
