#pragma once
// A window component's Tag is the id of its caption in the language tables;
// re-captioning a window puts the current language's texts on every tagged
// component.

class QObject;
class QWidget;

// Stores the caption id as the object's "Tag" property.
void SetTag(QObject* object, int id);
// A control whose caption is a symbol ("x2") keeps it in every language; only
// its tool tip, the string `id`, follows the language.
void SetTipTag(QWidget* widget, int id);
// The caption id, 0 when the object carries none.
int GetTag(const QObject* object);

enum class RadioButtonCaptions { Apply, Keep };

// The window title becomes the string of the window's own Tag (string 0, the
// language name, when it has none). Every tagged component of the window with
// a caption (label, button, check box, radio button, group box, menu, menu
// item) takes the string of its Tag; other components and untagged ones keep
// their texts. Components of other windows parented to this one are left to
// their own window. The installer keeps its radio buttons' texts.
void ApplyCaptions(QWidget* window, RadioButtonCaptions radioButtons = RadioButtonCaptions::Apply);
