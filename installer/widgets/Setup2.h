#pragma once
// The agreement window: the licence text, the language list and the
// "I agree" / "I disagree" buttons.

#include <QDialog>

class QComboBox;
class QPlainTextEdit;
class QPushButton;

namespace Installer {

class TForm2 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1;
    QPushButton* Button1;
    QPushButton* Button2;
    QComboBox* ComboBox1;

public slots:
    // The user picked the language at `index` of the list.
    void ComboBox1Change(int index);

signals:
    // Every window of the installer is to take the new language's captions.
    void LanguageChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SelectCurrentLanguage();
};

} // namespace Installer
