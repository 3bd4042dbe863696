// The installer and uninstaller driven through their windows in a private
// home: real cabinets made with gcab, real files, INI values and desktop
// entries checked byte for byte.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtEndian>
#include <QtTest/QTest>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>

#include <unistd.h>

#include "common/FakeDialogs.h"
#include "common/FramedGeometry.h"
#include "installer/AgreementText.h"
#include "installer/DesktopFiles.h"
#include "installer/InstallLog.h"
#include "installer/InstallPaths.h"
#include "installer/InstallerSandbox.h"
#include "installer/SetupCopy.h"
#include "installer/Uninstallation.h"
#include "installer/widgets/Setup1.h"
#include "installer/widgets/Setup2.h"
#include "installer/widgets/Setup3.h"
#include "language/StringIds.h"
#include "platform/Registry.h"

namespace {

using Installer::TForm1;
using Installer::TForm2;
using Installer::TForm3;

constexpr int CopyTimeoutMs = 60000;

QString Text(int id, int language = Language::Current)
{
    return MainLanguage.GetString(id, language);
}

// The files below `folder`, relative, links and folders left out.
std::set<QString> FilesBelow(const QString& folder)
{
    std::set<QString> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.insert(QDir(folder).relativeFilePath(it.next()));
    return files;
}

// Every folder, file and link below `root` with what it is: a file by its
// permissions, size and contents' hash, so that a difference reads plainly.
std::map<std::string, std::string> Tree(const QString& root)
{
    std::map<std::string, std::string> tree;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        std::string what = "folder";
        if (info.isSymLink()) {
            what = "link to " + info.symLinkTarget().toStdString();
        } else if (!info.isDir()) {
            const QByteArray bytes = InstallerSandbox::ReadFile(path);
            what =
                QString::asprintf("file %o %lld ", unsigned(info.permissions()),
                                  qlonglong(bytes.size()))
                    .toStdString()
                + QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().toStdString();
        }
        tree[QDir(root).relativeFilePath(path).toStdString()] = what;
    }
    return tree;
}

// Asks `whileAsked` to look around while a Yes/No question is open, before
// it is answered.
class WatchingDialogs : public FakeDialogs
{
public:
    int MessageBox(const QString& text, const QString& caption, MsgButtons buttons,
                   MsgIcon icon) override
    {
        if (buttons == MsgButtons::YesNo && whileAsked)
            whileAsked();
        return FakeDialogs::MessageBox(text, caption, buttons, icon);
    }
    std::function<void()> whileAsked;
};

QString ReadValue(RootKey root, const QString& key, const QString& name)
{
    TRegistry reg(root);
    return reg.OpenKey(key, false) ? reg.ReadString(name) : QStringLiteral("<no key>");
}

// A single cabinet made the first of a set: the names of the next cabinet
// and its disk follow the header, and every offset behind them moves on.
QByteArray AsFirstOfASet(QByteArray cabinet)
{
    constexpr qsizetype SizeAt = 8, FilesAt = 16, FolderCountAt = 26, FlagsAt = 30, HeaderSize = 36;
    constexpr quint16 NextCabinetFlag = 0x0002, ReserveFlag = 0x0004;
    constexpr qsizetype FolderEntrySize = 8;
    const auto u16 = [&](qsizetype at) {
        return qFromLittleEndian<quint16>(cabinet.constData() + at);
    };
    const auto addTo32 = [&](qsizetype at, quint32 add) {
        qToLittleEndian<quint32>(qFromLittleEndian<quint32>(cabinet.constData() + at) + add,
                                 cabinet.data() + at);
    };
    EXPECT_TRUE(cabinet.startsWith("MSCF"));
    EXPECT_EQ(u16(FlagsAt) & ReserveFlag, 0);
    const QByteArray names("Quillfen2b.cab\0Disk 2\0", 22);
    const int folders = u16(FolderCountAt);
    cabinet.insert(HeaderSize, names);
    qToLittleEndian<quint16>(u16(FlagsAt) | NextCabinetFlag, cabinet.data() + FlagsAt);
    addTo32(SizeAt, names.size());
    addTo32(FilesAt, names.size());
    for (int i = 0; i < folders; ++i)
        addTo32(HeaderSize + names.size() + i * FolderEntrySize, names.size()); // its data's offset
    return cabinet;
}

class SetupTest : public ::testing::Test
{
protected:
    // The installer program with the cabinet beside it (when one is made).
    QString ProgramPath() const { return sandbox.Path("cd/Setup"); }
    QString Cabinet() const { return sandbox.Path("cd/Quillfen2.cab"); }
    QString Folder() const { return sandbox.Path("Program Files/Quillfen 2"); }

    void SetUp() override
    {
        InstallerSandbox::WriteFile(ProgramPath(), "installer program bytes");
        NewWindows();
    }

    // The windows of a fresh start of the installer.
    void NewWindows()
    {
        form1 = std::make_unique<TForm1>(ProgramPath(), ProgramPath());
        form2 = new TForm2(form1.get());
        form3 = new TForm3(form1.get());
        form1->SetWindows(form2, form3);
        form1->ApplyLanguageToAll();
    }

    // Nothing of the installation is registered with the desktop or the
    // uninstall entry.
    void ExpectNothingRegistered() const
    {
        EXPECT_FALSE(QFileInfo::exists(sandbox.Path("home/Desktop/Quillfen2.desktop")));
        EXPECT_FALSE(QFileInfo::exists(sandbox.DataHome() + "/applications/Quillfen2"));
        EXPECT_FALSE(QFileInfo::exists(sandbox.DataHome() + "/applications/Quillfen2.desktop"));
        EXPECT_FALSE(QFileInfo::exists(sandbox.DataHome() + "/mime/packages/Quillfen2.xml"));
        EXPECT_FALSE(QFileInfo::exists(sandbox.ConfigHome() + "/mimeapps.list"));
        EXPECT_FALSE(TRegistry(RootKey::LocalMachine).KeyExists(UninstallKey));
    }

    // Shows the installation window as the program does, which opens the
    // agreement; the user agrees.
    void ShowAndAgree()
    {
        bool agreed = false;
        QTimer agree;
        QObject::connect(&agree, &QTimer::timeout, form2, [&] {
            if (form2->isVisible() && !std::exchange(agreed, true))
                form2->Button1->click();
        });
        agree.start(0);
        form1->show();
        QTRY_VERIFY(agreed && !form2->isVisible());
        ASSERT_FALSE(form1->IsEnded());
    }

