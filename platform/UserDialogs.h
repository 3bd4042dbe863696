#pragma once
// Every message box, file dialog and beep of the program goes through this
// interface, so tests can replace it with a scripted fake.

#include <QColor>
#include <QString>
#include <QStringList>

// YesNoDefaultNo: Yes and No where Return answers No (a question whose Yes
// destroys something).
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, YesNoDefaultNo };
enum class MsgIcon { None, Information, Warning, Error, Question };
// The class library's results.
enum MsgResult { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

class UserDialogs
{
public:
    virtual ~UserDialogs() = default;
    // Safe to call from any thread: implementations block the caller until the
    // user has answered on the main thread.
    virtual int MessageBox(const QString& text, const QString& caption, MsgButtons buttons,
                           MsgIcon icon) = 0;
    // Empty when cancelled. `filter` in Qt syntax ("Forms (*.qfs);;All files (*)").
    virtual QString GetOpenFileName(const QString& caption, const QString& dir,
                                    const QString& filter) = 0;
    virtual QStringList GetOpenFileNames(const QString& caption, const QString& dir,
                                         const QString& filter) = 0;
    // The name returned is the one that will be written: a name typed without
    // an extension gets `defaultSuffix` (without the dot) while the chosen
    // entry of `filter` lists "*.<defaultSuffix>", and the question whether to
    // replace an existing file is asked about that name.
    virtual QString GetSaveFileName(const QString& caption, const QString& dir,
                                    const QString& filter, const QString& defaultSuffix) = 0;
    // The save dialog that also tells which entry of `filter` was chosen,
    // counted from 1. Implementations that cannot tell report the first.
    virtual QString GetSaveFileNameAndFilter(const QString& caption, const QString& dir,
                                             const QString& filter, const QString& defaultSuffix,
                                             int& filterIndex)
    {
        filterIndex = 1;
        return GetSaveFileName(caption, dir, filter, defaultSuffix);
    }
    virtual QString BrowseForFolder(const QString& caption, const QString& dir) = 0;
    virtual void Beep() = 0;
    // The colour dialog, starting at `color`; true with the chosen colour on OK.
    virtual bool ChooseColor(QColor& color) { return false; }
};

// The implementation in use. Before a window layer installs one, a silent
// implementation answers Cancel / empty.
UserDialogs& Dialogs();
// Installs `dialogs` (not owned); nullptr restores the silent one.
void SetDialogs(UserDialogs* dialogs);
