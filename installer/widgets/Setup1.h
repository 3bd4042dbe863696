#pragma once
// The installation window: the folder, the two shortcut options and the
// Install / Stop button. It is the installer's main window; on its first
// showing it decides by the program's name whether to install or uninstall.

#include <QWidget>

#include "installer/Installation.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SetupCopy;

// The installer is a program of its own; its windows keep their names
// apart from the application's windows of the same names.
namespace Installer {

class TForm2;
class TForm3;

class TForm1 : public QWidget
{
    Q_OBJECT

public:
    // `programPath`: the running program, whose name chooses the mode and
    // beside which the archive lies; `uninstaller`: the file copied into the
    // installation as the uninstaller (the program's own executable).
    TForm1(const QString& programPath, const QString& uninstaller, QWidget* parent = nullptr);
    ~TForm1() override;

    // The agreement and uninstallation windows, re-captioned with this one.
    void SetWindows(TForm2* agreement, TForm3* uninstallation);
    // Captions of all three windows in the current language.
    void ApplyLanguageToAll();

    bool IsEnded() const { return m_ended; }
    SetupCopy* CopyThread() const { return m_copy; }

    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button5;
    QPushButton* Button3;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QLabel* Label4;
    QLabel* Image1;

public slots:
    void FormShow();
    void Button5Click();
    void Button3Click();
    // The copy thread's completion.
    void CompleteInstallation();
    // The progress line: the file being copied, shortened to the window.
    void ShowProgress(const QString& path);

signals:
    // The program is to end.
    void ProgramEnded();
    // The copy thread is about to start: the place to follow its progress.
    void CopyStarting(SetupCopy* copy);

protected:
    void showEvent(QShowEvent* event) override;
    // Closing while files are copied is a stop, with the same question.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ElideProgress();
    void AskToStop();
    void EndProgram();

    QString m_programPath;
    QString m_uninstaller;
    TForm2* m_agreement = nullptr;
    TForm3* m_uninstallation = nullptr;
    SetupCopy* m_copy = nullptr;
    InstallChoice m_choice;
    QString m_progress; // the whole path Label4 shows a part of
    bool m_shown = false;
    bool m_asking = false;
    bool m_finishedWhileAsking = false;
    bool m_stopAnswered = false; // Yes to the stop question
    bool m_ended = false;
};

// Captions of one installer window (its radio buttons keep their texts).
void ApplyLanguage(QWidget* window);

// Qt's own dialogs (the folder browser) keep their history in a settings
// file of the user's config folder; the installer sends it to `folder`, so
// that the installation leaves no file behind that its removal would not
// take away.
void KeepDialogHistoryIn(const QString& folder);

} // namespace Installer
