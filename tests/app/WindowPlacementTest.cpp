// Every window and dialog of the program opens wholly on the available
// screen, frame included, shows its content uncut, and makes room again when
// the language changes while it is shown; dialogs open over their window.
// CTest runs this also on laptop screens whose platform frames no window
// (screens/*.json), where a window must leave room for the frame to come.

#include "app/QuillfenProgram.h"
#include "common/FakeDialogs.h"
#include "common/FramedGeometry.h"
#include "dataprocessing/widgets/CreateBarcode.h"
#include "dataprocessing/widgets/QuillfenTransfer.h"
#include "designer/FieldKinds.h"
#include "designer/widgets/CreateFields.h"
#include "designer/widgets/DesignerCanvas.h"
#include "designer/widgets/LimitSetup.h"
#include "designer/widgets/QuillfenDesigner.h"
#include "designer/widgets/QuillfenNewPage.h"
#include "documents/PageObject.h"
#include "documents/TextObject.h"
#include "documents/widgets/PrintForm.h"
#include "documents/widgets/TextSetup.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/widgets/ScreenFit.h"
#include "revisionlist/RevisionTableModel.h"
#include "revisionlist/RevisionTableRow.h"
#include "revisionlist/widgets/QuillfenRevisionTable.h"
#include "revisionlist/widgets/QuillfenSetup.h"
#include "revisionlist/widgets/RevisionDateFilter.h"
#include "revisionlist/widgets/RevisionFilter.h"
#include "revisionlist/widgets/RevisionSetup.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>
#include <QtTest/QTest>

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

namespace {

constexpr int EnglishLocale = 0x409;

QRect Available(const QWidget& window)
{
    return window.screen()->availableGeometry();
}

// A window manager's usual frame: a title bar and thin borders. The room a
// window keeps for a frame not known yet holds at least that.
constexpr QMargins UsualFrame(4, 30, 4, 4);
static_assert(UnknownFrameAllowance.left() >= UsualFrame.left()
              && UnknownFrameAllowance.top() >= UsualFrame.top()
              && UnknownFrameAllowance.right() >= UsualFrame.right()
              && UnknownFrameAllowance.bottom() >= UsualFrame.bottom());

// A laptop's screen: 768 pixels high.
constexpr int LaptopScreenHeight = 768;
// Rows of the designer's quantity list that such a screen shows at least.
constexpr int QuantityRowsShown = 8;

std::string Describe(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4")
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height())
        .toStdString();
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

    // The designer shown with the text panel of a selected text field.
    TForm2& ShowDesignerWithATextFieldSelected()
    {
        TForm2& designer = program.Designer();
        designer.show();
        auto text = std::make_unique<TextObject>();
        text->SetRect(100, 100, 600, 200);
        designer.GetDocument().GetCurrentPage()->AddObject(std::move(text));
        designer.SelectAll1Click();
        return designer;
    }

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
    for (const int language : {Language::English, Language::Czech}) {
        MainLanguage.SetLanguage(language);
        program.ApplyLanguageToAll();
        for (QWidget* window : windows) {
            window->show();
            EXPECT_TRUE(Available(*window).contains(Framed(*window)))
                << window->objectName().toStdString() << " at " << Describe(Framed(*window))
                << " on " << Describe(Available(*window)) << " in language " << language;
            EXPECT_GE(window->width(), window->minimumSizeHint().width())
                << window->objectName().toStdString();
            EXPECT_GE(window->height(), window->minimumSizeHint().height())
                << window->objectName().toStdString();
        }
        for (QWidget* window : windows)
            window->hide();
    }
    MainLanguage.SetLanguage(Language::English);
    program.ApplyLanguageToAll();
    for (QWidget* window : windows)
        window->show();

    // A window moved partly off the screen comes back whole when shown again.
    designer.hide();
    designer.move(Available(designer).right() - 50, Available(designer).bottom() - 50);
    designer.show();
    EXPECT_TRUE(Available(designer).contains(Framed(designer))) << Describe(Framed(designer));

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
    TForm2& designer = ShowDesignerWithATextFieldSelected();
    ASSERT_TRUE(designer.TextPanel->isVisibleTo(&designer));
    QWidget* area = designer.ScrollBox2->viewport();
    for (QWidget* box : {static_cast<QWidget*>(designer.Edit1), static_cast<QWidget*>(designer.Edit4),
                         static_cast<QWidget*>(designer.ComboBox1), static_cast<QWidget*>(designer.ComboBox7)})
        EXPECT_TRUE(Inside(*box, *area)) << box->objectName().toStdString();
}

