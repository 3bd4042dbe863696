#pragma once
// The user dialogs of the running program: Qt message boxes and file dialogs.
// Calls from worker threads are carried to the main thread and block until the
// user has answered.

#include "platform/UserDialogs.h"

class WidgetDialogs : public UserDialogs
{
public:
    int MessageBox(const QString& text, const QString& caption, MsgButtons buttons,
                   MsgIcon icon) override;
    QString GetOpenFileName(const QString& caption, const QString& dir,
                            const QString& filter) override;
    QStringList GetOpenFileNames(const QString& caption, const QString& dir,
                                 const QString& filter) override;
    QString GetSaveFileName(const QString& caption, const QString& dir, const QString& filter,
                            const QString& defaultSuffix) override;
    QString GetSaveFileNameAndFilter(const QString& caption, const QString& dir,
                                     const QString& filter, const QString& defaultSuffix,
                                     int& filterIndex) override;
    QString BrowseForFolder(const QString& caption, const QString& dir) override;
    void Beep() override;
    bool ChooseColor(QColor& color) override;
};
