#include "platform/UserDialogs.h"

#include <atomic>

namespace {
// Answers as a user who cancels everything, so that code running before a
// window layer exists (or without one) never blocks.
class SilentDialogs : public UserDialogs
{
public:
    int MessageBox(const QString&, const QString&, MsgButtons buttons, MsgIcon) override
    {
        return buttons == MsgButtons::Ok ? IDOK : IDCANCEL;
    }
    QString GetOpenFileName(const QString&, const QString&, const QString&) override { return {}; }
    QStringList GetOpenFileNames(const QString&, const QString&, const QString&) override { return {}; }
    QString GetSaveFileName(const QString&, const QString&, const QString&, const QString&) override
    {
        return {};
    }
    QString BrowseForFolder(const QString&, const QString&) override { return {}; }
    void Beep() override {}
};

SilentDialogs silent;
std::atomic<UserDialogs*> current{&silent};
} // namespace

UserDialogs& Dialogs() { return *current.load(); }

void SetDialogs(UserDialogs* dialogs) { current.store(dialogs ? dialogs : &silent); }
