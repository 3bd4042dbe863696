// Path checks of the installer and uninstaller, the install log reader and
// the desktop files, without windows.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QString>

#include "installer/DesktopFiles.h"
#include "installer/InstallLog.h"
#include "installer/InstallPaths.h"

TEST(InstallPaths, ModeFolderAndArchiveLookup)
{
    for (const char* name : {"/inst/uninst", "UNINST", "uninst.exe", "/a b/Uninst.EXE"})
        EXPECT_TRUE(IsUninstallerName(name)) << name;
    // A downloaded installer may be renamed by the browser; it still installs.
    for (const char* name : {"/opt/x/Setup", "SETUP.EXE", "/home/u/Downloads/Setup (1)",
                             "uninst.dat", "uninstall", "/uninst/Setup"})
        EXPECT_FALSE(IsUninstallerName(name)) << name;

    EXPECT_EQ(FolderFromText("  /opt/Quillfen 2/ \t"), "/opt/Quillfen 2");
    EXPECT_EQ(FolderFromText("/opt/q//"), "/opt/q/"); // only one "/" goes
    EXPECT_EQ(FolderFromText(" / "), "");
    // "~" as a shell reads it; never a folder of that name.
    const QString home = QDir::homePath();
    EXPECT_EQ(FolderFromText(" ~/Programs/Quillfen2/ "), home + "/Programs/Quillfen2");
    EXPECT_EQ(FolderFromText("~"), home);
    EXPECT_EQ(FolderFromText("~/"), home);
    EXPECT_EQ(FolderFromText("~no-such-user-of-quillfen/x"), "");
    const QString root = FolderFromText("~root/x");
    EXPECT_TRUE(QDir::isAbsolutePath(root) && root.endsWith("/x")) << qPrintable(root);
    EXPECT_EQ(FolderFromText("/opt/~/x"), "/opt/~/x"); // only a leading one

    // Beside the program, whatever the current folder is.
    EXPECT_EQ(ArchiveBeside("/media/cd/Setup"), "/media/cd/Quillfen2.cab");
}

TEST(InstallPaths, MemberNamesStayInsideTheFolderAndAreLoggedAsWritten)
{
    using enum MemberNameCheck;
    const struct
    {
        const char* member;
        MemberNameCheck check;
        const char* target; // "" = refused
    } cases[] = {
        {"Quillfen2", Fit, "/inst/Quillfen2"},
        {"qfs\\Example.qfs", Fit, "/inst/qfs/Example.qfs"},
        {"qfs\\uninst.dat", Fit, "/inst/qfs/uninst.dat"}, // only the installer's own files
        {" lead\\P\u0159\u00edru\u010dka.pdf", Fit, "/inst/ lead/P\u0159\u00edru\u010dka.pdf"},
        {"..\\x", LeavesFolder, ""},
        {"qfs\\..\\..\\x", LeavesFolder, ""},
        {"a\\..", LeavesFolder, ""},
        {"\\etc\\passwd", LeavesFolder, ""},
        {"/etc/passwd", LeavesFolder, ""},
        {"", Unfit, ""},
        {".", Unfit, ""},
        {"...", Unfit, ""},
        {"help\\.\\en\\index.txt", Unfit, ""},
        {"help\\en\\\\index.txt", Unfit, ""},
        {"qfs\\", Unfit, ""},
        {"note\n/home/user/x", Unfit, ""},
        {"tab\there", Unfit, ""},
        {"del\x7f", Unfit, ""},
        {"usernote.txt ", Unfit, ""},
        {"docs \\a.txt", Unfit, ""},
        {"readme.", Unfit, ""},
        {"uninst.dat", Unfit, ""},
        {"UNINST", Unfit, ""},
        {"Uninst.Dat", Unfit, ""},
    };
    for (const auto& c : cases) {
        const QString member = QString::fromUtf8(c.member);
        EXPECT_EQ(CheckMemberName(member), c.check) << c.member;
        EXPECT_EQ(MemberTarget("/inst", member), QString::fromUtf8(c.target)) << c.member;
    }
    EXPECT_EQ(MemberTarget("/inst/", "a"), "/inst/a");

    EXPECT_TRUE(IsInsideFolder("/inst", "/inst/a/b"));
    EXPECT_FALSE(IsInsideFolder("/inst", "/inst"));
    EXPECT_FALSE(IsInsideFolder("/inst", "/install/a")); // a prefix is not a parent
    EXPECT_FALSE(IsInsideFolder("/inst", "/inst/../etc/x"));
    EXPECT_FALSE(IsInsideFolder("/inst", "inst/a"));
    EXPECT_FALSE(IsInsideFolder("", "/a")); // no folder never means the root

    EXPECT_EQ(PrintableName("note\n/home\x01/x \u010d"), "note\\x0a/home\\x01/x \u010d");
    EXPECT_TRUE(IsProgramMember("Quillfen2"));
    for (const char* name : {"quillfen2", "Quillfen2.svg", "qfs\\Quillfen2", "uninst"})
        EXPECT_FALSE(IsProgramMember(name)) << name;
}

