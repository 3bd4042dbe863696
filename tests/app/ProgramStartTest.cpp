// Start-up as a whole: every window made and connected, the language taken
// from the registry or the user's locale, documents from the command line
// opened in the window of their type.

#include "app/QuillfenProgram.h"
#include "common/FakeDialogs.h"
#include "common/FilledFormFiles.h"
#include "common/ScopedGuards.h"
#include "dataprocessing/TransferDocument.h"
#include "dataprocessing/widgets/QuillfenTransfer.h"
#include "designer/widgets/QuillfenDesigner.h"
#include "documents/QuillfenForm.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/Registry.h"
#include "revisionlist/RevisionTableColumn.h"
#include "revisionlist/RevisionTableModel.h"
#include "revisionlist/widgets/QuillfenRevisionTable.h"
#include "revisionlist/widgets/QuillfenSetup.h"

#include <QAction>
#include <QComboBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

constexpr char ProgramKey[] = "\\Software\\Quillfen2";
constexpr int EnglishLocale = 0x409;

class ProgramStartTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TRegistry registry;
        registry.OpenKey(ProgramKey, true);
        registry.DeleteValue("Language");
        // The tables start in Czech, before any language is chosen.
        MainLanguage.SetLanguage(Language::Czech);
    }
    void TearDown() override { MainLanguage.SetLanguage(Language::English); }

    static int StoredLanguage()
    {
        TRegistry registry;
        registry.OpenKey(ProgramKey, false);
        return registry.ReadInteger("Language");
    }

    FakeDialogs dialogs;
    QTemporaryDir dir;
};

TEST_F(ProgramStartTest, LanguageComesFromTheLocaleOnceAndFromTheRegistryAfter)
{
    {
        QuillfenProgram program;
        program.Start({}, EnglishLocale);
        EXPECT_EQ(StoredLanguage(), Language::English);
        EXPECT_EQ(program.RevisionList().windowTitle(),
                  MainLanguage.GetString(StringId::RevisionList, Language::English));
        EXPECT_TRUE(program.RevisionList().isVisible());
        EXPECT_TRUE(program.RevisionList().ListRowIds().isEmpty());
    }
    {
        TRegistry registry;
        registry.OpenKey(ProgramKey, false);
        registry.DeleteValue("Language");
    }
    {
        QuillfenProgram program;
        program.Start({}, QuillfenProgram::CzechLanguageId);
        EXPECT_EQ(StoredLanguage(), Language::Czech);
        EXPECT_EQ(program.RevisionList().windowTitle(),
                  MainLanguage.GetString(StringId::RevisionList, Language::Czech));
        EXPECT_EQ(program.DataProcessing().windowTitle().isEmpty(), false);
    }
    // A value that names no language leaves the initial one.
    {
        TRegistry registry;
        registry.OpenKey(ProgramKey, false);
        registry.WriteInteger("Language", 7);
    }
    MainLanguage.SetLanguage(Language::Czech);
    QuillfenProgram program;
    program.Start({}, EnglishLocale);
    EXPECT_EQ(MainLanguage.GetLanguage(), Language::Czech);
}

TEST_F(ProgramStartTest, LanguageChangesRefillTheDesignerListsWithoutDoubling)
{
    QuillfenProgram program;
    program.Start({}, EnglishLocale);
    TForm11& settings = program.Settings();
    settings.ComboBox1->setCurrentIndex(Language::Czech);
    settings.ComboBox1Change(Language::Czech);
    settings.ComboBox1->setCurrentIndex(Language::English);
    settings.ComboBox1Change(Language::English);
    EXPECT_EQ(program.Designer().ComboBox8->count(), 6);
    EXPECT_EQ(program.Designer().ComboBox7->count(), 12);
    EXPECT_EQ(program.RevisionList().windowTitle(),
              MainLanguage.GetString(StringId::RevisionList, Language::English));
}

TEST_F(ProgramStartTest, TextsMadeBeforeTheLanguageFollowItAtStartAndAtEverySwitch)
{
    QuillfenProgram program;
    program.Start({}, QuillfenProgram::CzechLanguageId);
    TForm3& data = program.DataProcessing();
    TForm7& list = program.RevisionList();
    const auto czech = [](int id) { return MainLanguage.GetString(id, Language::Czech); };
    ASSERT_EQ(data.TreeView1->topLevelItemCount(), 2);
    EXPECT_EQ(data.TreeView1->topLevelItem(0)->text(0), czech(StringId::Saved));
    EXPECT_EQ(data.TreeView1->topLevelItem(1)->text(0), czech(StringId::Transferred));
    EXPECT_EQ(data.Fill1->text(), czech(StringId::FillButton));
    EXPECT_EQ(list.Upload1->text(), czech(StringId::UploadButton));
    EXPECT_EQ(list.Stop1->text(), czech(StringId::Stop));
    // Qt's own dialogs: the buttons of a message box.
    EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Yes");

    QSignalSpy columnCaptions(&list.Model(), &QAbstractItemModel::headerDataChanged);
    TForm11& settings = program.Settings();
    settings.ComboBox1->setCurrentIndex(Language::English);
    settings.ComboBox1Change(Language::English);
    EXPECT_EQ(data.TreeView1->topLevelItem(0)->text(0), "Saved");
    EXPECT_EQ(data.TreeView1->topLevelItem(1)->text(0), "Transfered");
    EXPECT_EQ(data.Fill1->text(), "Fill");
    EXPECT_EQ(list.Upload1->text(), "Upload");
    EXPECT_EQ(list.Stop1->text(), "Stop");
    // The icon bar's button for a window that also stands in the menu bar.
    auto* dataButton = list.findChild<QAction*>(QStringLiteral("Transfer1Button"));
    ASSERT_NE(dataButton, nullptr);
    EXPECT_EQ(dataButton->text(), "Data processing");
    EXPECT_FALSE(columnCaptions.isEmpty());
    const int firstCaption = list.Model().VisibleColumn(0)->GetDefaultCaptionId();
    ASSERT_NE(firstCaption, 0);
    EXPECT_EQ(list.Model().headerData(0, Qt::Horizontal).toString(),
              MainLanguage.GetString(firstCaption, Language::English));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Yes");
}

