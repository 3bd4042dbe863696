// Path checks of the installer and uninstaller, the install log reader and
// the desktop files, without windows.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

#include "installer/DesktopFiles.h"
#include "installer/InstallLog.h"
#include "installer/InstallPaths.h"

TEST(InstallPaths, ModeFolderAndArchiveLookup)
{
    for (const char* name : {"/opt/x/Setup", "SETUP.EXE", "setup", "/a b/Setup.exe"})
        EXPECT_TRUE(IsInstallerName(name)) << name;
    for (const char* name : {"/inst/uninst", "uninst.exe", "Setup2", "Setup.exe.bak", "MySetup"})
        EXPECT_FALSE(IsInstallerName(name)) << name;

    EXPECT_EQ(FolderFromText("  /opt/Quillfen 2/ \t"), "/opt/Quillfen 2");
    EXPECT_EQ(FolderFromText("/opt/q//"), "/opt/q/"); // only one "/" goes
    EXPECT_EQ(FolderFromText(" / "), "");

    // Beside the program, whatever the current folder is.
    EXPECT_EQ(ArchiveBeside("/media/cd/Setup"), "/media/cd/Quillfen2.cab");
}

TEST(InstallPaths, MemberNamesStayInsideTheFolder)
{
    const struct
    {
        const char* member;
        const char* target; // "" = refused
    } cases[] = {
        {"Quillfen2", "/inst/Quillfen2"},
        {"qfs\\Example.qfs", "/inst/qfs/Example.qfs"},
        {"help\\.\\en\\\\index.txt", "/inst/help/en/index.txt"},
        {"..\\x", ""},
        {"qfs\\..\\..\\x", ""},
        {"a\\..", ""},
        {"\\etc\\passwd", ""},
        {"/etc/passwd", ""},
        {"", ""},
        {".", ""},
        {"...", "/inst/..."}, // a plain (odd) name, not a climb
    };
    for (const auto& c : cases)
        EXPECT_EQ(MemberTarget("/inst", c.member), QString(c.target)) << c.member;
    EXPECT_EQ(MemberTarget("/inst/", "a"), "/inst/a");

    EXPECT_TRUE(IsInsideFolder("/inst", "/inst/a/b"));
    EXPECT_FALSE(IsInsideFolder("/inst", "/inst"));
    EXPECT_FALSE(IsInsideFolder("/inst", "/install/a")); // a prefix is not a parent
    EXPECT_FALSE(IsInsideFolder("/inst", "/inst/../etc/x"));
    EXPECT_FALSE(IsInsideFolder("/inst", "inst/a"));
    EXPECT_FALSE(IsInsideFolder("", "/a")); // no folder never means the root
}

TEST(InstallLogReader, KeepsOnlyWholePathsInsideTheFolder)
{
    const QByteArray longName(3000, 'n'); // longer than the old line limit, still a path
    QByteArray log = "/inst/Quillfen2\r\n"
                     "  /inst/qfs/Example.qfs \t\r\n"
                     "\r\n";
    log += "/inst/" + longName + "\r\n";
    log += "/inst/" + QByteArray(MaxLogLine, 'x') + "\r\n";
    log += "relative/file\r\n"
           "/etc/passwd\r\n"
           "/inst/../etc/passwd\r\n"
           "/inst\r\n";
    log += QByteArray("/inst/with\0nul\r\n", 16);
    log += "/inst/last-without-line-end";
    const QStringList paths = ReadInstallLog(log, "/inst");
    EXPECT_EQ(paths, QStringList({"/inst/Quillfen2", "/inst/qfs/Example.qfs",
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