TEST_F(WindowPlacementTest, ALanguageSwitchWhileShownMakesRoomForTheNewCaptions)
{
    // The designer shows the text panel of a selected text field.
    TForm2& designer = ShowDesignerWithATextFieldSelected();
    ASSERT_TRUE(designer.TextPanel->isVisibleTo(&designer));

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
    EXPECT_TRUE(Available(settings).contains(Framed(settings)));

    // The property area has room for the longer captions at once, not only
    // after the next selection change, also once the layouts have done what
    // the captions asked of them.
    for (int round = 0; round < 4; ++round)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QWidget* area = designer.ScrollBox2->widget();
    EXPECT_GE(area->width(), area->sizeHint().width());
    for (const QLabel* label : area->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(area))
            continue;
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
        EXPECT_TRUE(Inside(*label, *designer.ScrollBox2->viewport()))
            << label->text().toStdString();
    }
    for (const QComboBox* box : area->findChildren<QComboBox*>()) {
        if (box->isVisibleTo(area))
            EXPECT_TRUE(Inside(*box, *designer.ScrollBox2->viewport()))
                << box->objectName().toStdString();
    }
    EXPECT_TRUE(Available(designer).contains(Framed(designer))) << Describe(Framed(designer));
}

TEST_F(WindowPlacementTest, TheDesignersQuantityListShowsRowsEnoughAndThePanelsKeepOneWidth)
{
    TForm2& designer = program.Designer();
    designer.show();
    PageObject& page = *designer.GetDocument().GetCurrentPage();
    const auto place = [&](FieldKind kind, int32_t top) {
        std::unique_ptr<AbstractFormObject> field =
            NewField(kind, designer.GetDocument().GetGlobalTexts());
        field->SetRect(100, top, 600, top + 100);
        AbstractFormObject* placed = field.get();
        page.AddObject(std::move(field));
        return placed;
    };
    AbstractFormObject* const text = place(FieldKind::Text, 100);
    AbstractFormObject* const global = place(FieldKind::GlobalText, 300);
    AbstractFormObject* const measure = place(FieldKind::Measure, 500);
    AbstractFormObject* const picture = place(FieldKind::Picture, 700);
    constexpr int32_t BesideTheFields = 1000;
    // Clicked as the user clicks them, the first alone, the others added with Shift.
    const auto select = [&](std::initializer_list<AbstractFormObject*> fields) {
        const QuillfenZoom& zoom = designer.GetDocument().GetZoom();
        // A click beside the page's fields first: the fields clicked then are all that is selected.
        QTest::mouseClick(
            designer.PaintBox1, Qt::LeftButton, {},
            QPoint(zoom.ModelToScreen(BesideTheFields), zoom.ModelToScreen(BesideTheFields)));
        Qt::KeyboardModifiers modifiers = {};
        for (AbstractFormObject* field : fields) {
            const TRect r = field->GetRect();
            QTest::mouseClick(designer.PaintBox1, Qt::LeftButton, modifiers,
                              QPoint(zoom.ModelToScreen((r.Left + r.Right) / 2),
                                     zoom.ModelToScreen((r.Top + r.Bottom) / 2)));
            modifiers = Qt::ShiftModifier;
        }
        for (int round = 0; round < 4; ++round)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    };
    const bool laptopScreen = designer.screen()->geometry().height() >= LaptopScreenHeight;
    QListWidget& list = *designer.CheckListBox1;
    QWidget& panels = *designer.ScrollBox2->viewport();
    for (const int language : {Language::English, Language::Czech}) {
        MainLanguage.SetLanguage(language);
        program.ApplyLanguageToAll();
        select({text});
        const int drawingWidth = designer.ScrollBox1->width();
        const std::initializer_list<AbstractFormObject*> selections[] = {
            {measure}, {global, measure}, {text, global, measure, picture}, {picture}, {global}};
        for (const std::initializer_list<AbstractFormObject*>& fields : selections) {
            select(fields);
            const std::string what =
                std::to_string(fields.size()) + " fields in language " + std::to_string(language);
            EXPECT_EQ(designer.ScrollBox1->width(), drawingWidth) << what;
            if (!list.isVisibleTo(&designer))
                continue;
            // Rows shown to their full height in the list, in the panels'
            // view and in the window (long ones run on past the list's side).
            int shown = 0;
            for (int row = 0; row < list.count(); ++row) {
                const QRect rect = list.visualItemRect(list.item(row));
                const QRect inList(0, rect.top(), list.viewport()->width(), rect.height());
                const QRect inPanels(list.viewport()->mapTo(&panels, inList.topLeft()),
                                     inList.size());
                shown +=
                    list.viewport()->rect().contains(inList) && panels.rect().contains(inPanels);
            }
            EXPECT_TRUE(Inside(panels, designer)) << what;
            EXPECT_EQ(designer.ScrollBox2->verticalScrollBar()->value(), 0) << what;
            if (laptopScreen) {
                EXPECT_GE(shown, QuantityRowsShown) << what;
            }
        }
    }
}

