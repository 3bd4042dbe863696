#include "common/ScopedGuards.h"
#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

class RegistryTest : public ::testing::Test
{
protected:
    void SetUp() override { SetRegistryDirectory(dir.path()); }
    void TearDown() override { SetRegistryDirectory(QString()); }
    QTemporaryDir dir;
};

TEST_F(RegistryTest, ProgramKeyIsItsOwnIniFile)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("Software\\Quillfen2", true));
        reg.WriteInteger("Language", 1);
        reg.WriteString("ComPort", "COM3");
        reg.WriteBool("Grid", true);
    }
    EXPECT_TRUE(QFile::exists(dir.filePath("Quillfen2.ini")));
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Quillfen2", false));
    EXPECT_EQ(reg.ReadInteger("Language"), 1);
    EXPECT_EQ(reg.ReadString("ComPort"), "COM3");
    EXPECT_TRUE(reg.ReadBool("Grid"));
    EXPECT_TRUE(reg.ValueExists("ComPort"));
    EXPECT_FALSE(reg.ValueExists("Backup"));
}

TEST_F(RegistryTest, MissingAndMistypedValuesThrowAsTheRegistryDoes)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Quillfen2", true));
    EXPECT_THROW(reg.ReadInteger("FieldNumber"), ERegistryException);
    EXPECT_EQ(reg.ReadString("GroupFolder"), "");
    reg.WriteString("Text", "12");
    EXPECT_THROW(reg.ReadInteger("Text"), ERegistryException);
    reg.WriteInteger("Number", -7);
    EXPECT_EQ(reg.ReadInteger("Number"), -7);
    EXPECT_THROW(reg.ReadString("Number"), ERegistryException);
    // A text that looks like a tagged value still reads back as written.
    reg.WriteString("Odd", "dword:00000001");
    EXPECT_EQ(reg.ReadString("Odd"), "dword:00000001");
    reg.WriteString("Hexish", "hex:00");
    EXPECT_EQ(reg.ReadString("Hexish"), "hex:00");
    EXPECT_THROW(reg.ReadFloat("Hexish"), ERegistryException);
}

TEST_F(RegistryTest, FloatsAreEightByteBinaryValues)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Quillfen2", true));
    reg.WriteFloat("Grid", 2.5);
    EXPECT_EQ(reg.ReadFloat("Grid"), 2.5);
    EXPECT_THROW(reg.ReadInteger("Grid"), ERegistryException);
    EXPECT_THROW(reg.ReadString("Grid"), ERegistryException);
    EXPECT_THROW(reg.ReadFloat("Missing"), ERegistryException);
    reg.WriteInteger("Number", 1);
    EXPECT_THROW(reg.ReadFloat("Number"), ERegistryException);
    reg.CloseKey();
    // The bytes of 2.5 in memory order, as a .reg file would show them.
    QSettings ini(dir.filePath("Quillfen2.ini"), QSettings::IniFormat);
    EXPECT_EQ(ini.value("Grid").toString(), "hex:0000000000000440");
}

TEST_F(RegistryTest, KeysCanBeMissingCreatedAndDeleted)
{
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("Software\\Other", false));
    ASSERT_TRUE(reg.OpenKey("Software\\Other\\Sub", true));
    reg.WriteString("", "default value");
    reg.CloseKey();
    EXPECT_TRUE(reg.KeyExists("Software\\Other\\Sub"));
    ASSERT_TRUE(reg.OpenKey("Software\\Other\\Sub", false));
    EXPECT_EQ(reg.ReadString(""), "default value");
    reg.CloseKey();
    EXPECT_TRUE(reg.DeleteKey("Software\\Other"));
    EXPECT_FALSE(reg.KeyExists("Software\\Other\\Sub"));

    TRegistry classes(RootKey::ClassesRoot);
    ASSERT_TRUE(classes.OpenKey(".qfs", true));
    EXPECT_TRUE(classes.KeyExists("\\.qfs"));
    EXPECT_FALSE(reg.KeyExists(".qfs")); // another root
}

TEST_F(RegistryTest, ConfigDirectoryFollowsXdg)
{
    SetRegistryDirectory(QString());
    ScopedEnv xdg("XDG_CONFIG_HOME", dir.filePath("xdg").toUtf8());
    EXPECT_EQ(RegistryDirectory(), dir.filePath("xdg"));
}

TEST_F(RegistryTest, ValueNamesAndDeletionLeaveTheKeyMarkerAlone)
{
    TRegistry reg;
    EXPECT_THROW(reg.WriteString("Orphan", "x"), ERegistryException); // no key open
    EXPECT_FALSE(reg.ValueExists("Orphan"));
    ASSERT_TRUE(reg.OpenKey("Software\\Quillfen2\\Recent", true));
    EXPECT_TRUE(reg.GetValueNames().isEmpty());
    reg.WriteString("", "default");
    reg.WriteInteger("Count", 2);
    EXPECT_EQ(reg.GetValueNames(), QStringList({QString(), "Count"}));
    EXPECT_TRUE(reg.DeleteValue("Count"));
    EXPECT_FALSE(reg.DeleteValue("Count"));
    EXPECT_EQ(reg.GetValueNames(), QStringList({QString()}));
    reg.CloseKey();
    EXPECT_TRUE(reg.OpenKey("Software\\Quillfen2\\Recent", false));
    // A relative path continues below the open key.
    ASSERT_TRUE(reg.OpenKey("Files", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\Quillfen2\\Recent\\Files");
}

TEST_F(RegistryTest, WriteThatCannotReachTheFileThrows)
{
    // A folder where the INI file belongs: the value cannot be stored.
    ASSERT_TRUE(QDir(dir.path()).mkpath("Quillfen2/HKEY_LOCAL_MACHINE.ini"));
    TRegistry reg(RootKey::LocalMachine);
    ASSERT_TRUE(reg.OpenKey("\\Software\\Vendor", true));
    EXPECT_THROW(reg.WriteString("InstallDir", "/opt/q"), ERegistryException);
    EXPECT_THROW(reg.WriteInteger("Count", 1), ERegistryException);
}