TEST(InstallPaths, NoFolderOnTheWayLeadsOutThroughALink)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("inst");
    ASSERT_TRUE(QDir().mkpath(folder + "/real/sub"));
    ASSERT_TRUE(QDir().mkpath(dir.filePath("elsewhere")));
    ASSERT_TRUE(QFile::link(dir.filePath("elsewhere"), folder + "/out"));
    ASSERT_TRUE(QFile::link(folder + "/real", folder + "/inner"));
    ASSERT_TRUE(QFile::link(dir.filePath("missing"), folder + "/broken"));
    ASSERT_TRUE(QFile::link(dir.filePath("elsewhere"), folder + "/real/sub/deep"));
    ASSERT_TRUE(QFile::link(folder, dir.filePath("alias")));

    const struct
    {
        QString base;
        const char* relative;
        bool inside;
    } cases[] = {
        {folder, "a.txt", true},
        {folder, "new/sub/a.txt", true},     // made afresh
        {folder, "inner/a.txt", true},       // a link, but to a folder inside
        {folder, "out", true},               // the target itself is replaced, not followed
        {folder, "out/a.txt", false},
        {folder, "out/new/a.txt", false},
        {folder, "broken/a.txt", false},
        {folder, "real/sub/deep/a.txt", false},
        {folder, "inner/sub/deep/a.txt", false},
        {dir.filePath("alias"), "inner/a.txt", true}, // the folder itself reached by a link
        {dir.filePath("alias"), "out/a.txt", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WayStaysInside(c.base, c.base + '/' + c.relative), c.inside) << c.relative;
    EXPECT_FALSE(WayStaysInside(dir.filePath("absent"), dir.filePath("absent/a.txt")));
}

TEST(InstallPaths, MissingFoldersAreTheOnesMakingAFolderCreates)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.filePath("there")));
    EXPECT_EQ(MissingFolders(dir.filePath("there/a/b")),
              QStringList({dir.filePath("there/a"), dir.filePath("there/a/b")}));
    EXPECT_TRUE(MissingFolders(dir.filePath("there")).isEmpty());

    // Made, then one of them holds a file: the others go, deepest first.
    const QStringList made = MissingFolders(dir.filePath("there/a/b/c"));
    ASSERT_TRUE(QDir().mkpath(dir.filePath("there/a/b/c")));
    ASSERT_TRUE(QDir().mkpath(dir.filePath("there/a/kept")));
    RemoveFoldersLeftEmpty(made);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("there/a/b")));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("there/a/kept")));
}

