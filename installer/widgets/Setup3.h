#pragma once
// The uninstallation window: what will be removed, Continue and Cancel.

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace Installer {

class TForm3 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm3(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1;
    QPushButton* Button1;
    QPushButton* Cancel;

public slots:
    // Continue: removes the installation and closes the window.
    void Button1Click();
};

} // namespace Installer
