#pragma once
// Tool-bar buttons show the desktop icon theme's picture of their command and
// their caption as tool tip; where the theme has no such picture the button
// shows the caption itself, so a command never becomes an empty button.

#include <cstddef>

class QAction;
class QToolButton;

// `name` is a freedesktop icon name ("document-open"); null keeps the caption.
void SetThemeIcon(QAction* action, const char* name);
void SetThemeIcon(QToolButton* button, const char* name);

// One command of a window's icon bar and the freedesktop name of its picture.
template <class Window>
struct ThemeIconOf
{
    QAction* Window::*action;
    const char* name;
};

// Gives each command of `window` in `icons` its picture.
template <class Window, std::size_t Count>
void SetThemeIcons(Window& window, const ThemeIconOf<Window> (&icons)[Count])
{
    for (const ThemeIconOf<Window>& icon : icons)
        SetThemeIcon(window.*icon.action, icon.name);
}

// A tool-bar twin of a command that also stands in the menu bar, where an
// icon would take the place of its caption: the twin has the command's
// caption (and follows its language and enabled state), the picture, and
// triggers the command.
QAction* IconBarTwin(QAction* command, const char* name);

// Desktops that name no icon theme of their own get the installed Adwaita
// theme, which carries the freedesktop names.
void UseDefaultIconTheme();
