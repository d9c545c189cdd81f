#include "accessibility.hpp"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QProgressBar>
#include <QScrollBar>
#include <QStackedWidget>
#include <QWidget>

namespace {

constexpr const char *kValueProperty = "tavuAccessibleValue";
constexpr const char *kScrollAreaRoleProperty = "tavuScrollAreaRole";

// The interface of a widget that carries a value in words. It stands in for the toolkit's own
// interface, so it also gives buttons their role, states and press action.
class ValueTextAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ValueTextAccessible(QWidget *widget)
        : QAccessibleWidget(widget, roleFor(widget))
    {
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Value: return accessibleValueText(widget());
        case QAccessible::Name: {
            QString name = widget()->accessibleName();
            if (name.isEmpty()) {
                if (const auto *b = button())
                    name = QString(b->text()).remove(QLatin1Char('&'));
            }
            return name;
        }
        default: return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (const auto *b = button()) {
            s.pressed = b->isDown();
            s.checkable = b->isCheckable();
            s.checked = b->isChecked();
        }
        return s;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (button() && widget()->isEnabled())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction()) {
            if (auto *b = button(); b && b->isEnabled())
                b->click();
            return;
        }
        QAccessibleWidget::doAction(actionName);
    }

    // A progress bar keeps its numeric value for assistive technology that reads it.
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface && progressBar())
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return progressBar()->value(); }
    void setCurrentValue(const QVariant & /*value*/) override { }
    QVariant maximumValue() const override { return progressBar()->maximum(); }
    QVariant minimumValue() const override { return progressBar()->minimum(); }
    QVariant minimumStepSize() const override { return 1; }

    static bool isOurs(const QAccessibleInterface *iface)
    {
        return dynamic_cast<const ValueTextAccessible *>(iface) != nullptr;
    }

private:
    QAbstractButton *button() const { return qobject_cast<QAbstractButton *>(widget()); }
    QProgressBar *progressBar() const { return qobject_cast<QProgressBar *>(widget()); }

    static QAccessible::Role roleFor(const QWidget *widget)
    {
        if (const auto *b = qobject_cast<const QAbstractButton *>(widget))
            return b->isCheckable() ? QAccessible::CheckBox : QAccessible::Button;
        if (qobject_cast<const QProgressBar *>(widget))
            return QAccessible::ProgressBar;
        if (qobject_cast<const QLabel *>(widget) || widget->focusPolicy() == Qt::NoFocus)
            return QAccessible::StaticText;
        return QAccessible::Client;
    }
};

QAccessibleInterface *valueTextFactory(const QString & /*className*/, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget || !widget->property(kValueProperty).isValid())
        return nullptr;
    return new ValueTextAccessible(widget);
}

void installFactoryOnce()
{
    static const bool installed = [] {
        QAccessible::installFactory(valueTextFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

// The factory only gets the first word for classes the toolkit does not know; for a toolkit
// class (a plain QLabel) the interface is swapped in the cache instead.
void ensureValueInterface(QWidget *widget)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    if (ValueTextAccessible::isOurs(iface))
        return;
    if (iface)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
    QAccessible::registerAccessibleInterface(new ValueTextAccessible(widget));
}

// A scroll area as assistive technology sees it: its viewport, then the containers of the scroll
// bars that show, then a visible corner widget. The toolkit's own interface builds that list
// anew on every call and takes the asked index without checking it; a screen reader that asks
// for the last child just as a scroll bar hides (the session ends, the list empties) reads past
// the list's end and crashes the process. This interface answers such a question with no child.
class ScrollAreaAccessible final : public QAccessibleWidget {
public:
    explicit ScrollAreaAccessible(QAbstractScrollArea *area)
        : QAccessibleWidget(area, QAccessible::Client)
    {
    }

    QAccessible::Role role() const override
    {
        const QVariant role = widget()->property(kScrollAreaRoleProperty);
        return role.isValid() ? QAccessible::Role(role.toInt()) : QAccessible::Client;
    }

    int childCount() const override { return static_cast<int>(children().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QWidgetList list = children();
        if (index < 0 || index >= list.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(list.at(index));
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        return static_cast<int>(children().indexOf(qobject_cast<QWidget *>(child->object())));
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (QWidget *child : children()) {
            if (QRect(child->mapToGlobal(QPoint(0, 0)), child->size()).contains(x, y))
                return QAccessible::queryAccessibleInterface(child);
        }
        return nullptr;
    }

private:
    QWidgetList children() const
    {
        QWidgetList list;
        const auto *area = qobject_cast<const QAbstractScrollArea *>(widget());
        if (!area)
            return list;
        if (QWidget *viewport = area->viewport())
            list.append(viewport);
        for (const QScrollBar *bar : {area->horizontalScrollBar(), area->verticalScrollBar()}) {
            if (bar && bar->isVisible() && bar->parentWidget())
                list.append(bar->parentWidget());
        }
        if (QWidget *corner = area->cornerWidget(); corner && corner->isVisible())
            list.append(corner);
        return list;
    }
};

QAccessibleInterface *scrollAreaFactory(const QString & /*className*/, QObject *object)
{
    if (auto *area = qobject_cast<QAbstractScrollArea *>(object))
        return new ScrollAreaAccessible(area);
    // Here a stack only swaps one page for another: a plain pane, not a "layered pane" that a
    // screen reader names before every control inside it.
    if (auto *stack = qobject_cast<QStackedWidget *>(object))
        return new QAccessibleWidget(stack, QAccessible::Pane);
    return nullptr;
}

} // namespace

void installScrollAreaAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(scrollAreaFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void setScrollAreaRole(QWidget *area, QAccessible::Role role)
{
    area->setProperty(kScrollAreaRoleProperty, int(role));
}

void setAccessibleIdentity(QWidget *widget, const QString &identifier, const QString &label)
{
    widget->setObjectName(identifier);
    if (!label.isEmpty())
        widget->setAccessibleName(label);
}

void setAccessibleValueText(QWidget *widget, const QString &value)
{
    const QVariant current = widget->property(kValueProperty);
    if (current.isValid() && current.toString() == value)
        return;
    widget->setProperty(kValueProperty, value);
    if (!current.isValid()) {
        installFactoryOnce();
        ensureValueInterface(widget);
    }
    // Setting the description reports its change. Only a progress bar has a value interface;
    // a value change reported for anything else is dropped by the AT-SPI bridge with a warning.
    widget->setAccessibleDescription(value);
    if (QAccessible::isActive() && qobject_cast<QProgressBar *>(widget)) {
        QAccessibleValueChangeEvent event(widget, value);
        QAccessible::updateAccessibility(&event);
    }
}

QString accessibleValueText(const QWidget *widget)
{
    return widget->property(kValueProperty).toString();
}
