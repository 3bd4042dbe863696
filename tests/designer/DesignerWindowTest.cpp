// The designer window driven as a user would, offscreen: building a template
// from the menus, the canvas and the property panels, saving and reopening
// it; the dialogs' refusals; zoom, grid, pages and the status line.

#include "designer/DesignerUnits.h"
#include "designer/widgets/ColorSwatch.h"
#include "designer/widgets/CreateFields.h"
#include "designer/widgets/DesignerCanvas.h"
#include "designer/widgets/LimitSetup.h"
#include "designer/widgets/QuillfenDesigner.h"
#include "designer/widgets/QuillfenNewPage.h"
#include "documents/BarcodeObject.h"
#include "documents/MeasureLimit.h"
#include "documents/MeasureObject.h"
#include "documents/PictureObject.h"
#include "documents/TextObject.h"
#include "documents/widgets/TextSetup.h"
#include "language/Language.h"

#include "common/FakeDialogs.h"
#include "common/FieldRecords.h"
#include "common/ScopedGuards.h"
#include "common/ScopedIconTheme.h"
#include "common/TextRecorder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QIcon>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {

// Runs `fn` on the next modal dialog once it is shown (the caller then opens it).
template <typename Dialog, typename Fn>
void WhenShown(Dialog* dialog, Fn fn)
{
    auto* timer = new QTimer(dialog);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, dialog, [dialog, timer, fn] {
        if (!dialog->isVisible())
            return;
        timer->deleteLater();
        timer->stop();
        fn();
    });
    timer->start();
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// The centre of a model rectangle in the canvas's pixels.
QPoint Centre(const TForm2& w, const AbstractFormObject* object)
{
    const TRect r = object->GetRect();
    const QuillfenZoom& zoom = const_cast<TForm2&>(w).GetDocument().GetZoom();
    return {zoom.ModelToScreen((r.Left + r.Right) / 2), zoom.ModelToScreen((r.Top + r.Bottom) / 2)};
}

void ClickOn(TForm2& w, const AbstractFormObject* object, Qt::KeyboardModifiers modifiers = {})
{
    QTest::mouseClick(w.PaintBox1, Qt::LeftButton, modifiers, Centre(w, object));
}

