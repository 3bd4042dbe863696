#include "installer/widgets/Setup1.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

#include "installer/InstallPaths.h"
#include "installer/SetupCopy.h"
#include "installer/widgets/Setup2.h"
#include "installer/widgets/Setup3.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/ProcessSignals.h"
#include "platform/UserDialogs.h"
#include "platform/widgets/Captions.h"
#include "platform/widgets/ScreenFit.h"
#include "platform/widgets/QtTranslation.h"

namespace Installer {

namespace {
constexpr int PictureSize = 64;
constexpr int FolderFieldWidth = 360;
} // namespace

void ApplyLanguage(QWidget* window)
{
    ApplyCaptions(window, RadioButtonCaptions::Keep);
}

void KeepDialogHistoryIn(const QString& folder)
{
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, folder);
}

TForm1::TForm1(const QString& programPath, const QString& uninstaller, QWidget* parent)
    : QWidget(parent), m_programPath(programPath), m_uninstaller(uninstaller)
{
    IgnoreFileSizeSignal();
    SetTag(this, StringId::InstallCaption);
    FitOnScreenWhenShown(this);
    Image1 = new QLabel(this);
    const QString picture = QStringLiteral(":/Quillfen2.svg"); // built into the Setup program
    if (QFile::exists(picture))
        Image1->setPixmap(QIcon(picture).pixmap(PictureSize, PictureSize));
    Label1 = new QLabel(this);
    SetTag(Label1, StringId::FolderLabel);
    Edit1 = new QLineEdit(DefaultInstallFolder() + u'/', this);
    Edit1->setMinimumWidth(FolderFieldWidth);
    Button5 = new QPushButton(this);
    SetTag(Button5, StringId::Change);
    CheckBox1 = new QCheckBox(this);
    SetTag(CheckBox1, StringId::DesktopIcons);
    CheckBox1->setChecked(true);
    CheckBox2 = new QCheckBox(this);
    SetTag(CheckBox2, StringId::StartMenuIcons);
    CheckBox2->setChecked(true);
    Label4 = new QLabel(this);
    // A long path must not widen the window (past the screen, with Stop).
    Label4->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    Label4->installEventFilter(this);
    Button3 = new QPushButton(this);
    SetTag(Button3, StringId::Install);
    Button3->setDefault(true);

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(Edit1, 1);
    folderRow->addWidget(Button5);
    auto* fields = new QVBoxLayout;
    fields->addWidget(Label1);
    fields->addLayout(folderRow);
    fields->addWidget(CheckBox1);
    fields->addWidget(CheckBox2);
    fields->addWidget(Label4);
    fields->addWidget(Button3, 0, Qt::AlignRight);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(Image1, 0, Qt::AlignTop);
    layout->addLayout(fields, 1);

    connect(Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
}

TForm1::~TForm1() = default; // the copy thread is a child: it stops and is waited for

void TForm1::SetWindows(TForm2* agreement, TForm3* uninstallation)
{
    m_agreement = agreement;
    m_uninstallation = uninstallation;
    connect(m_agreement, &TForm2::LanguageChanged, this, &TForm1::ApplyLanguageToAll);
}

void TForm1::ApplyLanguageToAll()
{
    UseQtTranslation(MainLanguage.GetLanguage());
    for (QWidget* window : {static_cast<QWidget*>(this), static_cast<QWidget*>(m_agreement),
                            static_cast<QWidget*>(m_uninstallation)})
        if (window)
            ApplyLanguage(window);
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!std::exchange(m_shown, true)) // the modal windows open once this one is up
        QTimer::singleShot(0, this, &TForm1::FormShow);
}

void TForm1::FormShow()
{
    if (IsUninstallerName(m_programPath)) {
        if (m_uninstallation)
            m_uninstallation->exec();
        EndProgram();
        return;
    }
    if (!m_agreement || m_agreement->exec() != QDialog::Accepted)
        EndProgram();
}

