#pragma once
// The "Files to print" window: gathers a list of document files and prints
// them all through the "Print" dialog, one print job per file.

#include <QDialog>

class QListWidget;
class QPushButton;
class TForm5;

class TForm6 : public QDialog
{
    Q_OBJECT

public:
    // `printDialog` is the program's "Print" dialog; it must outlive this window.
    explicit TForm6(TForm5& printDialog, QWidget* parent = nullptr);
    ~TForm6() override;

    // The paths in the list, in order.
    QStringList Files() const;
    // Puts the current language's captions on the window.
    void ApplyLanguage();

    QListWidget* ListBox1;
    QPushButton* Button1; // Add ...
    QPushButton* Button2; // Remove
    QPushButton* Button3; // Print
    QPushButton* Button4; // Print setup ...
    QPushButton* Button5; // Close

public slots:
    // Adds the chosen files in the dialog's order, each path once.
    void Button1Click();
    // Removes the selected entries.
    void Button2Click();
    void Button3Click();
    void Button4Click();

private:
    TForm5& m_printDialog;
};
