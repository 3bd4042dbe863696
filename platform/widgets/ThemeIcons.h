#pragma once
// Tool-bar buttons show the desktop icon theme's picture of their command and
// their caption as tool tip; where the theme has no such picture the button
// shows the caption itself, so a command never becomes an empty button.

class QAction;
class QToolButton;

// `name` is a freedesktop icon name ("document-open"); null keeps the caption.
void SetThemeIcon(QAction* action, const char* name);
void SetThemeIcon(QToolButton* button, const char* name);

// Desktops that name no icon theme of their own get the installed Adwaita
// theme, which carries the freedesktop names.
void UseDefaultIconTheme();
