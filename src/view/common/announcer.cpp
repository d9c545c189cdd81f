#include "announcer.hpp"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QWidget>
#include <QtGlobal>

#include "model.hpp"

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#include <QAccessibleAnnouncementEvent>
#endif

namespace {

// Qt's X11 accessibility bridge reports the showing of an object; screen readers present a
// notification that shows by reading its name.
class LiveTranslationAnnouncementNote final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationAnnouncementNote)

public:
    explicit LiveTranslationAnnouncementNote(QWidget *parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("liveTranslation.announcement"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(0, 0, 1, 1);
        hide();
    }
};

class AnnouncementNoteAccessible final : public QAccessibleWidget {
public:
    explicit AnnouncementNoteAccessible(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::Notification)
    {
    }
};

QAccessibleInterface *announcementFactory(const QString & /*className*/, QObject *object)
{
    if (auto *note = qobject_cast<LiveTranslationAnnouncementNote *>(object))
        return new AnnouncementNoteAccessible(note);
    return nullptr;
}

// As many as a reader may still have to read when the next announcement comes.
constexpr int kNotes = 6;
// A note that announced stays readable this long, then hides so that nothing lingers in the
// accessible tree.
constexpr int kRetireMs = 8000;

QString spoken(const std::string &text)
{
    QString result = QString::fromStdString(text).simplified();
    if (result.size() > LiveTranslationAnnouncer::kMaxSpokenLength) {
        qsizetype cut = LiveTranslationAnnouncer::kMaxSpokenLength;
        if (result.at(cut - 1).isHighSurrogate())
            --cut;
        result = result.left(cut) + QChar(0x2026);
    }
    return result;
}

} // namespace

LiveTranslationAnnouncer::LiveTranslationAnnouncer(QWidget *view)
    : QObject(view)
    , m_view(view)
{
    static const bool installed = [] {
        QAccessible::installFactory(announcementFactory);
        return true;
    }();
    Q_UNUSED(installed)
    m_gather.setSingleShot(true);
    m_gather.setInterval(kGatherMs);
    connect(&m_gather, &QTimer::timeout, this, &LiveTranslationAnnouncer::flush);
    m_retire.setSingleShot(true);
    m_retire.setInterval(kRetireMs);
    connect(&m_retire, &QTimer::timeout, this, &LiveTranslationAnnouncer::retire);
    // A note still shown would be shown, and announced, again with the panel.
    m_view->installEventFilter(this);
}

bool LiveTranslationAnnouncer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::Hide)
        retire();
    return false;
}

void LiveTranslationAnnouncer::retire()
{
    for (QWidget *note : m_notes)
        note->hide();
}

bool LiveTranslationAnnouncer::isHeard() const
{
    return m_view->isVisible() && !m_view->window()->isMinimized();
}

void LiveTranslationAnnouncer::follow(const LiveTranslationHelperSnapshot &snapshot)
{
    // What arrives while the panel is out of sight is taken as known, never announced later.
    const bool listening = isHeard();
    std::unordered_set<std::string> ids;
    ids.reserve(snapshot.committedCards.size());
    for (const LiveTranslationHelperCommittedCard &card : snapshot.committedCards) {
        ids.insert(card.id);
        if (!listening || m_seenCardIDs.contains(card.id))
            continue;
        QString text = spoken(card.translatedText);
        if (text.isEmpty())
            text = spoken(card.sourceText);
        if (!text.isEmpty())
            m_pending.push_back({text, true});
    }
    m_seenCardIDs = std::move(ids);
    if (listening && snapshot.hasFailure && !m_hadFailure) {
        const QString status = spoken(snapshot.statusMessage);
        if (!status.isEmpty())
            m_pending.push_back({status, false});
    }
    m_hadFailure = snapshot.hasFailure;
    if (!m_pending.empty() && !m_gather.isActive())
        m_gather.start();
}

void LiveTranslationAnnouncer::flush()
{
    qsizetype captions = 0;
    for (const Pending &item : m_pending)
        captions += item.caption ? 1 : 0;
    QStringList parts;
    qsizetype seen = 0;
    for (const Pending &item : m_pending) {
        if (!item.caption) {
            parts << item.text;
            continue;
        }
        ++seen;
        // Only ever more than kSpokenAtOnce: one plural form serves.
        if (captions <= kSpokenAtOnce)
            parts << item.text;
        else if (seen == captions)
            parts << tr("%1 new captions.").arg(captions) + QLatin1Char(' ') + item.text;
    }
    m_pending.clear();
    if (!parts.isEmpty() && isHeard())
        announce(parts.join(QLatin1Char(' ')));
}

void LiveTranslationAnnouncer::announce(const QString &text)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(m_view, text);
    event.setPoliteness(QAccessible::AnnouncementPoliteness::Polite);
    QAccessible::updateAccessibility(&event);
#else
    if (m_notes.empty()) {
        for (int i = 0; i < kNotes; ++i)
            m_notes.push_back(new LiveTranslationAnnouncementNote(m_view));
    }
    QWidget *note = m_notes[m_nextNote];
    m_nextNote = (m_nextNote + 1) % m_notes.size();
    note->hide();
    note->setAccessibleName(text);
    note->show();
    m_retire.start();
#endif
}

#include "announcer.moc"
