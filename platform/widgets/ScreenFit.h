#pragma once
// Windows open wholly on the screen they are shown on, at a size that shows
// their content. Sizes chosen for a large screen would otherwise put a
// window's edge past the screen, and captions that grow with a language
// change would clip the controls beside them.

#include <QSize>

class QWidget;

// Grows `window` to its layout's size hint and to `preferred`, shrinks it
// to the screen's available area where either is larger, and moves it so
// that its frame lies inside that area. A maximised or full-screen window
// is left as it is.
void FitOnScreen(QWidget* window, QSize preferred = {});

// Fits `window` with FitOnScreen every time it is shown.
void FitOnScreenWhenShown(QWidget* window, QSize preferred = {});

// Fits every visible window again, after their captions changed.
void FitVisibleWindows();