    // Holds the worker as the stop question does, as soon as the member
    // whose target ends with `target` (the first member when empty) begins.
    void HoldAt(std::atomic<bool>& started, const QString& target = QString())
    {
        QObject::connect(form1.get(), &TForm1::CopyStarting, [&started, target](SetupCopy* copy) {
            QObject::connect(
                copy, &SetupCopy::FileStarted, copy,
                [copy, &started, target](const QString& path) {
                    if (path.endsWith(target) && !started.exchange(true))
                        copy->Pause();
                },
                Qt::DirectConnection);
        });
    }

    // Starts the installation into `folder` and waits until the copy holds
    // at the first member whose path ends with `target`; false when it never
    // got there.
    bool StartInstallHeldAt(const QString& folder, const QString& target = QString())
    {
        held = false;
        HoldAt(held, target);
        ShowAndAgree();
        form1->Edit1->setText(folder);
        form1->Button3->click();
        return QTest::qWaitFor([this] { return held.load(); }, CopyTimeoutMs);
    }
    std::atomic<bool> held{false};

    // Gives a packed member the name gcab cannot store; both names are as long.
    void RenameInCabinet(const QByteArray& packed, const QByteArray& name) const
    {
        ASSERT_EQ(packed.size(), name.size());
        QByteArray cabinet = InstallerSandbox::ReadFile(Cabinet());
        ASSERT_EQ(cabinet.count(packed), 1) << packed.constData();
        cabinet.replace(packed, name);
        InstallerSandbox::WriteFile(Cabinet(), cabinet);
    }

    // The closing message of an archive refused before anything was written.
    static QString Refused(int why, const QString& member)
    {
        return Text(why) + '\n' + PrintableName(member) + "\n\n" + Text(StringId::NothingInstalled);
    }

    static constexpr char UninstallKey[] =
        "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillfen2";

    // Types the folder the way a user might and presses Install, then waits
    // for the program to end.
    void Install(bool desktopIcons = true, bool startMenuIcons = true)
    {
        form1->Edit1->setText("  " + Folder() + "/ ");
        form1->CheckBox1->setChecked(desktopIcons);
        form1->CheckBox2->setChecked(startMenuIcons);
        form1->Button3->click();
        QTRY_VERIFY_WITH_TIMEOUT(form1->IsEnded(), CopyTimeoutMs);
    }

    const InstallerSandbox::Members members{
        {"Quillfen2", "#!/bin/sh\necho program\n"},
        {"Quillfen2.svg", "<svg/>"},
        {"qfs/Example.qfs", "QFS4example"},
        {"help/en/index.txt", "help"},
    };
    QStringList Targets() const
    {
        QStringList targets;
        for (const auto& member : members)
            targets << Folder() + '/' + member.first;
        return targets;
    }

    // The whole sandbox but the installer's own folder.
    std::map<std::string, std::string> Everything() const
    {
        std::map<std::string, std::string> tree = Tree(QDir::cleanPath(sandbox.Path(".")));
        std::erase_if(tree, [](const auto& entry) {
            return entry.first == "cd" || entry.first.starts_with("cd/");
        });
        return tree;
    }

    InstallerSandbox sandbox;
    WatchingDialogs dialogs;
    std::unique_ptr<TForm1> form1;
    TForm2* form2 = nullptr;
    TForm3* form3 = nullptr;
};

class SetupInLanguage : public SetupTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(SetupInLanguage, InstallsEverythingAndTheUninstallerRemovesOnlyWhatWasInstalled)
{
    const int language = GetParam();
    sandbox.MakeCabinet(Cabinet(), members);
    // The user's own files, and another program's default that must survive.
    InstallerSandbox::WriteFile(Folder() + "/notes.txt", "mine");
    InstallerSandbox::WriteFile(Folder() + "/qfs/Mine.qfs", "QFS4mine");
    InstallerSandbox::WriteFile(sandbox.ConfigHome() + "/mimeapps.list",
                                "[Default Applications]\ntext/html=browser.desktop\n");
    emit form2->ComboBox1->activated(language);

    Install();

    EXPECT_EQ(dialogs.Texts(), QStringList{Text(StringId::SetupSuccessful)});
    EXPECT_EQ(dialogs.messages.value(0).caption, Text(StringId::InstallCaption));
    EXPECT_EQ(form1->Button3->text(), Text(StringId::Install));
    EXPECT_TRUE(form1->Label4->text().isEmpty());
    for (const auto& [name, bytes] : members)
        EXPECT_EQ(InstallerSandbox::ReadFile(Folder() + '/' + name), bytes) << qPrintable(name);
    EXPECT_EQ(InstallerSandbox::ReadFile(Folder() + "/uninst.dat"),
              (Targets().join("\r\n") + "\r\n").toUtf8());
    EXPECT_EQ(InstallerSandbox::ReadFile(Folder() + "/uninst"), "installer program bytes");
    // The programs run (the menu, the icon and the association start them);
    // nothing else becomes executable.
    EXPECT_TRUE(QFileInfo(Folder() + "/Quillfen2").isExecutable());
    EXPECT_TRUE(QFileInfo(Folder() + "/uninst").isExecutable());
    for (const char* data : {"/Quillfen2.svg", "/qfs/Example.qfs", "/uninst.dat"})
        EXPECT_FALSE(QFileInfo(Folder() + data).isExecutable()) << data;

    // Registry values: the program's language and the uninstall entry.
    {
        TRegistry user;
        ASSERT_TRUE(user.OpenKey("\\Software\\Quillfen2", false));
        EXPECT_EQ(user.ReadInteger("Language"), language);
    }
    const QString uninstallKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillfen2";
    EXPECT_EQ(ReadValue(RootKey::LocalMachine, uninstallKey, "DisplayName"), "Quillfen2");
    EXPECT_EQ(ReadValue(RootKey::LocalMachine, uninstallKey, "UninstallString"), Folder() + "/uninst");
    EXPECT_EQ(ReadValue(RootKey::LocalMachine, uninstallKey, "InstallDir"), Folder());

