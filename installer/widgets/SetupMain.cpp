// The installer program: installs Quillfen2 from the cabinet beside it, or,
// run as "uninst" (its copy in the installation), removes the installation
// it belongs to.
#include <QApplication>
#include <QTemporaryDir>

#include <exception>

#include "installer/widgets/Setup1.h"
#include "installer/widgets/Setup2.h"
#include "installer/widgets/Setup3.h"
#include "language/Language.h"
#include "platform/UserDialogs.h"
#include "platform/widgets/WidgetDialogs.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QTemporaryDir dialogHistory;
    if (dialogHistory.isValid())
        Installer::KeepDialogHistoryIn(dialogHistory.path());
    WidgetDialogs dialogs;
    SetDialogs(&dialogs);
    // The installer carries its own edition of the tables and starts in
    // Czech; only the agreement window changes the language.
    MainLanguage.UseTables(InstallerLanguageTable);
    MainLanguage.SetLanguage(Language::Czech);
    try {
        const QString self = QCoreApplication::applicationFilePath();
        Installer::TForm1 form1(self, self);
        auto* form2 = new Installer::TForm2(&form1);
        auto* form3 = new Installer::TForm3(&form1);
        form1.SetWindows(form2, form3);
        form1.ApplyLanguageToAll();
        QObject::connect(&form1, &Installer::TForm1::ProgramEnded, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        form1.show();
        app.exec();
    } catch (const std::exception& error) {
        Dialogs().MessageBox(QString::fromLocal8Bit(error.what()), QStringLiteral("Setup"),
                             MsgButtons::Ok, MsgIcon::Error);
    }
    SetDialogs(nullptr);
    return 0;
}
