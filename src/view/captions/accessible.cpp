#include "accessible.hpp"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include <QAccessibleWidget>
#include <QLocale>
#include <QPointer>
#include <QWindow>

#include "captions/active_card.hpp"
#include "captions/list.hpp"
#include "captions/logic.hpp"
#include "common/view_logic.hpp"
#include "common/view_support.hpp"

namespace {

// The most of one text that goes to assistive technology: a caption of a million characters
// would be copied into every question a screen reader asks about the item.
constexpr qsizetype kLongestSpokenText = 4096;

// An item's name reads its parts in order, the empty ones left out, each cut after the longest
// spoken text (at the end of a grapheme cluster) and then marked with an ellipsis.
QString spokenName(const QStringList &parts)
{
    QStringList present;
    for (const QString &part : parts) {
        if (part.trimmed().isEmpty())
            continue;
        const qsizetype end = textPartEnd(part, kLongestSpokenText);
        present.append(end < part.size() ? part.left(end) + QChar(0x2026) : part);
    }
    return present.join(QStringLiteral(", "));
}

// The start of a host text, converted only as far as a spoken name can reach: every UTF-16 unit
// takes at least one byte and at most four, so this many bytes hold more than the longest spoken
// text plus its longest cluster, and a character cut at the end lies past where the name stops.
QString spokenStart(const std::string &text)
{
    constexpr std::size_t kBytes = 4 * (std::size_t(kLongestSpokenText) + 65);
    return QString::fromUtf8(text.data(), qsizetype(std::min(text.size(), kBytes)));
}

QRect globalRect(const QWidget *widget, const QRect &local)
{
    return {widget->mapToGlobal(local.topLeft()), local.size()};
}

// The part of an item's state that comes from the list: focusable, and focused while it is the
// list's current item and the list has focus.
QAccessible::State itemState(const LiveTranslationCaptionList *list, std::size_t item)
{
    QAccessible::State state;
    state.readOnly = true;
    state.focusable = true;
    state.focused = list && list->hasFocus() && list->currentItem() == item;
    return state;
}

// An item of the caption list that is painted rather than a widget of its own.
class ItemAccessible : public QAccessibleInterface {
public:
    explicit ItemAccessible(LiveTranslationCaptionList *list)
        : m_list(list)
    {
    }

    LiveTranslationCaptionList *list() const { return m_list.data(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_list ? m_list->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_list.data());
    }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    void setText(QAccessible::Text, const QString &) override { }
    QAccessible::Role role() const override { return QAccessible::ListItem; }

private:
    QPointer<LiveTranslationCaptionList> m_list;
};

// One committed card, found again by its id: at the place it was last seen, or by a search.
class CardAccessible final : public ItemAccessible {
public:
    CardAccessible(LiveTranslationCaptionList *list, std::string id, std::size_t index)
        : ItemAccessible(list)
        , m_id(std::move(id))
        , m_index(index)
    {
    }

    std::optional<std::size_t> index() const
    {
        const LiveTranslationCaptionList *list = this->list();
        if (!list)
            return std::nullopt;
        if (m_index < list->cardCount() && list->card(m_index).id == m_id)
            return m_index;
        for (std::size_t i = 0; i < list->cardCount(); ++i) {
            if (list->card(i).id == m_id) {
                m_index = i;
                return i;
            }
        }
        return std::nullopt;
    }

    bool isValid() const override { return index().has_value(); }

    // The translation, the source while originals show, then the time.
    QString text(QAccessible::Text t) const override
    {
        const auto at = index();
        if (t != QAccessible::Name || !at)
            return {};
        const auto &card = list()->card(*at);
        // Converted only as far as they can be spoken: a card's texts may be a million long.
        return spokenName({spokenStart(card.translatedText),
            list()->showsSourceText() ? spokenStart(card.sourceText) : QString(),
            captionTimeText(card.committedAt, QLocale::system())});
    }

    QRect rect() const override
    {
        const auto at = index();
        if (!at)
            return {};
        LiveTranslationCaptionList *list = this->list();
        return globalRect(list->viewport(), list->cardRect(*at));
    }

    QAccessible::State state() const override
    {
        const auto at = index();
        if (!at)
            return {};
        QAccessible::State state = itemState(list(), *at);
        state.selectableText = true;
        const auto [first, last] = list()->visibleCards();
        state.offscreen = *at < first || *at >= last;
        return state;
    }

private:
    std::string m_id;
    mutable std::size_t m_index;
};

// The live card below the list, the list's last item while it shows: its header's state, then
// its texts.
class LiveCardAccessible final : public ItemAccessible {
public:
    using ItemAccessible::ItemAccessible;

    LiveTranslationActiveCard *card() const { return list() ? list()->liveCard() : nullptr; }
    bool isValid() const override { return card() != nullptr; }

    QString text(QAccessible::Text t) const override
    {
        const LiveTranslationActiveCard *live = card();
        if (t != QAccessible::Name || !live)
            return {};
        const auto &content = live->content();
        return spokenName({content.state, content.translation, content.source});
    }

    QRect rect() const override
    {
        const LiveTranslationActiveCard *live = card();
        return live ? globalRect(live, live->rect()) : QRect();
    }