void Choose(QComboBox* box, int index)
{
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void Type(QLineEdit* box, const QString& text)
{
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

PageObject& Page(TForm2& w)
{
    return *w.GetDocument().GetCurrentPage();
}

// The texts are checked in English; the language is put back afterwards.
struct EnglishTexts
{
    int previous = MainLanguage.GetLanguage();
    EnglishTexts() { MainLanguage.SetLanguage(Language::English); }
    ~EnglishTexts() { MainLanguage.SetLanguage(previous); }
};

// A move of the pointer with no button held, as the platform reports it.
void MoveTo(QWidget* widget, QPoint p)
{
    QMouseEvent move(QEvent::MouseMove, p, widget->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// The rows of `view` that are on screen, as their styled texts show them.
QString ShownRows(QAbstractItemView& view)
{
    QString shown;
    for (int row = 0; row < view.model()->rowCount(); ++row) {
        const QModelIndex index = view.model()->index(row, 0);
        if (view.visualRect(index).intersects(view.viewport()->rect()))
            shown += ShownLetters(index.data().toString());
    }
    return shown;
}

struct DesignerWindowTest : ::testing::Test
{
    EnglishTexts english;
    FakeDialogs dialogs;
    QTemporaryDir dir;
    TForm2 w;
    void SetUp() override { w.show(); }
};

} // namespace

TEST_F(DesignerWindowTest, BuildsATemplateFromThePanelsAndReopensItByteForByte)
{
    // A text field styled from the text panel.
    w.InsertField(FieldKind::Text);
    auto* text = static_cast<TextObject*>(Page(w).GetObject(0));
    ClickOn(w, text);
    ASSERT_TRUE(w.TextPanel->isVisibleTo(&w));
    EXPECT_FALSE(w.Panel11->isVisibleTo(&w));
    EXPECT_EQ(w.Edit1->text(), "1");
    EXPECT_EQ(w.Edit5->text(), "40");
    ASSERT_GT(w.ComboBox1->count(), 0);
    Choose(w.ComboBox1, w.ComboBox1->count() - 1);
    Choose(w.ComboBox5, 7);
    Choose(w.ComboBox7, 11);
    Type(w.ComboBox2->lineEdit(), "12 mm");
    Type(w.Edit1, "5");
    Type(w.Edit5, "30.25");
    EXPECT_EQ(w.Edit3->text(), "35.2");
    QTest::mouseClick(w.PaintBox4, Qt::LeftButton, {}, QPoint(w.PaintBox4->width() / 2, 3));
    w.PopupMenu1->actions().at(5)->trigger();
    w.PopupMenu1->close();
    dialogs.colors.enqueue(QColor(255, 0, 0));
    QTest::mouseClick(w.Panel13, Qt::LeftButton);
    QTest::mouseClick(w.Panel14, Qt::LeftButton); // cancelled: nothing changes
    EXPECT_EQ(text->GetFontName(), w.ComboBox1->currentText().toLatin1().left(31));
    EXPECT_EQ(text->GetAlign(), 7);
    EXPECT_EQ(text->GetType(), 11);
    EXPECT_EQ(text->GetSize(), 120);
    EXPECT_EQ(text->GetRect(), (TRect{50, 10, 352, 150}));
    EXPECT_EQ(text->GetTopBorder(), 5);
    EXPECT_EQ(text->GetLeftBorder(), 1);
    EXPECT_EQ(text->GetStoredForeColor(), 0x0000FF);
    EXPECT_EQ(text->GetStoredBackColor(), clWhite);

    // A measure field with limits and a quantity, then a barcode and a table.
    w.InsertField(FieldKind::Measure);
    auto* measure = static_cast<MeasureObject*>(Page(w).GetObject(1));
    ClickOn(w, measure);
    ASSERT_TRUE(w.Panel11->isVisibleTo(&w));
    Choose(w.ComboBox3, 3);
    Choose(w.ComboBox8, 2);
    w.CheckListBox1->item(3)->setCheckState(Qt::Checked);
    WhenShown(w.LimitsDialog, [&] {
        EXPECT_TRUE(w.LimitsDialog->RadioButton1->isChecked()); // no limit yet: "Don't use"
        w.LimitsDialog->Edit1->setText("1.5");
        QTest::keyClicks(w.LimitsDialog->Edit2, "low");
        w.LimitsDialog->Edit3->setText("9");
        w.LimitsDialog->RadioButton7->setChecked(true);
        w.LimitsDialog->Button1->click();
    });
    w.SpeedButton2->click();
    ASSERT_NE(measure->GetLimit(), nullptr);
    EXPECT_EQ(measure->GetLimit()->GetMinimum(), 1.5);
    EXPECT_EQ(measure->GetLimit()->GetMinType(), MeasureLimit::ShowText);
    EXPECT_EQ(measure->GetLimit()->GetMinText(), "low");
    EXPECT_EQ(measure->GetLimit()->GetMaxType(), MeasureLimit::ChangeBackColor);
    EXPECT_TRUE(measure->HasSymbol(3));
    EXPECT_EQ(measure->GetFormat(), 3);
    EXPECT_EQ(measure->GetDecimalPosition(), 2);
    EXPECT_EQ(w.CheckListBox1->count(), 48);

    w.InsertField(FieldKind::Barcode);
    WhenShown(w.NewTableDialog, [&] {
        w.NewTableDialog->Edit1->setText("2");
        w.NewTableDialog->Edit2->setText("2");
        w.NewTableDialog->Button1->click();
    });
    w.Table1Click();
    ASSERT_EQ(Page(w).GetCount(), 4);
    EXPECT_TRUE(w.SpeedButton27->isChecked()); // the table alone is selected
    EXPECT_TRUE(w.GetDocument().IsModified());

    // Save asks for a name and adds the extension; reopening gives the same
    // pages, and saving them again the same bytes.
    const QString path = dir.filePath("template.qfs");
    dialogs.fileNames.enqueue(dir.filePath("template"));
    ASSERT_TRUE(w.Save2Click());
    EXPECT_EQ(w.GetFileName(), path);
    EXPECT_EQ(w.windowTitle(), "Template designer - " + path);
    EXPECT_FALSE(w.GetDocument().IsModified());
    const QByteArray saved = FileBytes(path);
    EXPECT_EQ(saved.mid(4, 4), "temp");

    TForm2 other;
    other.show();
    dialogs.fileNames.enqueue(path);
    other.Open1Click();
    EXPECT_EQ(other.GetFileName(), path);
    EXPECT_EQ(SavedRecord(Page(other)), SavedRecord(Page(w)));
    const QString again = dir.filePath("again.qfs");
    dialogs.fileNames.enqueue(again);
    other.SaveAs1Click();
    EXPECT_EQ(FileBytes(again), saved);

    // Save as, cancelled, keeps the name and the caption.
    other.SaveAs1Click();
    EXPECT_EQ(other.GetFileName(), again);
    EXPECT_EQ(other.windowTitle(), "Template designer - " + again);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(DesignerWindowTest, RefreshingThePanelsWritesNothingBack)
{
    w.InsertField(FieldKind::Text);
    w.InsertField(FieldKind::Text);
    auto* b = static_cast<TextObject*>(Page(w).GetObject(1));
    b->SetSize(60);
    const QByteArray before = SavedRecord(Page(w));
    w.GetDocument().SetModified(false);
    w.GetDocument().SelectAll();
    w.Refresh();
    EXPECT_EQ(w.Edit1->text(), ""); // lefts differ
    EXPECT_EQ(w.Edit2->text(), "1");
    EXPECT_EQ(w.ComboBox2->currentText(), ""); // sizes differ
    EXPECT_EQ(SavedRecord(Page(w)), before);
    EXPECT_FALSE(w.GetDocument().IsModified());

    // Entering a left moves both.
    Type(w.Edit1, "5");
    EXPECT_EQ(Page(w).GetObject(0)->GetRect().Left, 50);
    EXPECT_EQ(Page(w).GetObject(1)->GetRect().Left, 50);
    EXPECT_TRUE(w.GetDocument().IsModified());
}

TEST_F(DesignerWindowTest, DoubleClickEditsTheTextOfATextFieldOnly)
{
    QStringList edited;
    const auto editOnShow = [&] {
        WhenShown(w.TextSetup1, [&] {
            edited << w.TextSetup1->GetStyledText();
            w.TextSetup1->SetStyledText(QStringLiteral("H\x1b\x02" "2" "\x1b\x01" "O"));
            w.TextSetup1->Button2->click();
        });
    };
    auto picture = std::make_unique<PictureObject>();
    picture->SetRect(1000, 1000, 1200, 1200);
    AbstractFormObject* pictureField = w.GetDocument().AddObject(std::move(picture));
    ClickOn(w, pictureField);
    QTest::mouseDClick(w.PaintBox1, Qt::LeftButton, {}, Centre(w, pictureField));
    EXPECT_FALSE(w.TextSetup1->isVisible());

    w.InsertField(FieldKind::Text);
    TextObject* text = static_cast<TextObject*>(Page(w).GetObject(1));
    text->SetText(QStringLiteral("before"));
    ClickOn(w, text);
    w.GetDocument().SetModified(false);
    editOnShow();
    QTest::mouseDClick(w.PaintBox1, Qt::LeftButton, {}, Centre(w, text));
    EXPECT_EQ(edited, QStringList{"before"});
    EXPECT_EQ(text->GetText(), QStringLiteral("H\x1b\x02" "2" "\x1b\x01" "O"));
    EXPECT_TRUE(w.GetDocument().IsModified());
}

TEST_F(DesignerWindowTest, NewPageAndNewTableDialogsRefuseBadSizes)
{
    w.InsertField(FieldKind::Text);
    TForm1* page = w.NewPageDialog;
    WhenShown(page, [&] {
        EXPECT_EQ(page->Edit1->text(), "210");
        EXPECT_EQ(page->Edit2->text(), "297.5");
        Choose(page->ComboBox1, 4);
        EXPECT_EQ(page->Edit1->text(), "182");
        EXPECT_EQ(page->Edit2->text(), "257");
        int beeps = 0;
        for (const char* bad : {"abc", "0", "-5", "0.01", "1e12"}) {
            page->Edit1->setText(QString::fromLatin1(bad));
            page->Button1->click();
            EXPECT_EQ(dialogs.beeps, ++beeps) << bad;
            EXPECT_TRUE(page->isVisible());
            EXPECT_EQ(page->Edit1->selectedText(), QString::fromLatin1(bad));
        }
        page->Edit1->setText("148");
        page->Edit2->setText("-1");
        page->Button1->click();
        EXPECT_EQ(dialogs.beeps, ++beeps);
        EXPECT_EQ(page->Edit2->selectedText(), "-1");
        page->Edit2->setText("210.09");
        page->Button1->click();
    });
    dialogs.answers.enqueue(IDNO);
    w.New4Click();
    EXPECT_EQ(dialogs.Texts(), QStringList{"File was modified. Save ?"});
    EXPECT_EQ(w.GetDocument().GetWidth(), 1480);
    EXPECT_EQ(w.GetDocument().GetHeight(), 2100);
    EXPECT_EQ(Page(w).GetCount(), 0);

    TForm4* table = w.NewTableDialog;
    WhenShown(table, [&] {
        const std::pair<QLineEdit*, const char*> bad[] = {{table->Edit1, "2.5"},
                                                          {table->Edit1, "101"},
                                                          {table->Edit2, "x"},
                                                          {table->Edit3, "0"},
                                                          {table->Edit4, "x"}};
        for (const auto& [box, text] : bad) {
            for (QLineEdit* good : {table->Edit1, table->Edit2, table->Edit3, table->Edit4})
                good->setText("1");
            box->setText(QString::fromLatin1(text));
            table->Button1->click();
            EXPECT_TRUE(table->isVisible()) << text;
            EXPECT_EQ(box->selectedText(), QString::fromLatin1(text));
        }
        table->Edit1->setText("1");
        table->Edit2->setText("1");
        table->Edit3->setText("2.5");
        table->Edit4->setText("10");
        table->Button1->click();
    });
    w.Table1Click();
    const auto* cells = static_cast<const GroupObject*>(Page(w).GetObject(0));
    ASSERT_EQ(cells->GetCount(), 1);
    EXPECT_EQ(cells->GetObject(0)->GetRect(), (TRect{0, 0, 25, 100}));
    EXPECT_EQ(cells->GetObject(0)->GetTopBorder(), 6);

    // Every showing starts from the defaults again.
    WhenShown(table, [&] {
        EXPECT_EQ(table->Edit1->text(), "5");
        EXPECT_EQ(table->Edit3->text(), "25");
        table->Button2->click();
    });
    w.Table1Click();
    EXPECT_EQ(Page(w).GetCount(), 1);

    // No rows or no columns pass the dialog and build nothing.
    const std::pair<const char*, const char*> empty[] = {{"0", "2"}, {"-3", "2"}, {"2", "0"}};
    for (const auto& [rows, columns] : empty) {
        WhenShown(table, [&] {
            table->Edit1->setText(QString::fromLatin1(rows));
            table->Edit2->setText(QString::fromLatin1(columns));
            table->Button1->click();
            EXPECT_FALSE(table->isVisible()) << rows << " x " << columns;
        });
        w.Table1Click();
        EXPECT_EQ(Page(w).GetCount(), 1) << rows << " x " << columns;
    }
}

TEST_F(DesignerWindowTest, LimitsDialogSwitchesTheActionOnlyWhenTheUserTypes)
{
    TForm10& limits = *w.LimitsDialog;
    MeasureLimit limit;
    limit.SetMinType(MeasureLimit::ChangeTextColor);
    limit.SetMinText(QStringLiteral("under"));
    limit.SetMaxType(MeasureLimit::NoAction);
    limit.SetMaxText(QStringLiteral("over"));
    limit.SetMaxColor(0x00FF00);
    limits.SetLimit(&limit);
    EXPECT_TRUE(limits.RadioButton2->isChecked());
    EXPECT_TRUE(limits.RadioButton5->isChecked());

    QTest::keyClicks(limits.Edit2, "!");
    EXPECT_TRUE(limits.RadioButton4->isChecked());
    EXPECT_TRUE(limits.RadioButton5->isChecked());
    QTest::mouseClick(limits.Panel2, Qt::LeftButton); // colour dialog cancelled
    limits.Edit3->setText("n/a");
    const MeasureLimit read = limits.GetLimit();
    EXPECT_EQ(read.GetMinText(), "under!");
    EXPECT_EQ(read.GetMinType(), MeasureLimit::ShowText);
    EXPECT_EQ(read.GetMaxColor(), 0x00FF00);
    EXPECT_EQ(read.GetMaximum(), 0);
}

TEST_F(DesignerWindowTest, ZoomGridPagesAndStatusLine)
{
    for (int32_t expected : {140, 197, 250, 250}) {
        w.Zoomin1Click();
        EXPECT_EQ(w.ComboBox4->currentText(), DesignerUnits::ZoomText(expected));
    }
    EXPECT_EQ(w.PaintBox1->size(), QSize(2100, 2975));
    Type(w.ComboBox4->lineEdit(), "abc");
    EXPECT_EQ(w.ComboBox4->currentText(), "100 %");
    for (int32_t expected : {70, 49, 34, 24, 20, 20})
        EXPECT_EQ((w.Zoomout1Click(), w.GetDocument().GetZoom().GetZoom()), expected);

    Type(w.ComboBox6->lineEdit(), "0.5 mm");
    EXPECT_EQ(w.GetDocument().GetGrid(), 5);
    w.SpeedButton16->click();
    EXPECT_EQ(w.ComboBox6->currentText(), "1 mm");
    w.SpeedButton17->click();
    w.SpeedButton17->click();
    EXPECT_EQ(w.GetDocument().GetGrid(), 2);
    Type(w.ComboBox6->lineEdit(), "25");
    EXPECT_EQ(w.ComboBox6->currentText(), "10 mm");
    w.SpeedButton16->click();
    EXPECT_EQ(w.GetDocument().GetGrid(), 100);
    Type(w.ComboBox6->lineEdit(), "0.1");
    w.SpeedButton17->click();
    EXPECT_EQ(w.ComboBox6->currentText(), "None");

    // The status line names the field under the pointer in whole millimetres.
    Type(w.ComboBox4->lineEdit(), "250");
    auto field = std::make_unique<TextObject>();
    field->SetRect(1000, 500, 1500, 700);
    field->SetType(11);
    w.GetDocument().AddObject(std::move(field));
    MoveTo(w.PaintBox1, QPoint(1234, 567));
    EXPECT_EQ(w.statusBar()->currentMessage(), "123.0:56.0   Location");
    MoveTo(w.PaintBox1, QPoint(100, 100));
    EXPECT_EQ(w.statusBar()->currentMessage(), "10.0:10.0   ");

    // Pages: new after the current, keys and the page box clamp. The
    // coordinates read on one page go with it.
    w.New3Click();
    EXPECT_TRUE(w.statusBar()->currentMessage().isEmpty());
    MoveTo(w.PaintBox1, QPoint(100, 100));
    w.New3Click();
    EXPECT_EQ(w.Edit7->text(), "3");
    QTest::keyClick(w.ScrollBox1, Qt::Key_Home);
    EXPECT_EQ(w.Edit7->text(), "1");
    QTest::keyClick(w.ScrollBox1, Qt::Key_PageDown);
    EXPECT_EQ(w.Edit7->text(), "2");
    QTest::keyClick(w.ScrollBox1, Qt::Key_End);
    QTest::keyClick(w.ScrollBox1, Qt::Key_PageDown);
    EXPECT_EQ(w.Edit7->text(), "3");
    Type(w.Edit7, "0");
    EXPECT_EQ(w.Edit7->text(), "1");

    // The wheel at the bottom of a page turns to the next one, at the top to
    // the previous one, and never past the last.
    const auto wheel = [&](int delta) {
        QWheelEvent event(QPointF(10, 10), w.ScrollBox1->mapToGlobal(QPoint(10, 10)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w.ScrollBox1->viewport(), &event);
    };
    QScrollBar* bar = w.ScrollBox1->verticalScrollBar();
    bar->setValue(bar->maximum());
    wheel(-120);
    EXPECT_EQ(w.Edit7->text(), "2");
    EXPECT_EQ(bar->value(), 0);
    wheel(120);
    EXPECT_EQ(w.Edit7->text(), "1");
    w.Last1Click();
    bar->setValue(bar->maximum());
    wheel(-120);
    EXPECT_EQ(w.Edit7->text(), "3");
    EXPECT_EQ(DesignerUnits::WholePageZoom(500, 0), QuillfenZoom::DefaultZoom);

    dialogs.answers.enqueue(IDNO);
    w.Delete1Click();
    EXPECT_EQ(w.GetDocument().GetPageCount(), 3);
    w.Delete1Click();
    EXPECT_EQ(w.GetDocument().GetPageCount(), 2);

    MoveTo(w.PaintBox1, QPoint(100, 100));
    w.First1Click();
    EXPECT_TRUE(w.statusBar()->currentMessage().isEmpty());
    MoveTo(w.PaintBox1, QPoint(100, 100));
    w.First1Click(); // the same page: the coordinates still hold
    EXPECT_FALSE(w.statusBar()->currentMessage().isEmpty());
    w.hide(); // a new document
    w.show();
    EXPECT_TRUE(w.statusBar()->currentMessage().isEmpty());
}

TEST_F(DesignerWindowTest, AFilledFormOpensWithoutItsNameSoSavingCannotDropItsSections)
{
    const QString path = dir.filePath("filled.qfs");
    {
        QuillfenDesignerForm form({}, 2100, 2975);
        FileWriter writer(path, Tag::Form);
        form.WriteSection(writer);
        writer.BeginSection(Tag::Revd);
        writer.GetStream().write("revd bytes");
        ASSERT_TRUE(writer.Commit());
    }
    const QByteArray before = FileBytes(path);
    w.OpenFile(path);
    EXPECT_EQ(w.GetFileName(), "");
    EXPECT_EQ(w.windowTitle(), "Template designer");
    w.InsertField(FieldKind::Text);
    EXPECT_FALSE(w.Save2Click()); // the save dialog is cancelled
    EXPECT_EQ(FileBytes(path), before);

    // Closing asks; Cancel keeps the window and its document.
    dialogs.answers.enqueue(IDCANCEL);
    EXPECT_FALSE(w.close());
    EXPECT_EQ(Page(w).GetCount(), 1);
    dialogs.answers.enqueue(IDNO);
    EXPECT_TRUE(w.close());
    EXPECT_EQ(w.GetDocument().GetCurrentPage()->GetCount(), 0);
    EXPECT_FALSE(w.GetDocument().IsModified());
}

TEST_F(DesignerWindowTest, StyledListsShowEachTextOnceAndTheAlignBoxItsDrawing)
{
    w.InsertField(FieldKind::Measure);
    ClickOn(w, Page(w).GetObject(0));
    ASSERT_TRUE(w.Panel11->isVisibleTo(&w));
    QApplication::processEvents();
    TextRecorder recorder;
    // Quantity symbols carry style escapes: drawn styled, never raw beside or under it.
    const QString expected = ShownRows(*w.CheckListBox1);
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(recorder.RenderLetters(*w.CheckListBox1), expected);
    w.ComboBox3->showPopup();
    QAbstractItemView* formats = w.ComboBox3->view();
    EXPECT_EQ(recorder.RenderLetters(*formats), ShownRows(*formats));
    w.ComboBox3->hidePopup();

    // The closed align box shows the chosen alignment's picture, no number.
    Choose(w.ComboBox5, 4);
    EXPECT_TRUE(w.ComboBox5->currentText().isEmpty());
    EXPECT_FALSE(w.ComboBox5->itemIcon(4).isNull());
    EXPECT_EQ(recorder.RenderLetters(*w.ComboBox5), QString());
    EXPECT_EQ(static_cast<TextObject*>(Page(w).GetObject(0))->GetAlign(), 4);
}

TEST(DesignerIconBarTest, ThemeIconsWithCaptionTipsAndTheWordWhereTheThemeHasNone)
{
    EnglishTexts english;
    FakeDialogs dialogs;
    ScopedIconTheme theme(
        {QStringLiteral("document-open"), QStringLiteral("x-office-spreadsheet")});
    TForm2 w;
    int dataShown = 0;
    int listShown = 0;
    DesignerHooks hooks;
    hooks.ShowDataProcessing = [&] { ++dataShown; };
    hooks.ShowRevisionList = [&] { ++listShown; };
    w.SetHooks(std::move(hooks));
    w.show();
    const auto button = [&](QAction* action) {
        return qobject_cast<QToolButton*>(w.ControlBar1->widgetForAction(action));
    };

    QToolButton* open = button(w.Open1);
    ASSERT_NE(open, nullptr);
    EXPECT_FALSE(open->icon().isNull());
    EXPECT_EQ(open->toolTip(), "Open"); // "Open ..." without its dots

    // The File panel ends with the two other windows.
    QToolButton* list = button(w.RevisionList1);
    QToolButton* data = button(w.DataProcessing1);
    ASSERT_NE(list, nullptr);
    ASSERT_NE(data, nullptr);
    EXPECT_FALSE(list->icon().isNull());
    EXPECT_EQ(list->toolTip(), "Revision list");
    EXPECT_TRUE(data->icon().isNull());
    EXPECT_EQ(data->text(), "Data processing");
    QTest::mouseClick(list, Qt::LeftButton);
    QTest::mouseClick(data, Qt::LeftButton);
    EXPECT_EQ(listShown, 1);
    EXPECT_EQ(dataShown, 1);

    // Without a picture in the theme the button keeps its word.
    TextRecorder recorder;
    EXPECT_EQ(recorder.RenderLetters(*data), "Dataprocessing");
    EXPECT_EQ(recorder.RenderLetters(*open), QString());
    EXPECT_EQ(w.SpeedButton27->toolTip(), w.SpeedButton27->text());
    EXPECT_FALSE(w.SpeedButton27->toolTip().isEmpty());
}

// Nothing is taken from a cut, empty or foreign file: the open document keeps
// its pages, its name and its modified state, and the message says why. A save
// the system refuses says why too, and the saved file stays as it was.
TEST_F(DesignerWindowTest, UnreadableFilesLeaveTheDocumentAndFailedSavesSayWhy)
{
    w.InsertField(FieldKind::Text);
    const QString path = dir.filePath("doc.qfs");
    dialogs.fileNames.enqueue(dir.filePath("doc"));
    ASSERT_TRUE(w.Save2Click());
    ASSERT_EQ(w.GetFileName(), path);
    EXPECT_EQ(dialogs.saveSuffixes, QStringList{"qfs"});
    const QByteArray saved = FileBytes(path);
    w.InsertField(FieldKind::Text);

    const std::pair<QByteArray, int> files[] = {
        {saved.left(saved.size() - 8), StringId::FileNotOpened},
        {QByteArray(), StringId::NotQuillfenDocument},
        {QByteArray("\x89PNG\r\n\x1a\n but no picture", 24), StringId::NotQuillfenDocument},
    };
    int index = 0;
    for (const auto& [bytes, message] : files) {
        const QString other = dir.filePath(QString("other%1.qfs").arg(index++));
        QFile file(other);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        dialogs.answers.enqueue(IDNO); // do not save the changes first
        w.OpenFile(other);
        EXPECT_EQ(dialogs.messages.last().text, MainLanguage.GetString(message)) << index;
        EXPECT_EQ(w.GetFileName(), path);
        EXPECT_EQ(w.windowTitle(), "Template designer - " + path);
        EXPECT_TRUE(w.GetDocument().IsModified());
        EXPECT_EQ(Page(w).GetCount(), 2);
    }

    dialogs.messages.clear();
    {
        SaveFault fault(dir.path());
        EXPECT_FALSE(w.Save2Click());
        dialogs.fileNames.enqueue(dir.filePath("doc"));
        w.ExportasXML1Click();
        const QString expected =
            MainLanguage.GetString(StringId::FileNotSaved) + u'\n' + fault.Reason();
        ASSERT_EQ(dialogs.Texts(), (QStringList{expected, expected}));
    }
    EXPECT_EQ(dialogs.saveSuffixes, (QStringList{"qfs", "xml"}));
    EXPECT_EQ(FileBytes(path), saved);
    EXPECT_FALSE(QFile::exists(dir.filePath("doc.xml")));
    EXPECT_TRUE(w.GetDocument().IsModified());
}