    // The association: MIME package, hidden entry with the quoted program, default.
    const QString data = sandbox.DataHome();
    EXPECT_EQ(InstallerSandbox::ReadFile(data + "/mime/packages/Quillfen2.xml"), MimePackageText());
    const QByteArray folder = Folder().toUtf8();
    EXPECT_EQ(InstallerSandbox::ReadFile(data + "/applications/Quillfen2.desktop"),
              "[Desktop Entry]\nType=Application\nVersion=1.0\nName=Quillfen2\n"
              "Exec=\"" + folder + "/Quillfen2\" %f\nPath=" + folder + "\nIcon=" + folder
                  + "/Quillfen2.svg\nMimeType=application/x-quillfen2;\nNoDisplay=true\n"
                    "Terminal=false\n");
    EXPECT_EQ(InstallerSandbox::ReadFile(sandbox.ConfigHome() + "/mimeapps.list"),
              "[Default Applications]\ntext/html=browser.desktop\n"
              "application/x-quillfen2=Quillfen2.desktop\n");

    // Shortcuts: the desktop icon (executable) and the two Start menu entries.
    const QString desktopIcon = sandbox.Path("home/Desktop/Quillfen2.desktop");
    const QByteArray programEntry = "[Desktop Entry]\nType=Application\nVersion=1.0\nName=Quillfen2\n"
                                    "Exec=\"" + folder + "/Quillfen2\"\nPath=" + folder + "\nIcon="
                                    + folder + "/Quillfen2.svg\nTerminal=false\n";
    EXPECT_EQ(InstallerSandbox::ReadFile(desktopIcon), programEntry);
    EXPECT_TRUE(QFileInfo(desktopIcon).isExecutable());
    const QString startMenu = data + "/applications/Quillfen2";
    EXPECT_EQ(InstallerSandbox::ReadFile(startMenu + "/Quillfen2.desktop"), programEntry);
    const QString uninstallName = Text(StringId::UninstallCaption, language);
    const QByteArray uninstallEntry =
        InstallerSandbox::ReadFile(startMenu + '/' + uninstallName + ".desktop");
    EXPECT_TRUE(uninstallEntry.contains("\nName=" + uninstallName.toUtf8() + "\nExec=\"" + folder
                                        + "/uninst\"\n"))
        << uninstallEntry.constData();

    // The uninstaller runs in Czech whatever language installed.
    MainLanguage.SetLanguage(Language::Czech);
    TForm3 uninstaller;
    uninstaller.Button1->click();
    EXPECT_EQ(FilesBelow(Folder()), (std::set<QString>{"notes.txt", "qfs/Mine.qfs"}));
    EXPECT_FALSE(QFileInfo::exists(Folder() + "/help")); // made by the archive, left empty
    ASSERT_EQ(dialogs.Texts().size(), 2);
    EXPECT_EQ(dialogs.Texts().last(), Text(StringId::UninstallSuccessful));
    EXPECT_EQ(dialogs.messages.last().caption, Text(StringId::UninstallCaption));
    // Settings files left without values are removed (the user's list stays).
    EXPECT_FALSE(QFileInfo::exists(sandbox.ConfigHome() + "/Quillfen2.ini"));
    EXPECT_FALSE(QFileInfo::exists(sandbox.ConfigHome() + "/Quillfen2"));
    EXPECT_FALSE(QFileInfo::exists(desktopIcon));
    EXPECT_FALSE(QFileInfo::exists(startMenu));
    EXPECT_FALSE(QFileInfo::exists(data + "/mime/packages/Quillfen2.xml"));
    EXPECT_FALSE(QFileInfo::exists(data + "/applications/Quillfen2.desktop"));
    EXPECT_EQ(InstallerSandbox::ReadFile(sandbox.ConfigHome() + "/mimeapps.list"),
              "[Default Applications]\ntext/html=browser.desktop\n");
    EXPECT_EQ(ReadValue(RootKey::LocalMachine, uninstallKey, "InstallDir"), "<no key>");
    EXPECT_FALSE(TRegistry().KeyExists("\\Software\\Quillfen2"));

    // A second run finds no log and removes nothing more.
    EXPECT_FALSE(RemoveInstallation());
    EXPECT_EQ(dialogs.Texts().last(), Text(StringId::CannotOpenLog));
    EXPECT_EQ(dialogs.messages.last().caption, "UNINST.EXE");
    EXPECT_EQ(FilesBelow(Folder()), (std::set<QString>{"notes.txt", "qfs/Mine.qfs"}));
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, SetupInLanguage,
                         ::testing::Values(Language::English, Language::Czech));

// The installation window opens with its frame, title bar included, on the
// screen, and the agreement opens centred over it.
TEST_F(SetupTest, WindowsOpenWhollyOnTheScreenWithTheAgreementOverTheInstallation)
{
    QRect agreement;
    QTimer agree;
    QObject::connect(&agree, &QTimer::timeout, form2, [&] {
        if (form2->isVisible() && agreement.isNull()) {
            agreement = Framed(*form2);
            form2->Button1->click();
        }
    });
    agree.start(0);
    form1->show();
    QTRY_VERIFY(!agreement.isNull() && !form2->isVisible());
    const QRect area = form1->screen()->availableGeometry();
    const QRect installation = Framed(*form1);
    EXPECT_TRUE(area.contains(installation));
    EXPECT_TRUE(area.contains(agreement));
    EXPECT_LE((agreement.center() - installation.center()).manhattanLength(), 1);
}

TEST_F(SetupTest, WithoutShortcutsOnlyTheEntriesAreWritten)
{
    sandbox.MakeCabinet(Cabinet(), members);
    QDir().mkpath(sandbox.Path("Program Files")); // there before: it stays, even empty
    Install(false, false);
    EXPECT_EQ(dialogs.Texts(), QStringList{Text(StringId::SetupSuccessful)});
    EXPECT_FALSE(QFileInfo::exists(sandbox.Path("home/Desktop")));
    EXPECT_FALSE(QFileInfo::exists(sandbox.DataHome() + "/applications/Quillfen2"));
    EXPECT_TRUE(QFileInfo::exists(sandbox.DataHome() + "/applications/Quillfen2.desktop"));
    EXPECT_EQ(ReadValue(RootKey::LocalMachine, UninstallKey, "InstallDir"), Folder());

    // Removed again, the installation leaves neither its folder nor a file
    // among the user's settings.
    TForm3 uninstaller;
    uninstaller.Button1->click();
    EXPECT_FALSE(QFileInfo::exists(Folder()));
    EXPECT_TRUE(QFileInfo::exists(sandbox.Path("Program Files")));
    EXPECT_TRUE(FilesBelow(sandbox.ConfigHome()).empty());
    EXPECT_FALSE(QFileInfo::exists(sandbox.ConfigHome() + "/Quillfen2"));
}

// Stopped with the Stop button or with the window's close box: the same
// question, the same ending.
class SetupStopTest : public SetupTest, public ::testing::WithParamInterface<bool>
{};