void TForm1::Button5Click()
{
    const QString folder =
        Dialogs().BrowseForFolder(MainLanguage.GetString(StringId::FolderLabel), Edit1->text());
    if (!folder.isEmpty())
        Edit1->setText(folder);
}

void TForm1::Button3Click()
{
    if (m_copy) {
        AskToStop();
        return;
    }
    const QString caption = MainLanguage.GetString(StringId::InstallCaption);
    Button3->setText(MainLanguage.GetString(StringId::Stop));
    const QString typed = FolderFromText(Edit1->text());
    const QString folder = typed.isEmpty() ? typed : QDir(typed).absolutePath();
    const QStringList missing = folder.isEmpty() ? QStringList() : FoldersMissingBefore(folder);
    if (folder.isEmpty() || !QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
        RemoveFoldersLeftEmpty(missing);
        Dialogs().MessageBox(MainLanguage.GetString(StringId::CannotCreateFolder), caption,
                             MsgButtons::Ok, MsgIcon::Error);
        return;
    }
    m_choice.folder = folder;
    m_choice.desktopIcons = CheckBox1->isChecked();
    m_choice.startMenuIcons = CheckBox2->isChecked();
    m_choice.language = MainLanguage.GetLanguage();
    m_choice.missingFolders = missing;
    const QString archive = ArchiveBeside(m_programPath);
    if (!QFileInfo(archive).isFile()) {
        RemoveFoldersLeftEmpty(missing);
        Dialogs().MessageBox(MainLanguage.GetString(StringId::CannotOpenArchive), caption,
                             MsgButtons::Ok, MsgIcon::Error);
        EndProgram();
        return;
    }
    m_stopAnswered = false;
    m_copy = new SetupCopy(archive, m_choice.folder, m_uninstaller, this);
    connect(m_copy, &SetupCopy::FileStarted, this, &TForm1::ShowProgress);
    connect(m_copy, &QThread::finished, this, &TForm1::CompleteInstallation);
    emit CopyStarting(m_copy);
    m_copy->start();
}

void TForm1::AskToStop()
{
    m_copy->Pause();
    m_asking = true;
    const int answer = Dialogs().MessageBox(
        MainLanguage.GetString(StringId::CancelInstallationQuestion),
        MainLanguage.GetString(StringId::InstallCaption), MsgButtons::YesNo, MsgIcon::Question);
    m_asking = false;
    if (answer == IDYES) {
        // Whatever the copy got to meanwhile, nothing of it is put in place.
        m_stopAnswered = true;
        m_copy->Terminate();
    } else {
        m_copy->Resume();
    }
    if (std::exchange(m_finishedWhileAsking, false))
        CompleteInstallation();
}

void TForm1::CompleteInstallation()
{
    // The thread may end while the user is still asked whether to stop; the
    // completion then waits for the answer.
    if (m_asking) {
        m_finishedWhileAsking = true;
        return;
    }
    if (!m_copy)
        return;
    SetupCopy* copy = std::exchange(m_copy, nullptr);
    Button3->setText(MainLanguage.GetString(StringId::Install));
    ShowProgress(QString());
    CopyOutcome outcome = CopyOutcome::Stopped;
    if (m_stopAnswered)
        copy->Discard();
    else
        outcome = copy->Apply();
    ::CompleteInstallation(m_choice, outcome, copy->Failure());
    copy->deleteLater();
    EndProgram();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (!m_copy) {
        QWidget::closeEvent(event);
        return;
    }
    event->ignore();
    if (!m_asking)
        AskToStop();
}

void TForm1::ShowProgress(const QString& path)
{
    m_progress = path;
    ElideProgress();
}

void TForm1::ElideProgress()
{
    Label4->setText(Label4->fontMetrics().elidedText(m_progress, Qt::ElideMiddle,
                                                     Label4->contentsRect().width()));
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label4 && event->type() == QEvent::Resize)
        ElideProgress();
    return QWidget::eventFilter(watched, event);
}

void TForm1::EndProgram()
{
    m_ended = true;
    emit ProgramEnded();
}

} // namespace Installer
