#pragma once

#include <QAccessible>
#include <QString>

class QWidget;

// Gives a control its accessibility identifier (the objectName, by which automation finds it)
// and, when given, its label (accessibleName).
void setAccessibleIdentity(QWidget *widget, const QString &identifier, const QString &label = {});

// Gives a control an accessibility value in words. In process it is the text of
// QAccessible::Value of the widget's interface; since AT-SPI publishes no string value, the same
// text is also the widget's accessible description, whose change is reported. Setting an equal
// value does nothing.
void setAccessibleValueText(QWidget *widget, const QString &value);

// The value set with setAccessibleValueText, empty when none was set.
QString accessibleValueText(const QWidget *widget);

// Makes assistive technology read every scroll area of the process through an interface that
// checks the child index it is asked for, and every stacked widget as a plain pane. Call before
// the first scroll area is shown.
void installScrollAreaAccessibility();

// The role a scroll area read through that interface takes (a list, say); a client area unless
// set. Set it before the area is first read.
void setScrollAreaRole(QWidget *area, QAccessible::Role role);
