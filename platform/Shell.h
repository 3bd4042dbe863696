#pragma once
// Opening a file, folder or address with the desktop's own handler, as a
// click on a link field does. Tests replace the opener.

#include <QString>
#include <QUrl>

#include <functional>

using UrlOpener = std::function<bool(const QUrl&)>;

// The URL a link target stands for: a text with a scheme of two or more
// letters ("https:", "mailto:", "file:") as it is; "www." addresses as http;
// anything else a local path, relative to the working folder. Empty for an
// empty target.
QUrl TargetUrl(const QString& target);

// Hands TargetUrl(target) to the opener and returns its result. Never runs a
// command line.
bool OpenTarget(const QString& target);

// Replaces the opener; an empty one restores QDesktopServices::openUrl.
// Meant for start-up and tests, not to be changed while links are opened.
void SetUrlOpener(UrlOpener opener);