TEST_P(SetupStopTest, StoppingMidwayInstallsNothingAndTakesAwayTheFolderItMade)
{
    const bool byCloseBox = GetParam();
    sandbox.MakeCabinet(Cabinet(), members);
    ASSERT_TRUE(StartInstallHeldAt(Folder()));
    EXPECT_EQ(form1->Button3->text(), Text(StringId::Stop));
    if (byCloseBox)
        EXPECT_FALSE(form1->close()); // the answer ends the program, not the close box
    else
        form1->Button3->click(); // "Cancel installation ?" Yes
    QTRY_VERIFY_WITH_TIMEOUT(form1->IsEnded(), CopyTimeoutMs);

    EXPECT_EQ(dialogs.Texts(), QStringList({Text(StringId::CancelInstallationQuestion),
                                            Text(StringId::NothingInstalled)}));
    EXPECT_FALSE(QFileInfo::exists(sandbox.Path("Program Files")));
    ExpectNothingRegistered();
}

INSTANTIATE_TEST_SUITE_P(ButtonOrCloseBox, SetupStopTest, ::testing::Bool());

TEST_F(SetupTest, ClosingWhileCopyingAndAnsweringNoGoesOn)
{
    sandbox.MakeCabinet(Cabinet(), members);
    ASSERT_TRUE(StartInstallHeldAt(Folder()));
    dialogs.answers.enqueue(IDNO);
    EXPECT_FALSE(form1->close());
    EXPECT_TRUE(form1->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(form1->IsEnded(), CopyTimeoutMs);
    EXPECT_EQ(dialogs.Texts(), QStringList({Text(StringId::CancelInstallationQuestion),
                                            Text(StringId::SetupSuccessful)}));
    for (const auto& [name, bytes] : members)
        EXPECT_EQ(InstallerSandbox::ReadFile(Folder() + '/' + name), bytes) << qPrintable(name);
}

// A file-size limit cuts the new program short, as a full disk would: the
// installation is put in place whole or not at all.
TEST_F(SetupTest, CutProgramLeavesAFreshHomeAndAnEarlierInstallationAsTheyWere)
{
    constexpr rlim_t Limit = 1 << 20;
    InstallerSandbox::Members larger = members;
    larger[0].second = QByteArray(2 * Limit, 'q'); // the program
    larger.emplace_back("help/cs/index.txt", "nápověda");
    const QString cut = Text(StringId::FileNotInstalled) + "\nQuillfen2\n" + qt_error_string(EFBIG)
                        + "\n\n" + Text(StringId::NothingInstalled);

    // A fresh home keeps nothing: no cut program, no temporary, no folder.
    sandbox.MakeCabinet(Cabinet(), larger);
    const auto fresh = Everything();
    {
        const ScopedFileSizeLimit limit(Limit);
        Install();
    }
    EXPECT_EQ(dialogs.Texts(), QStringList{cut});
    EXPECT_EQ(Everything(), fresh);
    ExpectNothingRegistered();

    // An earlier installation stays runnable, registered and uninstallable.
    sandbox.MakeCabinet(Cabinet(), members);
    NewWindows();
    Install();
    ASSERT_EQ(dialogs.Texts().last(), Text(StringId::SetupSuccessful));
    const auto installed = Everything();
    sandbox.MakeCabinet(Cabinet(), larger);
    NewWindows();
    {
        const ScopedFileSizeLimit limit(Limit);
        Install();
    }
    EXPECT_EQ(dialogs.Texts().last(), cut);
    EXPECT_EQ(Everything(), installed);
    EXPECT_EQ(InstallerSandbox::ReadFile(Folder() + "/Quillfen2"), members[0].second);
    EXPECT_TRUE(QFileInfo(Folder() + "/Quillfen2").isExecutable());
    EXPECT_EQ(ReadInstallLog(InstallerSandbox::ReadFile(Folder() + "/uninst.dat"), Folder()),
              Targets());
    EXPECT_EQ(ReadValue(RootKey::LocalMachine, UninstallKey, "InstallDir"), Folder());

    TForm3 uninstaller;
    uninstaller.Button1->click();
    EXPECT_EQ(dialogs.Texts().last(), Text(StringId::UninstallSuccessful));
    EXPECT_FALSE(QFileInfo::exists(Folder()));
}

// The question holds the copy at once, inside a large member too, and Yes
// puts nothing in place even when that member was the last.
TEST_F(SetupTest, StopInsideALargeMemberLeavesTheEarlierInstallationAsItWas)
{
    sandbox.MakeCabinet(Cabinet(), members);
    Install();
    ASSERT_EQ(dialogs.Texts(), QStringList{Text(StringId::SetupSuccessful)});
    const auto installed = Everything();

    constexpr qsizetype Large = 8 << 20;
    sandbox.MakeCabinet(Cabinet(), {{"Quillfen2.svg", "<svg version=\"2\"/>"},
                                    {"Quillfen2", QByteArray(Large, 'q')}});
    NewWindows();
    ASSERT_TRUE(StartInstallHeldAt(Folder(), "/Quillfen2"));
    // The new program is begun beside the old one, and not a byte further:
    // beside the empty log's temporary, the uninstaller's and the icon's are
    // whole.
    std::multiset<qint64> writtenWhileAsked;
    dialogs.whileAsked = [&] {
        for (const QString& file : FilesBelow(Folder()))
            if (file.startsWith(".qf-new-"))
                writtenWhileAsked.insert(QFileInfo(Folder() + '/' + file).size());
    };
    form1->Button3->click(); // "Cancel installation ?" Yes
    QTRY_VERIFY_WITH_TIMEOUT(form1->IsEnded(), CopyTimeoutMs);

    EXPECT_EQ(writtenWhileAsked,
              (std::multiset<qint64>{0, 0, qint64(sizeof "installer program bytes" - 1),
                                     qint64(sizeof "<svg version=\"2\"/>" - 1)}));
    EXPECT_EQ(dialogs.Texts().mid(1), QStringList({Text(StringId::CancelInstallationQuestion),
                                                   Text(StringId::NothingInstalled)}));
    EXPECT_EQ(Everything(), installed);
}

// A desktop's home, with the tools that generate its caches (a stand-in for
// update-desktop-database, which not every machine has): an installation,
// an update over it and the uninstallation leave exactly what was there.
TEST_F(SetupTest, InstallUpdateAndUninstallLeaveTheHomeAsItWas)
{
    QDir().mkpath(sandbox.ConfigHome());
    QDir().mkpath(sandbox.DataHome());
    const QString tools = sandbox.Path("tools");
    InstallerSandbox::WriteFile(tools + "/update-desktop-database",
                                "#!/bin/sh\nprintf '[MIME Cache]\\n' > \"$1/mimeinfo.cache\"\n");
    ASSERT_TRUE(QFile::setPermissions(tools + "/update-desktop-database",
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const ScopedEnv path("PATH", QFile::encodeName(tools) + ':' + qgetenv("PATH"));
    sandbox.MakeCabinet(Cabinet(), members);
    const auto before = Tree(sandbox.Path("home"));

    for (int run = 0; run < 2; ++run) {
        NewWindows();
        form1->Edit1->setText(" ~/Programs/Quillfen2/ ");
        form1->Button3->click();
        QTRY_VERIFY_WITH_TIMEOUT(form1->IsEnded(), CopyTimeoutMs);
        ASSERT_EQ(dialogs.Texts().last(), Text(StringId::SetupSuccessful)) << run;
    }
    // "~" is the home folder, never a folder of that name.
    const QString folder = sandbox.Path("home/Programs/Quillfen2");
    EXPECT_EQ(InstallerSandbox::ReadFile(folder + "/Quillfen2"), members[0].second);
    EXPECT_EQ(ReadValue(RootKey::LocalMachine, UninstallKey, "InstallDir"), folder);
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath("~")));
    EXPECT_FALSE(QFileInfo::exists(sandbox.Path("cd/~")));
    EXPECT_TRUE(QFileInfo::exists(sandbox.Path("home/Desktop/Quillfen2.desktop")));
    EXPECT_TRUE(QFileInfo::exists(sandbox.DataHome() + "/applications/mimeinfo.cache"));
    // The program's own settings, as it keeps them; they go with it.
    {
        TRegistry user;
        ASSERT_TRUE(user.OpenKey("\\Software\\Quillfen2", true));
        user.WriteString("ComPort", "COM3");
        ASSERT_TRUE(user.OpenKey("\\Software\\Quillfen2\\Columns", true));
        user.WriteInteger("Count", 12);
    }

    TForm3 uninstaller;
    uninstaller.Button1->click();
    EXPECT_EQ(dialogs.Texts().last(), Text(StringId::UninstallSuccessful));
    EXPECT_EQ(Tree(sandbox.Path("home")), before);
}

TEST_F(SetupTest, ArchiveWithANameOutsideTheFolderInstallsNothing)
{
    // gcab drops "..", so the name is patched into the packed archive.
    sandbox.MakeCabinet(Cabinet(), {{"Quillfen2", "program"}, {"zz/x", "escaped"}});
    QByteArray cabinet = InstallerSandbox::ReadFile(Cabinet());
    ASSERT_EQ(cabinet.count("zz\\x"), 1);
    cabinet.replace("zz\\x", "..\\x");
    InstallerSandbox::WriteFile(Cabinet(), cabinet);

    Install();
    EXPECT_EQ(dialogs.Texts(), QStringList{Text(StringId::ArchiveNameOutside) + "\n..\\x\n\n"
                                           + Text(StringId::NothingInstalled)});
    EXPECT_FALSE(QFileInfo::exists(sandbox.Path("Program Files/x")));
    EXPECT_TRUE(FilesBelow(Folder()).empty());
    ExpectNothingRegistered();
}

TEST_F(SetupTest, NoMemberIsWrittenThroughALinkInsideTheFolder)
{
    // An earlier installation whose documents folder was moved to another disk.
    const QString otherDisk = sandbox.Path("Other disk/qfs");
    InstallerSandbox::WriteFile(otherDisk + "/target", "the user's own file");
    QDir().mkpath(Folder());
    ASSERT_TRUE(QFile::link(otherDisk, Folder() + "/qfs"));
    sandbox.MakeCabinet(Cabinet(), {{"Quillfen2", "program"}, {"qfs/target", "overwritten"}});

    Install();
    EXPECT_EQ(dialogs.Texts(), QStringList{Refused(StringId::ArchiveNameOutside, "qfs\\target")});
    EXPECT_EQ(InstallerSandbox::ReadFile(otherDisk + "/target"), "the user's own file");
    EXPECT_EQ(FilesBelow(sandbox.Path("Other disk")), std::set<QString>{"qfs/target"});
    EXPECT_TRUE(FilesBelow(Folder()).empty()); // not even the program before it
    ExpectNothingRegistered();
}

// Names that would be logged as some other file: the uninstaller would then
// delete a file of the user's that the installer never wrote.
struct UnfitName
{
    const char* packed;  // as gcab stores it
    const char* renamed; // as long, what the archive then holds
};

class SetupUnfitNameTest : public SetupTest, public ::testing::WithParamInterface<UnfitName>
{};

TEST_P(SetupUnfitNameTest, ArchiveIsRefusedAndTheUsersFilesSurviveTheUninstaller)
{
    // An earlier installation, with the user's files beside it.
    sandbox.MakeCabinet(Cabinet(), members);
    InstallerSandbox::WriteFile(Folder() + "/note", "mine");
    InstallerSandbox::WriteFile(Folder() + "/usernote.txt", "mine too");
    Install();
    ASSERT_EQ(dialogs.Texts(), QStringList{Text(StringId::SetupSuccessful)});
    const std::set<QString> installed = FilesBelow(Folder());
    const QByteArray log = InstallerSandbox::ReadFile(Folder() + "/uninst.dat");

    // An archive holding the unfit name; as a log it would list the user's files.
    const QByteArray userFiles = (Folder() + "/usernote.txt\r\n" + Folder() + "/note\r\n").toUtf8();
    InstallerSandbox::Members hostile = members;
    hostile.emplace_back(QString::fromLatin1(GetParam().packed).replace('\\', '/'), userFiles);
    sandbox.MakeCabinet(Cabinet(), hostile);
    RenameInCabinet(GetParam().packed, GetParam().renamed);
    NewWindows();
    Install();
    EXPECT_EQ(dialogs.Texts().last(),
              Refused(StringId::ArchiveNameUnfit, QString::fromLatin1(GetParam().renamed)));
    EXPECT_EQ(FilesBelow(Folder()), installed);
    EXPECT_EQ(InstallerSandbox::ReadFile(Folder() + "/uninst.dat"), log);

    TForm3 uninstaller;
    uninstaller.Button1->click();
    EXPECT_EQ(dialogs.Texts().last(), Text(StringId::UninstallSuccessful));
    EXPECT_EQ(FilesBelow(Folder()), (std::set<QString>{"note", "usernote.txt"}));
}

INSTANTIATE_TEST_SUITE_P(LineEndBlankOrLogName, SetupUnfitNameTest,
                         ::testing::Values(UnfitName{"noteQ\\home\\user\\x",
                                                     "note\n\\home\\user\\x"},
                                           UnfitName{"usernote.txtQ", "usernote.txt "},
                                           UnfitName{"Uninst.daQ", "Uninst.dat"}));

TEST_F(SetupTest, CabinetOfASetIsRefusedAsOne)
{
    sandbox.MakeCabinet(Cabinet(), members);
    InstallerSandbox::WriteFile(Cabinet(), AsFirstOfASet(InstallerSandbox::ReadFile(Cabinet())));
    Install();
    EXPECT_EQ(dialogs.Texts(), QStringList{Text(StringId::CannotOpenArchive) + '\n'
                                           + Text(StringId::ArchivePartOfSet) + "\n\n"
                                           + Text(StringId::NothingInstalled)});
    EXPECT_TRUE(FilesBelow(Folder()).empty());
    ExpectNothingRegistered();
}

// Two members that would be one file: the later would replace the earlier
// and the log list the file twice. gcab stores each name once, so the later
// is renamed in the packed archive: exactly, with "/" for a "\\" and in
// other letters.
TEST_F(SetupTest, CabinetWithTwoMembersOfOneNameIsDamagedAndInstallsNothing)
{
    const QByteArray packed = "help\\en\\indeQ.txt";
    for (const QByteArray renamed :
         {"help\\en\\index.txt", "help/en\\index.txt", "HELP\\en\\Index.txt"}) {
        const auto before = Everything();
        InstallerSandbox::Members twice = members;
        twice.emplace_back(QString(packed).replace('\\', '/'), "the second copy");
        sandbox.MakeCabinet(Cabinet(), twice);
        RenameInCabinet(packed, renamed);
        NewWindows();
        Install();
        EXPECT_EQ(dialogs.Texts().last(), Text(StringId::FileNotInstalled) + '\n' + renamed + '\n'
                                              + Text(StringId::ArchiveDamaged) + "\n\n"
                                              + Text(StringId::NothingInstalled))
            << renamed.constData();
        EXPECT_EQ(Everything(), before) << renamed.constData();
        ExpectNothingRegistered();
    }
}

// A name as long as a name may be (255 bytes of UTF-8, which is also the
// most a cabinet holds) leaves no room for anything added to it: the files
// staged beside it, and the ones an update sets aside, must be named
// otherwise.
TEST_F(SetupTest, MemberWithTheLongestNameIsInstalledUpdatedAndUninstalled)
{
    const QString longest = QString(127, QChar(0x10D)) + 'x'; // each "č" two bytes
    ASSERT_EQ(QFile::encodeName(longest).size(), 255);
    InstallerSandbox::Members withLongest = members;
    withLongest.emplace_back(longest, "the longest");
    sandbox.MakeCabinet(Cabinet(), withLongest);
    const auto before = Everything();

    for (int run = 0; run < 2; ++run) { // the second replaces every file of the first
        NewWindows();
        Install();
        ASSERT_EQ(dialogs.Texts().last(), Text(StringId::SetupSuccessful)) << run;
    }
    const QString target = Folder() + '/' + longest;
    EXPECT_EQ(InstallerSandbox::ReadFile(target), "the longest");
    EXPECT_EQ(ReadInstallLog(InstallerSandbox::ReadFile(Folder() + "/uninst.dat"), Folder()),
              Targets() << target);
    EXPECT_EQ(FilesBelow(Folder()).size(), withLongest.size() + 2); // no temporary stays

    TForm3 uninstaller;
    uninstaller.Button1->click();
    EXPECT_EQ(dialogs.Texts().last(), Text(StringId::UninstallSuccessful));
    EXPECT_EQ(Everything(), before);
}

// The uninstall entry is a file the user, or anyone, may edit: named in its
// record of made folders, an empty folder elsewhere must stay, however the
// name reaches it, and the home folder too.
TEST_F(SetupTest, EditedRecordOfMadeFoldersRemovesOnlyWhatAnInstallationMakes)
{
    sandbox.MakeCabinet(Cabinet(), members);
    const QString outside = sandbox.Path("outside");
    for (const char* name : {"empty", "climbed"})
        ASSERT_TRUE(QDir().mkpath(outside + '/' + name));
    const auto before = Everything();
    Install();
    ASSERT_EQ(dialogs.Texts(), QStringList{Text(StringId::SetupSuccessful)});
    {
        TRegistry machine(RootKey::LocalMachine);
        ASSERT_TRUE(machine.OpenKey(UninstallKey, false));
        const QString made = machine.ReadString("CreatedFolders");
        ASSERT_TRUE(made.split('\n').contains(sandbox.Path("Program Files"))) << qPrintable(made);
        machine.WriteString(
            "CreatedFolders",
            QStringList{outside + "/empty",
                        sandbox.DataHome() + "/applications/../../../../outside/climbed",
                        sandbox.Path("home"), "/", made}
                .join('\n'));
    }

    TForm3 uninstaller;
    uninstaller.Button1->click();
    EXPECT_EQ(dialogs.Texts().last(), Text(StringId::UninstallSuccessful));
    // What the installation made is gone; the empty home and the user's
    // folders are there as before.
    EXPECT_EQ(Everything(), before);
}

TEST_F(SetupTest, FolderThatCannotBeWrittenRegistersNothing)
{
    sandbox.MakeCabinet(Cabinet(), members);
    QDir().mkpath(Folder());
    // The modes keep out every user but the superuser; for that one the
    // log's place is taken by a folder.
    ASSERT_TRUE(QFile::setPermissions(Folder(), QFile::ReadOwner | QFile::ExeOwner));
    if (geteuid() == 0)
        QDir().mkpath(Folder() + "/uninst.dat");

    Install();
    QFile::setPermissions(Folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_EQ(dialogs.Texts().size(), 1);
    const QStringList lines = dialogs.Texts()[0].split('\n');
    ASSERT_EQ(lines.size(), 5) << qPrintable(dialogs.Texts()[0]);
    EXPECT_EQ(lines[0], Text(StringId::FolderNotWritable));
    EXPECT_EQ(lines[1], Folder());
    EXPECT_FALSE(lines[2].isEmpty()); // the system's reason
    EXPECT_EQ(lines[4], Text(StringId::NothingInstalled));
    EXPECT_TRUE(FilesBelow(Folder()).empty());
    ExpectNothingRegistered();
}

TEST_F(SetupTest, LongPathIsShortenedAndKeepsTheStopButtonInTheWindow)
{
    sandbox.MakeCabinet(Cabinet(), members);
    const QString folder =
        sandbox.Path(QString(120, 'a') + '/' + QString(120, 'b') + "/Quillfen 2");
    std::atomic<bool> firstStarted{false};
    HoldAt(firstStarted);
    ShowAndAgree();
    const int width = form1->width();
    form1->Edit1->setText(folder);
    form1->Button3->click();
    QTRY_VERIFY_WITH_TIMEOUT(firstStarted && !form1->Label4->text().isEmpty(), CopyTimeoutMs);
    QApplication::processEvents(); // any relayout the text asks for

    const QString shown = form1->Label4->text();
    EXPECT_NE(shown, folder + "/Quillfen2");
    EXPECT_TRUE(shown.endsWith("/Quillfen2")) << qPrintable(shown);
    EXPECT_LE(form1->Label4->fontMetrics().horizontalAdvance(shown),
              form1->Label4->contentsRect().width());
    EXPECT_EQ(form1->width(), width);
    EXPECT_LE(form1->minimumSizeHint().width(), width);
    EXPECT_TRUE(form1->rect().contains(form1->Button3->geometry()));

    form1->CopyThread()->Resume();
    QTRY_VERIFY_WITH_TIMEOUT(form1->IsEnded(), CopyTimeoutMs);
    EXPECT_EQ(dialogs.Texts(), QStringList{Text(StringId::SetupSuccessful)});
}

// Installed from the very cabinet the build packs for users, the program
// starts as the menu entry starts it.
TEST_F(SetupTest, ProgramFromTheBuiltCabinetStarts)
{
#ifndef QF_SETUP_CABINET
    GTEST_SKIP() << "the build packed no Quillfen2.cab";
#else
    ASSERT_TRUE(QFile::copy(QStringLiteral(QF_SETUP_CABINET), Cabinet()));
    Install();
    ASSERT_EQ(dialogs.Texts(), QStringList{Text(StringId::SetupSuccessful)});
    const QString program = Folder() + "/Quillfen2";
    EXPECT_TRUE(QFileInfo(program).isExecutable());
    EXPECT_FALSE(QFileInfo(Folder() + "/Quillfen2.svg").isExecutable());

    // Without a chosen language the program stores the user's default as it
    // starts: proof that it runs its own code, not only that it was found.
    {
        TRegistry user;
        ASSERT_TRUE(user.OpenKey("\\Software\\Quillfen2", false));
        ASSERT_TRUE(user.DeleteValue("Language"));
    }
    const QString settings = sandbox.ConfigHome() + "/Quillfen2.ini";
    ASSERT_FALSE(InstallerSandbox::ReadFile(settings).contains("Language="));
    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    run.setProcessEnvironment(environment);
    run.setWorkingDirectory(Folder());
    run.start(program, QStringList());
    ASSERT_TRUE(run.waitForStarted()) << qPrintable(run.errorString());
    QTRY_VERIFY_WITH_TIMEOUT(InstallerSandbox::ReadFile(settings).contains("Language=")
                                 || run.state() == QProcess::NotRunning,
                             CopyTimeoutMs);
    EXPECT_EQ(run.state(), QProcess::Running) << run.readAllStandardError().constData();
    EXPECT_TRUE(InstallerSandbox::ReadFile(settings).contains("Language="));
    run.kill();
    run.waitForFinished();
#endif
}

TEST_F(SetupTest, DamagedArchiveIsReportedAndInstallsNothing)
{
    sandbox.MakeCabinet(Cabinet(), members);
    QByteArray cabinet = InstallerSandbox::ReadFile(Cabinet());
    cabinet.chop(cabinet.size() / 4); // the packed data ends early
    InstallerSandbox::WriteFile(Cabinet(), cabinet);

    Install();
    // The member that failed and why, beside the closing message.
    ASSERT_EQ(dialogs.Texts().size(), 1);
    const QStringList lines = dialogs.Texts()[0].split('\n');
    ASSERT_EQ(lines.size(), 5) << qPrintable(dialogs.Texts()[0]);
    EXPECT_EQ(lines[0], Text(StringId::FileNotInstalled));
    EXPECT_TRUE(std::any_of(members.begin(), members.end(), [&](const auto& member) {
        return QString(member.first).replace('/', '\\') == lines[1];
    })) << qPrintable(lines[1]);
    EXPECT_EQ(lines[2], Text(StringId::ArchiveDamaged));
    EXPECT_EQ(lines[4], Text(StringId::NothingInstalled));
    // Not a file of what was begun stays, and the folder made for it goes.
    EXPECT_FALSE(QFileInfo::exists(sandbox.Path("Program Files")));
    ExpectNothingRegistered();
}

TEST_F(SetupTest, FileThatCannotBeWrittenIsNamedWithTheSystemsReason)
{
    sandbox.MakeCabinet(Cabinet(), members);
    // A folder of the user's where the icon belongs is not replaced.
    InstallerSandbox::WriteFile(Folder() + "/Quillfen2.svg/mine.txt", "mine");
    Install();
    EXPECT_EQ(dialogs.Texts(),
              QStringList{Text(StringId::FileNotInstalled) + "\nQuillfen2.svg\n"
                          + qt_error_string(EISDIR) + "\n\n" + Text(StringId::NothingInstalled)});
    // Nothing else is put in place either: the user's folder alone is left.
    EXPECT_EQ(FilesBelow(Folder()), std::set<QString>{"Quillfen2.svg/mine.txt"});
    ExpectNothingRegistered();
}

TEST_F(SetupTest, MissingArchiveEndsTheProgramWithoutCopying)
{
    Install();
    EXPECT_EQ(dialogs.Texts(), QStringList{Text(StringId::CannotOpenArchive)});
    EXPECT_TRUE(FilesBelow(Folder()).empty());
    EXPECT_FALSE(TRegistry(RootKey::LocalMachine).KeyExists(
        "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillfen2"));
}

// Under a file-size limit a cut member must fail with its reason, not end
// the installer with a cut program and its temporary folder left behind.
TEST_F(SetupTest, AWritePastTheFileSizeLimitDoesNotEndTheInstaller)
{
    const ScopedDefaultFileSizeSignal fresh;
    NewWindows();
    EXPECT_TRUE(ScopedDefaultFileSizeSignal::Ignored());
}

TEST_F(SetupTest, FailedRegistryWriteIsReportedAndTheShortcutsFollow)
{
    sandbox.MakeCabinet(Cabinet(), members);
    // A folder where the machine-wide INI file belongs cannot be written as a file.
    QDir().mkpath(sandbox.ConfigHome() + "/Quillfen2/HKEY_LOCAL_MACHINE.ini");
    Install();
    ASSERT_EQ(dialogs.Texts().size(), 2);
    EXPECT_EQ(dialogs.Texts()[0], "Quillfen registration error");
    EXPECT_EQ(dialogs.messages[0].caption, "SETUP.EXE");
    EXPECT_EQ(dialogs.Texts()[1], Text(StringId::SetupSuccessful));
    EXPECT_TRUE(QFileInfo::exists(sandbox.Path("home/Desktop/Quillfen2.desktop")));
}

TEST_F(SetupTest, FolderThatCannotBeMadeIsReportedAndInstallCanBePressedAgain)
{
    sandbox.MakeCabinet(Cabinet(), members);
    InstallerSandbox::WriteFile(sandbox.Path("file"), "x");
    form1->Edit1->setText(sandbox.Path("file") + "/sub");
    form1->Button3->click();
    EXPECT_EQ(dialogs.Texts(), QStringList{Text(StringId::CannotCreateFolder)});
    EXPECT_FALSE(form1->IsEnded());
    EXPECT_EQ(form1->CopyThread(), nullptr);

    // The home folder of a user who does not exist is no folder named "~...".
    form1->Edit1->setText("~no-such-user-of-quillfen/Quillfen2");
    form1->Button3->click();
    EXPECT_EQ(dialogs.Texts(), QStringList(2, Text(StringId::CannotCreateFolder)));
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath("~no-such-user-of-quillfen")));
    EXPECT_FALSE(form1->IsEnded());
}

