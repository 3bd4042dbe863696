// The settings dialog over a registry written by the test: what it reads,
// what it writes at exit, and how Cancel and the language choice behave.

#include "language/Language.h"
#include "platform/Registry.h"
#include "platform/widgets/Captions.h"
#include "revisionlist/widgets/QuillfenSetup.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

class QuillfenSetupTest : public ::testing::Test
{
protected:
    void SetUp() override { SetRegistryDirectory(dir.path()); }
    void TearDown() override
    {
        SetRegistryDirectory(QString());
        MainLanguage.SetLanguage(savedLanguage);
    }

    // The program key's values as the INI file holds them.
    QMap<QString, QString> Stored() const
    {
        QSettings ini(dir.filePath("Quillfen2.ini"), QSettings::IniFormat);
        QMap<QString, QString> values;
        for (const QString& key : ini.childKeys())
            if (!key.startsWith(u'@'))
                values[key] = ini.value(key).toString();
        return values;
    }
    void Store(const QString& name, int value)
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("Software\\Quillfen2", true));
        reg.WriteInteger(name, value);
    }

    QTemporaryDir dir;
    int savedLanguage = MainLanguage.GetLanguage();
};

QList<bool> Checks(const TForm11& form)
{
    QList<bool> checks;
    for (const QCheckBox* box : {form.CheckBox1, form.CheckBox2, form.CheckBox3, form.CheckBox4,
                                 form.CheckBox5, form.CheckBox6, form.CheckBox7, form.CheckBox8})
        checks << box->isChecked();
    return checks;
}

} // namespace

TEST_F(QuillfenSetupTest, FirstStartShowsDefaultsAndExitWritesEveryValueButTheLanguage)
{
    {
        TForm11 form;
        EXPECT_EQ(TForm11::Instance(), &form);
        EXPECT_EQ(Checks(form), QList<bool>(8, true));
        EXPECT_EQ(form.Edit1->text(), "1");
        EXPECT_EQ(form.ComboBox1->currentIndex(), -1);
        EXPECT_EQ(form.ComboBox1->count(), 2);
        form.Edit1->setText("not a number");
        form.CheckBox7->setChecked(false);
    }
    EXPECT_EQ(TForm11::Instance(), nullptr);
    const QMap<QString, QString> expected = {
        {"FieldNumber", "dword:00000001"}, {"EraseCell", "dword:00000001"},
        {"AutoFill", "dword:00000001"},    {"GroupFolder", "dword:00000000"},
        {"Backup", "dword:00000001"},      {"Grid", "hex:000000000000f03f"},
        {"ShowIcon1", "dword:00000001"},   {"ShowIcon2", "dword:00000001"},
        {"ShowIcon3", "dword:00000001"},
    };
    EXPECT_EQ(Stored(), expected);
}

TEST_F(QuillfenSetupTest, ReadingStopsAtTheFirstMissingValueAndIgnoresUnknownLanguages)
{
    Store("FieldNumber", 0);
    Store("Backup", 0); // after the missing "EraseCell": not read
    {
        TForm11 form;
        EXPECT_EQ(Checks(form), QList<bool>({false, true, true, true, true, true, true, true}));
    }
    // Exit wrote every value; a language outside the tables selects nothing.
    Store("ShowIcon1", 0);
    Store("Language", 7);
    Store("Backup", 0);
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("Software\\Quillfen2", true));
        reg.WriteFloat("Grid", 2.5);
    }
    TForm11 form;
    EXPECT_EQ(Checks(form), QList<bool>({false, true, false, true, true, true, true, false}));
    EXPECT_EQ(form.Edit1->text(), "2.5");
    EXPECT_EQ(form.ComboBox1->currentIndex(), -1);
    EXPECT_EQ(form.Settings().language, ProgramSettings::NoLanguage);
}

TEST_F(QuillfenSetupTest, CancelRestoresTheBoxesButKeepsTheLanguageAndClosingFollowsTheIconBars)
{
    MainLanguage.SetLanguage(Language::English);
    TForm11 form;
    ApplyCaptions(&form);
    EXPECT_EQ(form.CheckBox2->text(), "Erase cell if field is blank");
    QSignalSpy language(&form, &TForm11::LanguageChanged);
    QSignalSpy revisionBar(&form, &TForm11::RevisionListIconBarChanged);
    QSignalSpy designerBar(&form, &TForm11::DesignerIconBarChanged);

    form.open();
    QTest::mouseClick(form.CheckBox2, Qt::LeftButton);
    EXPECT_FALSE(form.CheckBox2->isChecked());
    form.Edit1->setText("5");
    form.ComboBox1->setCurrentIndex(Language::Czech);
    emit form.ComboBox1->activated(Language::Czech);
    EXPECT_EQ(MainLanguage.GetLanguage(), Language::Czech);
    EXPECT_EQ(language.count(), 1);
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_TRUE(form.CheckBox2->isChecked());
    EXPECT_EQ(form.Edit1->text(), "1");
    EXPECT_EQ(form.ComboBox1->currentIndex(), Language::Czech);

    form.open();
    QTest::mouseClick(form.CheckBox4, Qt::LeftButton);
    QTest::mouseClick(form.CheckBox3, Qt::LeftButton);
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    ASSERT_FALSE(revisionBar.isEmpty());
    EXPECT_FALSE(revisionBar.last().at(0).toBool());
    EXPECT_FALSE(designerBar.last().at(0).toBool());
    EXPECT_FALSE(form.Settings().showIcon2);
}
