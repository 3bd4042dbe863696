// Every window and dialog of the program opens wholly on the available
// screen, shows its content uncut, and makes room again when the language
// changes while it is shown.

#include "app/QuillfenProgram.h"
#include "common/FakeDialogs.h"
#include "dataprocessing/widgets/CreateBarcode.h"
#include "dataprocessing/widgets/QuillfenTransfer.h"
#include "designer/widgets/CreateFields.h"
#include "designer/widgets/LimitSetup.h"
#include "designer/widgets/QuillfenDesigner.h"
#include "designer/widgets/QuillfenNewPage.h"
#include "documents/TextObject.h"
#include "documents/widgets/PrintForm.h"
#include "documents/widgets/TextSetup.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "revisionlist/widgets/QuillfenRevisionTable.h"
#include "revisionlist/widgets/QuillfenSetup.h"
#include "revisionlist/widgets/RevisionDateFilter.h"
#include "revisionlist/widgets/RevisionFilter.h"
#include "revisionlist/widgets/RevisionSetup.h"

#include <QComboBox>
#include <QLabel>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

constexpr int EnglishLocale = 0x409;

QRect Available(const QWidget& window)
{
    return window.screen()->availableGeometry();
}

// The child lies wholly inside `outer`, in the outer widget's coordinates.
bool Inside(const QWidget& child, const QWidget& outer)
{
    const QRect rect(child.mapTo(&outer, QPoint(0, 0)), child.size());
    return outer.rect().contains(rect);
}

// A text shown whole in a cell of `width` pixels.
bool FitsIn(const QWidget& view, const QString& text, int width)
{
    return view.fontMetrics().horizontalAdvance(text) < width;
}

class WindowPlacementTest : public ::testing::Test
{
protected:
    void SetUp() override { program.Start({}, EnglishLocale); }
    void TearDown() override { MainLanguage.SetLanguage(Language::English); }

    FakeDialogs dialogs;
    QuillfenProgram program;
};

TEST_F(WindowPlacementTest, EveryWindowOpensInsideTheScreenAtAUsableSize)
{
    TForm7& list = program.RevisionList();
    TForm2& designer = program.Designer();
    TForm3& data = program.DataProcessing();
    QWidget* const windows[] = {&list,
                                &data,
                                &designer,
                                &program.Settings(),
                                &program.BarcodeWizard(),
                                &program.PrintDialog(),
                                &program.TextSetup(),
                                &list.SetupDialog(),
                                &list.TextFilterDialog(),
                                &list.DateFilterDialog(),
                                designer.NewPageDialog,
                                designer.NewTableDialog,
                                designer.LimitsDialog};
    for (QWidget* window : windows) {
        window->show();
        EXPECT_TRUE(Available(*window).contains(window->frameGeometry()))
            << window->objectName().toStdString() << " at " << window->frameGeometry().x() << ","
            << window->frameGeometry().y() << " " << window->width() << "x" << window->height();
        EXPECT_GE(window->width(), window->minimumSizeHint().width()) << window->objectName().toStdString();
        EXPECT_GE(window->height(), window->minimumSizeHint().height()) << window->objectName().toStdString();
    }

    // A window moved partly off the screen comes back whole when shown again.
    designer.hide();
    designer.move(Available(designer).right() - 50, Available(designer).bottom() - 50);
    designer.show();
    EXPECT_TRUE(Available(designer).contains(designer.frameGeometry()));

    // The revision list asks for room for all its columns, the data window
    // keeps its page box and zoom out of the tool bars' overflow.
    EXPECT_GE(list.sizeHint().width(), list.DrawGrid1->horizontalHeader()->length() + list.DrawGrid1->verticalHeader()->width());
    EXPECT_TRUE(data.Edit1->isVisible());
    EXPECT_TRUE(data.ComboBox4->isVisible());
    EXPECT_TRUE(Inside(*data.Edit1, data));
    EXPECT_TRUE(Inside(*data.ComboBox4, data));
}

TEST_F(WindowPlacementTest, CaptionsAndEntriesAreShownWhole)
{
    // The setup dialog's columns are as wide as their captions and texts.
    TForm8& setup = program.RevisionList().SetupDialog();
    bool shown = false;
    QTimer::singleShot(0, &setup, [&] {
        shown = setup.isVisible();
        QTreeWidget* columns = setup.ListView1;
        QHeaderView* header = columns->header();
        EXPECT_EQ(columns->topLevelItemCount(), 12);
        for (int c = 0; c < columns->columnCount(); ++c) {
            EXPECT_GE(header->sectionSize(c), header->sectionSizeHint(c)) << c;
            for (int r = 0; r < columns->topLevelItemCount(); ++r)
                EXPECT_TRUE(FitsIn(*columns, columns->topLevelItem(r)->text(c), header->sectionSize(c)))
                    << columns->topLevelItem(r)->text(c).toStdString();
        }
        EXPECT_LE(header->length(), columns->viewport()->width());
        setup.reject();
    });
    program.RevisionList().Setup1->trigger();
    EXPECT_TRUE(shown);

    // The wizard's number list shows its entries whole from the first showing.
    TForm9& wizard = program.BarcodeWizard();
    std::vector<LabelNumber> numbers;
    wizard.State().Numbers().SetEntries(&numbers);
    wizard.Button3->click(); // adds the initial range
    ASSERT_GT(numbers.size(), 10u);
    wizard.show();
    for (const LabelNumber& entry : numbers)
        EXPECT_TRUE(FitsIn(*wizard.ListBox1, entry.Text, wizard.ListBox1->gridSize().width()))
            << entry.Text.toStdString() << " in " << wizard.ListBox1->gridSize().width();
    wizard.hide();
    wizard.State().Numbers().SetEntries(nullptr);

    // The designer's property area is as wide as the panels it shows: the
    // text panel that appears with a selected text field cuts no box.
    TForm2& designer = program.Designer();
    designer.show();
    auto text = std::make_unique<TextObject>();
    text->SetRect(100, 100, 600, 200);
    designer.GetDocument().GetCurrentPage()->AddObject(std::move(text));
    designer.SelectAll1Click();
    ASSERT_TRUE(designer.TextPanel->isVisibleTo(&designer));
    QWidget* area = designer.ScrollBox2->viewport();
    for (QWidget* box : {static_cast<QWidget*>(designer.Edit1), static_cast<QWidget*>(designer.Edit4),
                         static_cast<QWidget*>(designer.ComboBox1), static_cast<QWidget*>(designer.ComboBox7)})
        EXPECT_TRUE(Inside(*box, *area)) << box->objectName().toStdString();
}

TEST_F(WindowPlacementTest, ALanguageSwitchWhileShownMakesRoomForTheNewCaptions)
{
    TForm11& settings = program.Settings();
    settings.show();
    settings.ComboBox1->setCurrentIndex(Language::Czech);
    settings.ComboBox1Change(Language::Czech);
    EXPECT_EQ(settings.Button2->text(), MainLanguage.GetString(StringId::Cancel, Language::Czech));
    const QWidget* const controls[] = {settings.Button1, settings.Button2, settings.ComboBox1, settings.Label2};
    for (const QWidget* control : controls) {
        EXPECT_TRUE(Inside(*control, settings)) << control->objectName().toStdString();
        EXPECT_GE(control->width(), control->sizeHint().width()) << control->objectName().toStdString();
    }
    EXPECT_TRUE(Available(settings).contains(settings.frameGeometry()));
}

} // namespace
