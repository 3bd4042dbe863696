#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/widgets/Captions.h"

namespace {

// A small window with one tagged component of every captioned kind, plus
// components that must keep their texts.
struct TestWindow
{
    QWidget window;
    QMenuBar* menuBar = new QMenuBar(&window);
    QMenu* fileMenu = menuBar->addMenu("menu");
    QAction* exitAction = fileMenu->addAction("action");
    QLabel* label = new QLabel("label", &window);
    QPushButton* button = new QPushButton("button", &window);
    QCheckBox* checkBox = new QCheckBox("check", &window);
    QRadioButton* radio = new QRadioButton("radio", &window);
    QGroupBox* group = new QGroupBox("group", &window);
    QLabel* nestedLabel = new QLabel("nested", group);
    QLabel* untagged = new QLabel("untagged", &window);
    QLabel* zeroTag = new QLabel("zero", &window);
    QLineEdit* edit = new QLineEdit("edit", &window);
    QToolButton* symbol = new QToolButton(&window);
    QDialog* ownedDialog = new QDialog(&window);
    QLabel* dialogLabel = new QLabel("dialog label", ownedDialog);

    TestWindow()
    {
        SetTag(&window, StringId::RevisionList);
        SetTag(fileMenu, StringId::FileMenu);
        SetTag(exitAction, StringId::Exit);
        SetTag(label, StringId::LanguageCaption);
        SetTag(button, StringId::Cancel);
        SetTag(checkBox, StringId::ShowText);
        SetTag(radio, StringId::Automatic);
        SetTag(group, StringId::Borders);
        SetTag(nestedLabel, StringId::ItemNote);
        SetTag(zeroTag, 0);
        SetTag(edit, StringId::Text);
        symbol->setText("x2");
        SetTipTag(symbol, StringId::GridDoubleTip);
        SetTag(ownedDialog, StringId::RevisionListSetup);
        SetTag(dialogLabel, StringId::Error);
    }
};

class CaptionsTest : public ::testing::Test
{
protected:
    void TearDown() override { MainLanguage.SetLanguage(saved); }
    const int saved = MainLanguage.GetLanguage();
};

} // namespace

TEST_F(CaptionsTest, TagIsAPropertyWithZeroAsNone)
{
    QObject object;
    EXPECT_EQ(GetTag(&object), 0);
    SetTag(&object, 265);
    EXPECT_EQ(GetTag(&object), 265);
    EXPECT_EQ(object.property("Tag").toInt(), 265);
}

TEST_F(CaptionsTest, EveryTaggedComponentTakesTheCurrentLanguage)
{
    TestWindow w;
    MainLanguage.SetLanguage(Language::English);
    ApplyCaptions(&w.window);
    EXPECT_EQ(w.window.windowTitle(), "Revision list");
    EXPECT_EQ(w.fileMenu->title(), "File");
    EXPECT_EQ(w.exitAction->text(), "Exit");
    EXPECT_EQ(w.label->text(), "Language");
    EXPECT_EQ(w.button->text(), "Cancel");
    EXPECT_EQ(w.checkBox->text(), "Show text");
    EXPECT_EQ(w.radio->text(), "Automatic");
    EXPECT_EQ(w.group->title(), "Borders [mm]");
    EXPECT_EQ(w.nestedLabel->text(), "Note");
    EXPECT_EQ(w.symbol->text(), "x2");
    EXPECT_EQ(w.symbol->toolTip(), "Double the grid step");

    MainLanguage.SetLanguage(Language::Czech);
    ApplyCaptions(&w.window);
    EXPECT_EQ(w.window.windowTitle(), QString::fromUtf8("Seznam revizí"));
    EXPECT_EQ(w.fileMenu->title(), "Soubor");
    EXPECT_EQ(w.exitAction->text(), "Konec");
    EXPECT_EQ(w.label->text(), "Jazyk");
    EXPECT_EQ(w.button->text(), QString::fromUtf8("Zrušit"));
    EXPECT_EQ(w.group->title(), QString::fromUtf8("Ohraničení [mm]"));
    EXPECT_EQ(w.nestedLabel->text(), QString::fromUtf8("Poznámka"));
    EXPECT_EQ(w.symbol->text(), "x2");
    EXPECT_EQ(w.symbol->toolTip(), QString::fromUtf8("Zdvojnásobit krok mřížky"));
}

TEST_F(CaptionsTest, UntaggedOtherKindsAndOtherWindowsKeepTheirTexts)
{
    TestWindow w;
    MainLanguage.SetLanguage(Language::English);
    ApplyCaptions(&w.window);
    EXPECT_EQ(w.untagged->text(), "untagged");
    EXPECT_EQ(w.zeroTag->text(), "zero");
    EXPECT_EQ(w.edit->text(), "edit");
    EXPECT_EQ(w.dialogLabel->text(), "dialog label");
    EXPECT_TRUE(w.ownedDialog->windowTitle().isEmpty());

    ApplyCaptions(w.ownedDialog);
    EXPECT_EQ(w.ownedDialog->windowTitle(), "Revision list setup");
    EXPECT_EQ(w.dialogLabel->text(), "Error");
}

TEST_F(CaptionsTest, WindowWithoutTagShowsTheLanguageName)
{
    QWidget window;
    MainLanguage.SetLanguage(Language::Czech);
    ApplyCaptions(&window);
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Čeština"));
}

TEST_F(CaptionsTest, RadioButtonsCanKeepTheirTexts)
{
    TestWindow w;
    MainLanguage.SetLanguage(Language::English);
    ApplyCaptions(&w.window, RadioButtonCaptions::Keep);
    EXPECT_EQ(w.radio->text(), "radio");
    EXPECT_EQ(w.checkBox->text(), "Show text");
    EXPECT_EQ(w.button->text(), "Cancel");
}
