#pragma once
// Qt's own texts (the buttons of message boxes, the file, folder and print
// dialogs) in the program's language, from the translations installed with Qt.

// Installs Qt's translation for `language` (a Language index) on the
// application, replacing the one installed before; English needs none. False
// when the translation is not installed (Qt's texts then stay English).
bool UseQtTranslation(int language);