TEST_F(ProgramStartTest, CommandLineDocumentsOpenInTheirWindows)
{
    const QString form = dir.filePath("form.qfs");
    {
        QuillfenForm document(nullptr, QuillfenForm::DefaultWidth, QuillfenForm::DefaultHeight);
        FileWriter writer(form, Tag::Form);
        ASSERT_TRUE(document.Save(writer));
    }
    const QString temp = dir.filePath("temp.qfs");
    {
        QuillfenForm document(nullptr, QuillfenForm::DefaultWidth, QuillfenForm::DefaultHeight);
        FileWriter writer(temp, Tag::Temp);
        ASSERT_TRUE(document.Save(writer));
    }
    {
        QuillfenProgram program;
        program.Start({form}, EnglishLocale);
        EXPECT_TRUE(program.DataProcessing().isVisible());
        EXPECT_EQ(program.DataProcessing().Document().FileName(), form);
    }
    {
        QuillfenProgram program;
        program.Start({temp}, EnglishLocale);
        EXPECT_TRUE(program.Designer().isVisible());
        EXPECT_EQ(program.Designer().GetFileName(), temp);
    }
    // A missing document is reported, and the program goes on with an empty list.
    QuillfenProgram program;
    program.Start({dir.filePath("missing.qfs")}, EnglishLocale);
    EXPECT_TRUE(program.RevisionList().isVisible());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.contains("missing.qfs"));

    // So is a file that is no document of ours; no other window opens.
    const QString foreign = dir.filePath("foreign.qfs");
    {
        QFile file(foreign);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<html>not a form</html>");
    }
    QuillfenProgram second;
    second.Start({foreign}, EnglishLocale);
    EXPECT_TRUE(second.RevisionList().isVisible());
    EXPECT_FALSE(second.DataProcessing().isVisible());
    EXPECT_FALSE(second.Designer().isVisible());
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(dialogs.messages[1].text,
              foreign + u'\n' + MainLanguage.GetString(StringId::NotQuillfenDocument));
}

// A named pipe would keep the program waiting before its first window, and a
// form cut inside its header would open as an empty form that a save puts in
// the file's place: both are refused with a message, and no window shows them.
TEST_F(ProgramStartTest, APipeOrAFormCutInItsHeaderOnTheCommandLineOpensNothing)
{
    const QString pipe = dir.filePath("pipe.qfs");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString whole = dir.filePath("whole.qfs");
    ASSERT_TRUE(TransferDocument().SaveDocument(whole, false).Ok());
    QFile source(whole);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    ASSERT_GT(bytes.size(), 64);

    std::vector<std::pair<QString, QString>> expected{
        {pipe, MainLanguage.GetString(StringId::NotRegularFile, Language::English) + u'\n' + pipe}};
    for (const int cut : {8, 16, 40}) {
        const QString path = dir.filePath(QStringLiteral("cut%1.qfs").arg(cut));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.left(cut));
        expected.emplace_back(
            path, path + u'\n' + MainLanguage.GetString(StringId::FileDamaged, Language::English));
    }
    for (const auto& [path, message] : expected) {
        dialogs.messages.clear();
        QuillfenProgram program;
        program.Start({path}, EnglishLocale);
        EXPECT_EQ(dialogs.Texts(), QStringList{message})
            << dialogs.Texts().join(" | ").toStdString();
        EXPECT_TRUE(program.RevisionList().isVisible());
        EXPECT_FALSE(program.DataProcessing().isVisible()) << path.toStdString();
        EXPECT_FALSE(program.Designer().isVisible());
        EXPECT_TRUE(program.DataProcessing().Document().FileName().isEmpty());
        EXPECT_TRUE(program.RevisionList().ListRowIds().isEmpty());
    }
}

// A write past the user's file-size limit must fail like a full disk, with
// its reason, not end the program with every unsaved window in it.
TEST_F(ProgramStartTest, AWritePastTheFileSizeLimitDoesNotEndTheProgram)
{
    const ScopedDefaultFileSizeSignal fresh;
    QuillfenProgram program;
    EXPECT_TRUE(ScopedDefaultFileSizeSignal::Ignored());
}

} // namespace
