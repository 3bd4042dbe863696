#pragma once
// The 8-bit code page of the revision list's texts: its tab-separated files,
// the narrow texts of its list document and the record IDs that the data
// window and the label wizard look up. It is the Windows code page of the
// program's language (Central European for Czech, Western for English),
// which is what the user chose and what lists written by Czech users hold
// whatever the machine's locale; before a language is chosen the system
// locale stands in for it.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Characters the code page lacks become '?'.
QByteArray ToAnsi(const QString& text);
QString FromAnsi(QByteArrayView bytes);
// Whether ToAnsi() keeps every character of the text.
bool FitsAnsi(const QString& text);

// The code page in use ("windows-1250", "windows-1252", ...); empty
// restores the one that follows the language. Set on the main thread.
void SetAnsiCodePage(const QByteArray& name);
QByteArray AnsiCodePage();