TEST(InstallLogReader, KeepsOnlyExactPathsInsideTheFolder)
{
    const QByteArray longName(3000, 'n'); // longer than the old line limit, still a path
    QByteArray log = "/inst/Quillfen2\r\n"
                     "/inst/usernote.txt \r\n" // names a file with a blank, not usernote.txt
                     "  /inst/qfs/Example.qfs\r\n"
                     "/inst/lf-only\n"
                     "\r\n";
    log += "/inst/" + longName + "\r\n";
    log += "/inst/" + QByteArray(MaxLogLine, 'x') + "\r\n";
    log += "relative/file\r\n"
           "/etc/passwd\r\n"
           "/inst/../etc/passwd\r\n"
           "/inst/qfs/../notes.txt\r\n"
           "/inst//notes.txt\r\n"
           "/inst/\xff\xfe.txt\r\n"
           "/inst\r\n";
    log += QByteArray("/inst/with\0nul\r\n", 16);
    log += "/inst/last-without-line-end";
    const QStringList paths = ReadInstallLog(log, "/inst");
    EXPECT_EQ(paths, QStringList({"/inst/Quillfen2", "/inst/usernote.txt ", "/inst/lf-only",
                                  "/inst/" + QString::fromLatin1(longName),
                                  "/inst/last-without-line-end"}));

    EXPECT_TRUE(ReadInstallLog("/a\r\n", "").isEmpty());
    EXPECT_TRUE(ReadInstallLog("", "/inst").isEmpty());
}

TEST(DesktopFiles, EntriesQuoteProgramPathsAndKeepOtherDefaults)
{
    EXPECT_EQ(ExecArgument("/opt/Quillfen 2/Quillfen2"), "\"/opt/Quillfen 2/Quillfen2\"");
    EXPECT_EQ(ExecArgument("/a\"b$c`d\\e%f"), "\"/a\\\"b\\$c\\`d\\\\e%%f\"");

    DesktopEntry entry;
    entry.name = "Quillfen2";
    entry.program = "/opt/Q 2\\x/Quillfen2";
    entry.workingFolder = "/opt/Q 2\\x";
    entry.icon = "/opt/Q 2\\x/Quillfen2.svg";
    entry.takesDocument = true;
    entry.hidden = true;
    // A backslash is escaped once for the quoted argument and once more for
    // the file's own string syntax.
    EXPECT_EQ(DesktopEntryText(entry),
              "[Desktop Entry]\nType=Application\nVersion=1.0\nName=Quillfen2\n"
              "Exec=\"/opt/Q 2\\\\\\\\x/Quillfen2\" %f\nPath=/opt/Q 2\\\\x\n"
              "Icon=/opt/Q 2\\\\x/Quillfen2.svg\nMimeType=application/x-quillfen2;\n"
              "NoDisplay=true\nTerminal=false\n");

    const QByteArray list = "[Added Associations]\ntext/plain=a.desktop;\n\n"
                            "[Default Applications]\napplication/x-quillfen2=old.desktop\n"
                            "text/html=b.desktop\n";
    const QByteArray set = WithIniValue(list, "Default Applications", "application/x-quillfen2",
                                        "Quillfen2.desktop");
    EXPECT_EQ(set, "[Added Associations]\ntext/plain=a.desktop;\n\n"
                   "[Default Applications]\napplication/x-quillfen2=Quillfen2.desktop\n"
                   "text/html=b.desktop\n");
    EXPECT_EQ(WithoutIniValue(set, "Default Applications", "application/x-quillfen2"),
              "[Added Associations]\ntext/plain=a.desktop;\n\n"
              "[Default Applications]\ntext/html=b.desktop\n");
    EXPECT_EQ(WithIniValue("", "Default Applications", "k", "v"), "[Default Applications]\nk=v\n");
    EXPECT_EQ(WithIniValue("[Default Applications]\na=b\n[Other]\nk=x\n", "Default Applications",
                           "k", "v"),
              "[Default Applications]\na=b\nk=v\n[Other]\nk=x\n");
}