TEST_F(SetupTest, UninstallerDeletesNothingOutsideTheFolder)
{
    {
        TRegistry machine(RootKey::LocalMachine);
        ASSERT_TRUE(machine.OpenKey(
            "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillfen2", true));
        machine.WriteString("InstallDir", Folder());
    }
    const QString outside = sandbox.Path("outside");
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        InstallerSandbox::WriteFile(outside + '/' + name, "keep");
    InstallerSandbox::WriteFile(Folder() + "/Quillfen2", "program");
    // A link inside the folder leading out of it.
    ASSERT_TRUE(QFile::link(outside, Folder() + "/link"));
    const QByteArray log = (Folder() + "/Quillfen2\r\n" + outside + "/a.txt\r\n" + Folder()
                            + "/../outside/b.txt\r\n" + Folder() + "/link/c.txt\r\n"
                            + "outside/a.txt\r\n")
                               .toUtf8();
    InstallerSandbox::WriteFile(Folder() + "/uninst.dat", log);

    TForm3 uninstaller;
    uninstaller.Button1->click();
    EXPECT_FALSE(QFileInfo::exists(Folder() + "/Quillfen2"));
    EXPECT_FALSE(QFileInfo::exists(Folder() + "/uninst.dat"));
    EXPECT_EQ(FilesBelow(outside), (std::set<QString>{"a.txt", "b.txt", "c.txt"}));
}

