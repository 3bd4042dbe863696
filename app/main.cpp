// Quillfen2: the revision list is the main window; the program ends when it
// closes.

#include "app/QuillfenProgram.h"
#include "platform/NumberText.h"
#include "platform/widgets/ThemeIcons.h"
#include "platform/widgets/WidgetDialogs.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillfen2"));
    UseDefaultIconTheme();
    WidgetDialogs dialogs;
    SetDialogs(&dialogs);
    // Dates and numbers are written and read the way the user's system
    // writes them, from the first window on (the windows format and parse
    // while they are created).
    UseSystemLocaleFormats();
    int result = 0;
    {
        QuillfenProgram program;
        program.Start(QApplication::arguments().mid(1), UserDefaultLanguageId());
        result = QApplication::exec();
    }
    SetDialogs(nullptr);
    return result;
}