    QAccessible::State state() const override
    {
        if (!card())
            return {};
        QAccessible::State state = itemState(list(), list()->cardCount());
        state.selectableText = true;
        state.invisible = !list()->isLiveCardShown();
        return state;
    }
};

// The caption list: the empty state while it shows, one item per card, then the live card.
class ListAccessible final : public QAccessibleWidget {
public:
    explicit ListAccessible(LiveTranslationCaptionList *list)
        : QAccessibleWidget(list, QAccessible::List)
    {
        const auto self = [list] {
            return dynamic_cast<ListAccessible *>(QAccessible::queryAccessibleInterface(list));
        };
        QObject::connect(list, &LiveTranslationCaptionList::cardsChanged, list, [self] {
            if (ListAccessible *iface = self())
                iface->forgetRemovedCards();
        });
        QObject::connect(
            list, &LiveTranslationCaptionList::currentItemChanged, list, [self](std::size_t item) {
                if (ListAccessible *iface = self())
                    iface->announceCurrentItem(item);
            });
    }

    ~ListAccessible() override
    {
        for (const auto &[cardId, id] : m_cards)
            QAccessible::deleteAccessibleInterface(id);
        if (m_live)
            QAccessible::deleteAccessibleInterface(m_live);
    }

    LiveTranslationCaptionList *list() const
    {
        return qobject_cast<LiveTranslationCaptionList *>(widget());
    }

    int childCount() const override
    {
        const LiveTranslationCaptionList *list = this->list();
        return list ? emptyStateCount() + static_cast<int>(list->itemCount()) : 0;
    }

    QAccessibleInterface *child(int index) const override
    {
        LiveTranslationCaptionList *list = this->list();
        if (!list || index < 0)
            return nullptr;
        if (index < emptyStateCount())
            return QAccessible::queryAccessibleInterface(list->emptyState());
        const auto item = static_cast<std::size_t>(index - emptyStateCount());
        if (item < list->cardCount())
            return cardInterface(item);
        if (item == list->cardCount() && list->isLiveCardShown())
            return liveInterface();
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        LiveTranslationCaptionList *list = this->list();
        if (!list || !child)
            return -1;
        if (emptyStateCount() && child->object() == list->emptyState())
            return 0;
        if (const auto *card = dynamic_cast<const CardAccessible *>(child)) {
            const auto index = card->index();
            return index ? emptyStateCount() + static_cast<int>(*index) : -1;
        }
        if (dynamic_cast<const LiveCardAccessible *>(child) && list->isLiveCardShown())
            return emptyStateCount() + static_cast<int>(list->cardCount());
        return -1;
    }

    // Only what is in view can be under a point.
    QAccessibleInterface *childAt(int x, int y) const override
    {
        LiveTranslationCaptionList *list = this->list();
        if (!list)
            return nullptr;
        const auto [first, last] = list->visibleCards();
        for (std::size_t i = first; i < last && i < list->cardCount(); ++i) {
            QAccessibleInterface *card = cardInterface(i);
            if (card->rect().contains(x, y))
                return card;
        }
        if (emptyStateCount()) {
            QAccessibleInterface *empty = child(0);
            if (empty && empty->rect().contains(x, y))
                return empty;
        }
        return nullptr;
    }

    QAccessibleInterface *focusChild() const override
    {
        const LiveTranslationCaptionList *list = this->list();
        if (!list || !list->hasFocus() || !list->currentItem())
            return nullptr;
        return child(emptyStateCount() + static_cast<int>(*list->currentItem()));
    }

    void forgetRemovedCards()
    {
        const LiveTranslationCaptionList *list = this->list();
        if (m_cards.empty() || !list)
            return;
        std::unordered_set<std::string> present;
        present.reserve(list->cardCount());
        for (std::size_t i = 0; i < list->cardCount(); ++i)
            present.insert(list->card(i).id);
        for (auto it = m_cards.begin(); it != m_cards.end();) {
            if (!present.contains(it->first)) {
                QAccessible::deleteAccessibleInterface(it->second);
                it = m_cards.erase(it);
            } else {
                ++it;
            }
        }
    }

    // The current item moved: the screen reader reads it as the focused object.
    void announceCurrentItem(std::size_t item)
    {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(emptyStateCount() + static_cast<int>(item));
        QAccessible::updateAccessibility(&event);
    }

private:
    int emptyStateCount() const
    {
        const LiveTranslationCaptionList *list = this->list();
        return list && list->emptyState()->isVisibleTo(list) ? 1 : 0;
    }

    QAccessibleInterface *cardInterface(std::size_t index) const
    {
        const std::string &cardId = list()->card(index).id;
        if (const auto found = m_cards.find(cardId); found != m_cards.end())
            return QAccessible::accessibleInterface(found->second);
        auto *iface = new CardAccessible(list(), cardId, index);
        m_cards.emplace(cardId, QAccessible::registerAccessibleInterface(iface));
        return iface;
    }

    QAccessibleInterface *liveInterface() const
    {
        if (!m_live)
            m_live = QAccessible::registerAccessibleInterface(new LiveCardAccessible(list()));
        return QAccessible::accessibleInterface(m_live);
    }

    mutable std::unordered_map<std::string, QAccessible::Id> m_cards;
    mutable QAccessible::Id m_live = 0;
};

// The live card's own widget stays out of the tree: the list reads it as its last item.
class HiddenAccessible final : public QAccessibleWidget {
public:
    explicit HiddenAccessible(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::NoRole)
    {
    }

    QString text(QAccessible::Text) const override { return {}; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = true;
        return state;
    }
};

QAccessibleInterface *captionsAccessibleFactory(const QString & /*key*/, QObject *object)
{
    if (auto *list = qobject_cast<LiveTranslationCaptionList *>(object))
        return new ListAccessible(list);
    if (auto *card = qobject_cast<LiveTranslationActiveCard *>(object))
        return new HiddenAccessible(card);
    return nullptr;
}

} // namespace

void installCaptionsAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(captionsAccessibleFactory);
        return true;
    }();
    (void)installed;
}