TEST_F(WindowPlacementTest, DialogsOpenCentredOverTheWindowTheyWereOpenedFrom)
{
    TForm7& list = program.RevisionList();
    TForm3& data = program.DataProcessing();
    TForm2& designer = program.Designer();
    const auto editableText = [] {
        auto text = std::make_unique<TextObject>();
        text->SetRect(100, 100, 600, 200);
        text->SetType(TextObject::EditableText);
        return text;
    };
    const QPoint onText(150, 150); // in the model's tenths of a millimetre
    const auto openDesignerText = [&] {
        designer.GetDocument().GetCurrentPage()->AddObject(editableText());
        designer.SelectAll1Click();
        const QuillfenZoom& zoom = designer.GetDocument().GetZoom();
        QTest::mouseDClick(designer.PaintBox1, Qt::LeftButton, {},
                           QPoint(zoom.ModelToScreen(onText.x()), zoom.ModelToScreen(onText.y())));
    };
    const auto openDataText = [&] {
        data.Form().GetPage(0)->AddObject(editableText());
        const QuillfenZoom& zoom = data.Form().GetZoom();
        data.PaintBox1MouseDown(
            Qt::LeftButton, QPoint(zoom.ModelToScreen(onText.x()), zoom.ModelToScreen(onText.y())),
            true);
    };
    int nextRevision = 0;
    while (list.Model().VisibleColumn(nextRevision)->GetNumber() != RevisionTableRow::NextRevision)
        ++nextRevision;
    struct Case
    {
        const char* dialog;
        QWidget* window;
        std::function<void()> open;
    };
    const Case cases[] = {
        {"New template", &designer, [&] { designer.New4Click(); }},
        {"New table", &designer, [&] { designer.Table1Click(); }},
        {"Limits", &designer, [&] { designer.SpeedButton2Click(); }},
        {"Text edit", &designer, openDesignerText},
        {"Settings", &designer, [&] { designer.Settings1->trigger(); }},
        {"Print", &designer, [&] { designer.Print1->trigger(); }},
        {"Text edit", &data, openDataText},
        {"Files to print", &data, [&] { data.MultiformPrint1->trigger(); }},
        {"Settings", &data, [&] { data.Settings1->trigger(); }},
        {"Print", &data, [&] { data.Print1->trigger(); }},
        {"Barcode wizard", &data, [&] { data.Barcode1->trigger(); }},
        {"Date filter", &list, [&] { list.FilterByColumn(nextRevision); }},
        {"Settings", &list, [&] { list.Settings1->trigger(); }},
        {"Print", &list, [&] { list.Print1->trigger(); }},
    };
    for (const Case& c : cases) {
        // The window in the screen's upper left part: its centre is not the screen's.
        QWidget& window = *c.window;
        window.show();
        const QRect area = Available(window);
        window.setGeometry(QRect(
            area.topLeft() + QPoint(UnknownFrameAllowance.left(), UnknownFrameAllowance.top()),
            area.size() * 3 / 4));
        // As when the user works in the window: a dialog without a parent
        // belongs to the active window.
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }))
            << c.dialog;
        QRect opened;
        QTimer::singleShot(0, &window, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                opened = Framed(*dialog);
                dialog->reject();
            }
        });
        c.open();
        ASSERT_FALSE(opened.isNull()) << c.dialog << " did not open";
        // Centred over the window; a dialog that would then leave the screen
        // is moved only as far as the screen needs.
        QRect centred = opened;
        centred.moveCenter(Framed(window).center());
        const QRect expected = centred.translated(
            std::clamp(centred.left(), area.left(), area.right() + 1 - centred.width())
                - centred.left(),
            std::clamp(centred.top(), area.top(), area.bottom() + 1 - centred.height())
                - centred.top());
        EXPECT_LE((opened.topLeft() - expected.topLeft()).manhattanLength(), 1)
            << c.dialog << " over " << window.objectName().toStdString() << " at "
            << Describe(opened) << ", the window at " << Describe(Framed(window));
        EXPECT_TRUE(area.contains(opened)) << c.dialog << " at " << Describe(opened);
    }
}

} // namespace
