#pragma once
// The 8-bit code page of the revision list's tab-separated files and of the
// narrow texts of its list document: the Windows code page the program's
// users have always exchanged these files in (Central European for a Czech
// system, Western otherwise).

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Characters the code page lacks become '?'.
QByteArray ToAnsi(const QString& text);
QString FromAnsi(QByteArrayView bytes);

// The code page in use ("windows-1250", "windows-1252", ...); empty
// restores the one chosen from the system locale. Set on the main thread.
void SetAnsiCodePage(const QByteArray& name);
QByteArray AnsiCodePage();