// The Yes button's text in Qt's own dialogs.
QString QtYes()
{
    return QCoreApplication::translate("QPlatformTheme", "&Yes");
}

TEST_F(SetupTest, AgreementSwitchesEveryWindowAndDisagreeEnds)
{
    // Czech first: captions, window title and agreement text.
    QTimer::singleShot(0, form2, [this] {
        EXPECT_TRUE(form2->isVisible());
        EXPECT_EQ(form2->windowTitle(), QString::fromUtf8("Čeština"));
        EXPECT_EQ(form2->Button1->text(), QString::fromUtf8("Souhlasím"));
        EXPECT_EQ(form2->Memo1->toPlainText(), AgreementText(Language::Czech));
        EXPECT_EQ(form2->ComboBox1->count(), 2);
        EXPECT_EQ(form2->ComboBox1->currentIndex(), Language::Czech);
        // Qt's own buttons (message boxes, the folder dialog) speak the same language.
        EXPECT_NE(QtYes(), "&Yes");

        emit form2->ComboBox1->activated(Language::English);
        EXPECT_EQ(QtYes(), "&Yes");
        EXPECT_EQ(MainLanguage.GetLanguage(), Language::English);
        EXPECT_EQ(form2->ComboBox1->currentIndex(), Language::English);
        EXPECT_EQ(form2->windowTitle(), "English");
        EXPECT_EQ(form2->Button2->text(), "I disagree");
        EXPECT_EQ(form2->Memo1->toPlainText(), AgreementText(Language::English));
        EXPECT_EQ(form1->windowTitle(), "Quillfen - install");
        EXPECT_EQ(form1->Button3->text(), "Install");
        EXPECT_EQ(form1->CheckBox2->text(), "Create Start menu icons");
        EXPECT_EQ(form3->Button1->text(), "Continue");
        form2->Button2->click();
    });
    form1->FormShow();
    EXPECT_TRUE(form1->IsEnded());

    // Agreeing leaves the installation window to the user, whatever name
    // the installer was saved under.
    TForm1 again(sandbox.Path("Downloads/Setup (1)"), ProgramPath());
    TForm2 agreement(&again);
    again.SetWindows(&agreement, nullptr);
    QTimer::singleShot(0, &agreement, [&] { agreement.Button1->click(); });
    again.FormShow();
    EXPECT_FALSE(again.IsEnded());
}

TEST_F(SetupTest, RunAsUninstTheProgramUninstalls)
{
    TForm1 uninstaller(sandbox.Path("inst/uninst"), sandbox.Path("inst/uninst"));
    TForm3 window(&uninstaller);
    uninstaller.SetWindows(form2, &window);
    uninstaller.ApplyLanguageToAll();
    bool shown = false;
    QTimer::singleShot(0, &window, [&] {
        shown = window.isVisible();
        EXPECT_EQ(window.windowTitle(), Text(StringId::UninstallCaption));
        EXPECT_EQ(window.Memo1->toPlainText(), Text(StringId::UninstallDescription));
        window.Cancel->click();
    });
    uninstaller.FormShow();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(uninstaller.IsEnded());
    EXPECT_TRUE(dialogs.Texts().isEmpty()); // cancelled: nothing looked for
}

} // namespace
