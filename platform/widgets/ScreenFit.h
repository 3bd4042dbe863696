#pragma once
// Windows open wholly on the screen they are shown on, at a size that shows
// their content. Sizes chosen for a large screen would otherwise put a
// window's edge past the screen, and captions that grow with a language
// change would clip the controls beside them.

#include <QMargins>
#include <QSize>

class QWidget;

// The room kept for a window manager's frame (title bar and borders) while
// a window's real frame is not known yet: before the window manager first
// frames a window, its frame counts as this much, and the window is fitted
// again once the real frame is known.
inline constexpr QMargins UnknownFrameAllowance(8, 36, 8, 8);

// Grows `window` to its layout's size hint and to `preferred`, shrinks it
// to the screen's available area where either is larger, and moves it so
// that its frame lies inside that area. A maximised or full-screen window
// is left as it is.
void FitOnScreen(QWidget* window, QSize preferred = {});

// Fits `window` as FitOnScreen does every time it is shown, and again when
// its frame becomes known. A dialog opens centred over the window it
// belongs to (its parent's window, or else the window active when it is
// shown); a window shown for the first time opens centred on the screen.
void FitOnScreenWhenShown(QWidget* window, QSize preferred = {});

// Fits every visible window again, after their captions changed.
void FitVisibleWindows();
