#include "platform/widgets/Captions.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QToolButton>
#include <QVariant>
#include <QWidget>

#include "language/Language.h"

namespace {

constexpr char TagProperty[] = "Tag";
constexpr char TipTagProperty[] = "TipTag";

void ApplyCaption(QObject* object, RadioButtonCaptions radioButtons)
{
    if (const int tip = object->property(TipTagProperty).toInt(); tip != 0)
        if (auto* widget = qobject_cast<QWidget*>(object))
            widget->setToolTip(MainLanguage.GetString(tip));
    const int tag = GetTag(object);
    if (tag == 0)
        return;
    if (radioButtons == RadioButtonCaptions::Keep && qobject_cast<QRadioButton*>(object))
        return;
    const QString text = MainLanguage.GetString(tag);
    if (auto* label = qobject_cast<QLabel*>(object))
        label->setText(text);
    else if (auto* tool = qobject_cast<QToolButton*>(object)) {
        // A tool button may show only its icon: the caption is its tool tip too.
        tool->setText(text);
        tool->setToolTip(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(object))
        button->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(object))
        group->setTitle(text);
    else if (auto* menu = qobject_cast<QMenu*>(object))
        menu->setTitle(text);
    else if (auto* action = qobject_cast<QAction*>(object))
        action->setText(text);
}

void ApplyToChildren(QObject* parent, RadioButtonCaptions radioButtons)
{
    for (QObject* child : parent->children()) {
        // A menu is a window of its own but belongs to the window that owns it.
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && widget->isWindow() && !qobject_cast<QMenu*>(widget))
            continue;
        ApplyCaption(child, radioButtons);
        ApplyToChildren(child, radioButtons);
    }
}

} // namespace

void SetTag(QObject* object, int id)
{
    object->setProperty(TagProperty, id);
}

void SetTipTag(QWidget* widget, int id)
{
    widget->setProperty(TipTagProperty, id);
}

int GetTag(const QObject* object)
{
    return object->property(TagProperty).toInt();
}

void ApplyCaptions(QWidget* window, RadioButtonCaptions radioButtons)
{
    window->setWindowTitle(MainLanguage.GetString(GetTag(window)));
    ApplyToChildren(window, radioButtons);
}
