#pragma once

#include <QWidgetList>

class QAccessibleInterface;

// Assistive technology reads a lazy list as one list of all its entries, built or not, so that a
// screen reader says the true place of an entry ("35 of 40"): the list has one child per entry,
// the entry's item (its focus proxy when it has one, so that a section header shown above a row
// is no item but the item's child), or none while the entry is not built. Called by the list;
// idempotent.
void installLazyListAccessibility();

// The list an item of a lazy list reports as its parent, so that its index is its entry's index;
// null when widget is no built entry's item. An item's own interface calls it.
QAccessibleInterface *lazyListItemParent(const QWidget *widget);

// The shown widgets of an item's entry other than the item (a section header above a row), which
// the item's interface reads as its children; none when widget is no built entry's item.
QWidgetList lazyListItemCompanions(const QWidget *widget);
