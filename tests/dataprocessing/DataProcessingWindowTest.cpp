// The data processing window and the instrument settings dialog driven
// offscreen against a simulated instrument on a pseudo terminal.

#include "dataprocessing/widgets/InstrumentSetupDialog.h"
#include "dataprocessing/widgets/QuillfenTransfer.h"

#include "common/DrawRecorder.h"
#include "common/FakeDialogs.h"
#include "common/FakePrinters.h"
#include "common/InstrumentSimulator.h"
#include "common/RecordBytes.h"
#include "common/ScopedGuards.h"
#include "common/ScopedLanguage.h"
#include "common/TextRecorder.h"
#include "common/TransferHarness.h"
#include "dataprocessing/RecordLookup.h"
#include "documents/MeasureObject.h"
#include "documents/TextObject.h"
#include "instruments/InstrumentTranslator.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/Registry.h"
#include "platform/SerialPort.h"
#include "revisionlist/RevisionTableRow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDrag>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

constexpr int TransferWaitMs = 60000;

QByteArray PatternImage(int size)
{
    QByteArray image(size, '\xFF');
    uint32_t seed = 11;
    for (int i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        if ((i / 512) % 4 != 3)
            image[i] = static_cast<char>(seed >> 16);
    }
    return image;
}

QByteArray SectionBytes(const QString& path, int32_t tag, qint64 length = -1)
{
    FileReader reader(path);
    if (!reader.SeekSection(tag))
        return {};
    return length < 0 ? reader.GetStream().readAll() : reader.GetStream().read(length);
}

class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!sim.IsReady())
            GTEST_SKIP() << "no pseudo terminal";
        MainLanguage.SetLanguage(Language::English);
        const TranslatorModel* model = FindTranslatorModel(ModelCode::Kx420);
        sim.SetModel(ModelCode::Kx420, 115200);
        sim.SetImage(PatternImage(model->ImageSize), model->BlockSize);
    }
    InstrumentSimulator sim;
    ScopedSerialPorts ports{{{QStringLiteral("COM3"), sim.DevicePath()}}};
    RecordingReporter reporter;
    ScopedTransferReporter installedReporter{&reporter};
    FakeDialogs dialogs;
    QTemporaryDir dir;
};

// One record, found by its ID.
class OneRecord : public RecordLookup
{
public:
    RevisionTableRow row;
    QStringList ListRowIds() const override { return {row.GetField(RevisionTableRow::Id)}; }
    const RevisionTableRow* FindRowById(const QString& id) const override
    {
        return id == row.GetField(RevisionTableRow::Id) ? &row : nullptr;
    }
};

// A template: one group with two measure fields that take anything and an ID.
QString WriteTemplate(const QString& path)
{
    QuillfenForm form(nullptr, QuillfenForm::DefaultWidth, QuillfenForm::DefaultHeight);
    auto group = std::make_unique<GroupObject>(form.GetGlobalTexts());
    for (int i = 0; i < 2; ++i) {
        auto field = std::make_unique<MeasureObject>();
        field->SetRect(100 + 400 * i, 100, 450 + 400 * i, 300);
        group->AddObject(std::move(field));
    }
    auto id = std::make_unique<TextObject>();
    id->SetType(QuillfenTransferForm::IdType);
    id->SetText("ID-7");
    id->SetRect(100, 400, 500, 500);
    group->AddObject(std::move(id));
    auto name = std::make_unique<TextObject>();
    name->SetType(QuillfenTransferForm::NameType);
    name->SetRect(600, 400, 900, 500);
    group->AddObject(std::move(name));
    form.GetCurrentPage()->AddObject(std::move(group));
    FileWriter writer(path, Tag::Temp);
    EXPECT_TRUE(form.Save(writer));
    return path;
}

TEST_F(WindowTest, TransferDropOnTemplateAndSave)
{
    TForm3 window;
    OneRecord records;
    bool autoFill = true;
    window.SetHooks({.AutoFill = [&] { return autoFill; }, .Records = &records});
    window.show();
    ASSERT_EQ(window.ComboBox2->currentText(), "COM3");
    window.LoadDocument(WriteTemplate(dir.filePath("t.qfs")));

    window.Transfer1Click();
    EXPECT_FALSE(window.Transfer1->isEnabled());
    window.Transfer1Click(); // ignored while the first one runs
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.IsTransferRunning(); }, TransferWaitMs));
    EXPECT_TRUE(reporter.Errors().isEmpty()) << reporter.Errors().join(", ").toStdString();
    EXPECT_TRUE(window.Transfer1->isEnabled());
    InstrumentData& transfered = window.Document().Transfered();
    ASSERT_GT(transfered.GetCount(), 0);
    QTreeWidgetItem* root = window.TreeView1->topLevelItem(1);
    ASSERT_EQ(root->childCount(), transfered.GetCount());

    // Drag the first bank with at least two measurements onto the group.
    int b = 0;
    while (b < transfered.GetCount() && transfered.GetBank(b)->GetCount() < 2)
        ++b;
    ASSERT_LT(b, transfered.GetCount());
    records.row.SetField(RevisionTableRow::Id, QString::fromLatin1(transfered.GetBank(b)->GetName()));
    records.row.SetField(RevisionTableRow::Name, QStringLiteral("Switchboard"));
    window.TreeView1MouseDown(root->child(b));
    ASSERT_NE(window.DraggedValue(), nullptr);
    const QuillfenZoom& zoom = window.Form().GetZoom();
    window.PaintBox1DragDrop(QPoint(zoom.ModelToScreen(200), zoom.ModelToScreen(200)));
    EXPECT_EQ(window.DraggedValue(), nullptr);
    const auto* group = static_cast<GroupObject*>(window.Form().GetPage(0)->GetObject(0));
    EXPECT_NE(static_cast<MeasureObject*>(group->GetObject(0))->GetValue(), nullptr);

    // The template is unnamed: Save asks, then writes "revd", "form", "data".
    const QString saved = dir.filePath("day");
    dialogs.fileNames.enqueue(saved);
    window.Save1Click();
    ASSERT_EQ(window.Document().FileName(), saved + ".qfs");
    EXPECT_TRUE(window.windowTitle().endsWith(saved + ".qfs"));
    EXPECT_FALSE(window.Form().IsModified());
    // The record found by the bank's name filled the group's record texts.
    const QByteArray id = transfered.GetBank(b)->GetName();
    const QByteArray revd = "page" "grp " "text" + Le32(3) + Le32(int32_t(id.size())) + id + "text" + Le32(2)
                            + Le32(11) + "Switchboard" + "egrp" "epag" "end ";
    EXPECT_EQ(SectionBytes(saved + ".qfs", Tag::Revd, revd.size()), revd);
    FileReader reader(saved + ".qfs");
    InstrumentData reread;
    ASSERT_TRUE(QuillfenTransferForm::ReadData(reader, reread));
    EXPECT_EQ(Written([&](QIODevice& out) { reread.Save(out); }),
              Written([&](QIODevice& out) { transfered.Save(out); }));

    // Hiding discards everything, the file name included.
    window.close();
    EXPECT_TRUE(window.Document().FileName().isEmpty());
    EXPECT_EQ(window.Document().Transfered().GetCount(), 0);
}

TEST_F(WindowTest, WindowClosedDuringTransferWaitsForIt)
{
    {
        TForm3 window;
        window.Transfer1Click();
        ASSERT_TRUE(window.IsTransferRunning());
    }
    // The thread stopped and handed over before the window's data went.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(reporter.Errors().isEmpty() || reporter.Errors().contains(QStringLiteral("Interupted by user")));
}

TEST_F(WindowTest, PagesZoomFindIdCloseQueryAndDemonstrationData)
{
    TForm3 window;
    window.show();
    QuillfenTransferForm& form = window.Form();
    for (const char* id : {"A-1", "B-22", "C-333"}) {
        auto text = std::make_unique<TextObject>();
        text->SetType(QuillfenTransferForm::IdType);
        text->SetText(id);
        text->SetRect(100, 100, 500, 200);
        (form.GetPageCount() == 1 && form.GetPage(0)->GetCount() == 0 ? form.GetPage(0) : form.AddPage())
            ->AddObject(std::move(text));
    }
    window.First1Click();
    window.Last1Click();
    EXPECT_EQ(window.Edit1->text(), "3");
    window.Next1Click();
    EXPECT_EQ(form.GetCurrentPageIndex(), 2);
    QTest::keyClick(&window, Qt::Key_Home);
    EXPECT_EQ(window.Edit1->text(), "1");
    window.Edit1->setText("2");
    window.Edit1Enter();
    EXPECT_EQ(form.GetCurrentPageIndex(), 1);

    window.Edit7->setText("c-3?3");
    window.FindIdClick();
    EXPECT_EQ(window.Edit1->text(), "3");
    window.First1Click();
    window.Edit7->setText("A");
    window.FindIdClick(); // starts on the next page
    EXPECT_EQ(window.Edit1->text(), "2");

    window.ComboBox4->setEditText("200 %");
    window.ComboBox4Change();
    window.Zoomin1Click();
    EXPECT_EQ(form.GetZoom().GetZoom(), 250);
    EXPECT_EQ(window.ComboBox4->currentText(), "250 %");
    window.ComboBox4->setEditText("abc");
    window.ComboBox4Change();
    EXPECT_EQ(form.GetZoom().GetZoom(), 100);

    // Print: the pages the print dialog chose, on the program's printer.
    {
        FakePrinters printers(dir.path());
        printers.printDialogAnswer = {true, 2, 3};
        window.Print1->trigger();
        ASSERT_EQ(printers.Jobs().size(), 1);
        EXPECT_EQ(PdfInfo::Of(printers.Jobs()[0].file).pages, 2);
    }

    // Deleting a page asks first.
    dialogs.answers.enqueue(IDNO);
    window.Delete1Click();
    EXPECT_EQ(form.GetPageCount(), 3);
    window.Delete1Click();
    EXPECT_EQ(form.GetPageCount(), 2);

    // Modified: Cancel keeps the window, No closes it without saving.
    form.SetModified();
    dialogs.answers.enqueue(IDCANCEL);
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    dialogs.answers.enqueue(IDNO);
    EXPECT_TRUE(window.FormCloseQuery());
    // Yes with a save that fails: the user is told and the window stays.
    window.Document().SetFileName(dir.filePath("missing/x.qfs"));
    dialogs.answers.enqueue(IDYES);
    EXPECT_FALSE(window.FormCloseQuery());
    EXPECT_TRUE(dialogs.Texts().last().startsWith("The file could not be saved."));
    EXPECT_TRUE(form.IsModified());

    // A double click edits a record text; a value dragged off its field onto
    // free page area is removed.
    window.SetHooks({.EditText = [](QString& text) {
        text = QStringLiteral("NEW");
        return true;
    }});
    window.First1Click();
    const QuillfenZoom& zoom = form.GetZoom();
    const QPoint onText(zoom.ModelToScreen(200), zoom.ModelToScreen(150));
    window.PaintBox1MouseDown(Qt::LeftButton, onText, true);
    EXPECT_EQ(form.GetPage(0)->GetObject(0)->GetText(), "NEW");
    auto measure = std::make_unique<MeasureObject>();
    measure->SetRect(100, 300, 500, 400);
    measure->SetValue(InstrumentItem(1.5, 1, true, false).CloneItem().get());
    auto* field = static_cast<MeasureObject*>(form.GetPage(0)->AddObject(std::move(measure)));
    window.PaintBox1MouseDown(Qt::LeftButton, QPoint(zoom.ModelToScreen(200), zoom.ModelToScreen(350)), false);
    ASSERT_NE(window.DraggedValue(), nullptr);
    EXPECT_TRUE(window.PaintBox1DragOver(QPoint(zoom.ModelToScreen(1500), zoom.ModelToScreen(1500))));
    window.PaintBox1DragDrop(QPoint(zoom.ModelToScreen(1500), zoom.ModelToScreen(1500)));
    EXPECT_EQ(field->GetValue(), nullptr);

    // The access code typed on the window adds the four banks.
    QTest::keyClicks(&window, "kvzq");
    EXPECT_EQ(window.Document().Transfered().GetCount(), 4);
    EXPECT_EQ(window.TreeView1->topLevelItem(1)->childCount(), 4);
    // Every node's own text (" [n]" of a primary item) is drawn once, after its styled value.
    window.TreeView1->expandAll();
    QApplication::processEvents();
    int numbered = 0;
    for (QTreeWidgetItemIterator it(window.TreeView1); *it; ++it)
        if (window.TreeView1->visualItemRect(*it).intersects(window.TreeView1->viewport()->rect()))
            numbered += int((*it)->text(0).count(u'['));
    ASSERT_GT(numbered, 0);
    TextRecorder recorder;
    EXPECT_EQ(recorder.RenderLetters(*window.TreeView1).count(u'['), numbered);

    // "Save Data As ..." writes what its chosen filter entry names.
    dialogs.filterIndexes.enqueue(3);
    dialogs.fileNames.enqueue(dir.filePath("table.htm"));
    window.SaveDataAs1Click();
    QFile table(dir.filePath("table.htm"));
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    const QByteArray html = table.readAll();
    EXPECT_TRUE(html.startsWith("<HTML>\r\r\n") && html.endsWith("</TABLE></BODY>")) << html.constData();
}

// What the window system does when a drag ends over the canvas: the drag
// enters, moves and drops at `at`.
Qt::DropAction DropOn(QWidget* canvas, const QDrag& drag, QPoint at)
{
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, actions, drag.mimeData(), Qt::LeftButton, {});
    QCoreApplication::sendEvent(canvas, &enter);
    QDragMoveEvent move(at, actions, drag.mimeData(), Qt::LeftButton, {});
    QCoreApplication::sendEvent(canvas, &move);
    if (!enter.isAccepted() || !move.isAccepted())
        return Qt::IgnoreAction;
    QDropEvent drop(QPointF(at), actions, drag.mimeData(), Qt::LeftButton, {});
    QCoreApplication::sendEvent(canvas, &drop);
    return drop.dropAction();
}

TEST_F(WindowTest, OnlyADragCarriesTheValueItsPressPickedUp)
{
    TForm3 window;
    QWidget* canvas = window.findChild<QWidget*>(QStringLiteral("PaintBox1"));
    ASSERT_NE(canvas, nullptr);
    QPoint releaseAt;
    int drags = 0;
    window.SetHooks({.ExecDrag = [&](QDrag& drag) {
        ++drags;
        return DropOn(canvas, drag, releaseAt);
    }});
    window.show();
    QuillfenTransferForm& form = window.Form();
    MeasureObject* fields[2];
    for (int i = 0; i < 2; ++i) {
        auto field = std::make_unique<MeasureObject>();
        field->SetRect(100 + 500 * i, 100, 500 + 500 * i, 200);
        fields[i] = static_cast<MeasureObject*>(form.GetPage(0)->AddObject(std::move(field)));
    }
    fields[0]->SetValue(InstrumentItem(1.5, 1, true, false).CloneItem().get());
    form.AddPage();
    form.SetModified(false);
    window.First1Click();
    const QuillfenZoom& zoom = form.GetZoom();
    const auto at = [&](int x, int y) {
        return QPoint(zoom.ModelToScreen(x), zoom.ModelToScreen(y));
    };
    const QPoint onA = at(300, 150);
    const QPoint onB = at(800, 150);
    const QPoint free = at(1500, 2000);
    const QPoint step(20, 20);
    // Pressed at `from`, moved far enough for a drag, released at `to`.
    const auto dragOnPage = [&](QPoint from, QPoint to) {
        releaseAt = to;
        QTest::mousePress(canvas, Qt::LeftButton, {}, from);
        QTest::mouseMove(canvas, from + step);
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, to);
    };

    // A click on A, then a drag from free page area; a click on a bank of
    // the tree, then a drag on the page: nothing is carried.
    QTest::mouseClick(canvas, Qt::LeftButton, {}, onA);
    dragOnPage(free, free + step);
    QTest::keyClicks(&window, "kvzq");
    QTreeWidgetItem* bank = window.TreeView1->topLevelItem(1)->child(0);
    ASSERT_NE(bank, nullptr);
    QTest::mouseClick(window.TreeView1->viewport(), Qt::LeftButton, {},
                      window.TreeView1->visualItemRect(bank).center());
    dragOnPage(free, onB);
    // Neither does a press whose page goes before the mouse moves.
    QTest::mousePress(canvas, Qt::LeftButton, {}, onA);
    QTest::keyClick(window.ScrollBox1, Qt::Key_PageDown);
    QTest::mouseMove(canvas, onA + step);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, onA + step);
    window.First1Click();
    EXPECT_EQ(drags, 0);
    ASSERT_NE(fields[0]->GetValue(), nullptr);
    EXPECT_EQ(fields[0]->GetValue()->GetValue(), 1.5);
    EXPECT_EQ(fields[1]->GetValue(), nullptr);
    EXPECT_FALSE(form.IsModified());

    // A real drag moves A's value to B.
    dragOnPage(onA, onB);
    EXPECT_EQ(drags, 1);
    EXPECT_EQ(fields[0]->GetValue(), nullptr);
    ASSERT_NE(fields[1]->GetValue(), nullptr);
    EXPECT_EQ(fields[1]->GetValue()->GetValue(), 1.5);

    // A new document frees the field pressed on; the move after it starts nothing.
    QTest::mousePress(canvas, Qt::LeftButton, {}, onB);
    dialogs.answers.enqueue(IDNO);
    window.New1Click();
    QTest::mouseMove(canvas, onB + step);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, free);
    EXPECT_EQ(drags, 1);
}

TEST_F(WindowTest, PortsArrivingLaterAreAppendedAndTheStoredOneChosenAgain)
{
    {
        TRegistry registry;
        registry.OpenKey(QStringLiteral("\\Software\\Quillfen2"), true);
        registry.WriteInteger(QStringLiteral("ComPort"), 0); // COM1, not there yet
    }
    TForm3 window;
    ASSERT_EQ(window.ComboBox2->count(), 1);
    EXPECT_EQ(window.ComboBox2->currentText(), "COM3");

    // An adapter plugged in: the device folder changes, and after it has
    // settled the new port follows those listed and is chosen as stored.
    ports.Map(QStringLiteral("COM1"), sim.DevicePath());
    window.DevicesChanged();
    for (int wait = 0; wait < 200 && window.ComboBox2->count() < 2; ++wait)
        QTest::qWait(50);
    ASSERT_EQ(window.ComboBox2->count(), 2);
    EXPECT_EQ(window.ComboBox2->itemText(0), "COM3");
    EXPECT_EQ(window.ComboBox2->itemText(1), "COM1");
    EXPECT_EQ(window.ComboBox2->currentText(), "COM1");
    EXPECT_EQ(window.ComboBox2->currentData().toInt(), 0);
}

TEST_F(WindowTest, WheelStepsOverPagesAndTypedZoomIsNotCollected)
{
    TForm3 window;
    window.show();
    QuillfenTransferForm& form = window.Form();
    form.AddPage();
    form.AddPage();
    window.First1Click();
    window.Next1Click();
    QScrollBar* bar = window.ScrollBox1->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 100);
    const auto wheel = [&](int delta) {
        QWidget* viewport = window.ScrollBox1->viewport();
        const QPointF at(10, 10);
        QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
    };
    bar->setValue(0);
    wheel(-120);
    EXPECT_EQ(bar->value(), 25);
    EXPECT_EQ(form.GetCurrentPageIndex(), 1);
    // Back to the top is the previous page at once, at its end.
    wheel(120);
    EXPECT_EQ(form.GetCurrentPageIndex(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(window.Edit1->text(), "1");
    // At the bottom, down goes to the next page's top.
    wheel(-120);
    EXPECT_EQ(form.GetCurrentPageIndex(), 1);
    EXPECT_EQ(bar->value(), 0);

    // A typed zoom is applied, not added to the list.
    window.ComboBox4->lineEdit()->selectAll();
    QTest::keyClicks(window.ComboBox4->lineEdit(), "abc");
    QTest::keyClick(window.ComboBox4->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(window.ComboBox4->count(), 7);
    EXPECT_EQ(form.GetZoom().GetZoom(), 100);
    QTest::keyClicks(window.ComboBox4->lineEdit(), "7");
    QTest::keyClick(window.ComboBox4->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(window.ComboBox4->count(), 7);
}

TEST_F(WindowTest, SettingsDialogReadsEditsAndWrites)
{
    TForm12 dialog;
    EXPECT_FALSE(dialog.Button3->isEnabled());
    QTimer::singleShot(0, &dialog, [&] {
        // The read of the shown dialog first; then the model's defaults.
        QTest::qWaitFor([&] { return !dialog.IsTransferRunning(); }, TransferWaitMs);
        dialog.Button1Click();
        QTest::qWaitFor([&] { return !dialog.IsTransferRunning(); }, TransferWaitMs);
        ASSERT_TRUE(dialog.Button3->isEnabled());
        ASSERT_GT(dialog.ListBox1->count(), 1);
        // Each row's styled text once, never its raw text as well.
        QString shown;
        for (int row = 0; row < dialog.ListBox1->count(); ++row)
            if (dialog.ListBox1->visualItemRect(dialog.ListBox1->item(row))
                    .intersects(dialog.ListBox1->viewport()->rect()))
                shown += ShownLetters(dialog.ListBox1->item(row)->text());
        TextRecorder recorder;
        EXPECT_EQ(recorder.RenderLetters(*dialog.ListBox1), shown);
        // The first number setting: a value outside its limits changes nothing.
        int row = 0;
        InstrumentSetupItemNumber* number = nullptr;
        for (int g = 0; g < dialog.Setup().GetCount() && !number; ++g) {
            ++row;
            for (int i = 0; i < dialog.Setup().GetBank(g)->GetCount() && !number; ++i, ++row)
                number = dynamic_cast<InstrumentSetupItemNumber*>(dialog.Setup().GetBank(g)->GetItem(i));
        }
        ASSERT_NE(number, nullptr);

        // Each row draws its image, then its text after it: a group's image
        // at the row's left edge, a setting's one image further right.
        const QRect rowRect(0, 0, 300, 20);
        for (const auto& [listRow, imageLeft] : {std::pair{0, 0}, std::pair{1, 20}}) {
            DrawRecorder device;
            QStyleOptionViewItem option;
            option.rect = rowRect;
            {
                QPainter painter(&device);
                dialog.ListBox1->itemDelegate()->paint(&painter, option,
                                                       dialog.ListBox1->model()->index(listRow, 0));
            }
            ASSERT_EQ(device.engine.images.size(), 1) << listRow;
            const QRect image = device.engine.images.front();
            EXPECT_GE(image.left(), imageLeft) << listRow;
            EXPECT_LE(image.right(), imageLeft + 20) << listRow;
            ASSERT_FALSE(device.engine.texts.isEmpty()) << listRow;
            for (const DrawRecorder::Text& text : device.engine.texts)
                EXPECT_GE(text.at.x(), imageLeft + 20) << listRow << " " << text.text.toStdString();
        }

        dialog.ListBox1->setCurrentRow(row - 1);
        dialog.ListBox1DblClick();
        EXPECT_TRUE(dialog.Edit1->isVisible());
        const float before = number->GetValue();
        dialog.Edit1->setText("1e9");
        dialog.Edit1KeyDown(Qt::Key_Return);
        EXPECT_EQ(number->GetValue(), before);
        dialog.ListBox1DblClick();
        dialog.Edit1->setText("nonsense");
        dialog.Edit1KeyDown(Qt::Key_Return);
        EXPECT_EQ(dialogs.beeps, 1);

        // A refused write keeps the dialog open; the next one closes it.
        sim.InjectFault(InstrumentSimulator::Fault::Refuse, 10, InstrumentSimulator::Scope::Write);
        dialog.Button3Click();
        QTest::qWaitFor([&] { return !dialog.IsTransferRunning(); }, TransferWaitMs);
        EXPECT_TRUE(dialog.isVisible());
        dialog.Button3Click();
    });
    const int result = dialog.Run(QStringLiteral("COM3"));
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.ListBox1->count(), 0); // hiding discards the description
    EXPECT_TRUE(reporter.Errors().contains(QStringLiteral("Transmission failed")));

    // What the instrument holds now reads back as the defaults just written.
    InstrumentSetup written;
    const auto read = RunTransfer([&](InstrumentTransferWindow::Completion done) {
        (new InstrumentTransferWindowThread(QStringLiteral("COM3")))->StartReadSetup(&written, std::move(done));
    });
    ASSERT_EQ(read, TransferResult::Success);
    EXPECT_GT(written.GetCount(), 0);
}

} // namespace

namespace {

TEST_F(WindowTest, SettingsDialogCancelledWhileReadingWaitsForTheWorker)
{
    // Every block is refused for a while: the read is still running when
    // the user cancels, and the dialog is destroyed right after.
    sim.InjectFault(InstrumentSimulator::Fault::NoReply, 1000, InstrumentSimulator::Scope::Read);
    SetSerialTimeoutCap(20);
    {
        TForm12 dialog;
        QTimer::singleShot(50, &dialog, [&] {
            EXPECT_TRUE(dialog.IsTransferRunning());
            EXPECT_FALSE(dialog.Button1->isEnabled());
            dialog.Button1Click(); // no second transfer while one runs
            dialog.reject();
            EXPECT_FALSE(dialog.IsTransferRunning());
        });
        EXPECT_EQ(dialog.Run(QStringLiteral("COM3")), QDialog::Rejected);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(reporter.Errors().isEmpty() || reporter.Errors().contains(QStringLiteral("Interupted by user")));
}

} // namespace

// Empty or foreign files open nothing and say so; every save and export of the
// window asks with its extension, and one the system refuses says why while
// the earlier file stays.
TEST_F(WindowTest, ForeignFilesAreRefusedAndFailedSavesSayWhy)
{
    TForm3 window;
    window.show();
    window.LoadDocument(WriteTemplate(dir.filePath("t.qfs")));
    const QString path = dir.filePath("form.qfs");
    dialogs.fileNames.enqueue(dir.filePath("form"));
    ASSERT_TRUE(window.SaveDocument());
    ASSERT_EQ(window.Document().FileName(), path);
    const QByteArray saved = [&] {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();

    const QString empty = dir.filePath("empty.qfs");
    const QString foreign = dir.filePath("foreign.qfs");
    for (const auto& [name, bytes] :
         {std::pair{empty, QByteArray()}, std::pair{foreign, QByteArray("%PDF-1.4 ...")}}) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    const QString refused = MainLanguage.GetString(StringId::NotQuillfenDocument);
    dialogs.fileNames.enqueue(foreign);
    window.Open1Click();
    EXPECT_EQ(dialogs.Texts(), QStringList{refused});
    dialogs.fileNames.enqueue(empty);
    window.Opendata1Click();
    EXPECT_EQ(dialogs.Texts(), (QStringList{refused, refused}));
    EXPECT_EQ(window.Document().FileName(), path);
    EXPECT_EQ(window.Form().GetPageCount(), 1);

    dialogs.messages.clear();
    {
        SaveFault fault(dir.path());
        window.Save1Click();
        dialogs.fileNames.enqueue(dir.filePath("data"));
        window.SaveDataAs1Click();
        dialogs.filterIndexes.enqueue(2);
        dialogs.fileNames.enqueue(dir.filePath("list.html"));
        window.SaveDataAs1Click();
        dialogs.fileNames.enqueue(dir.filePath("form"));
        window.ExportasXML1Click();
        ASSERT_EQ(dialogs.messages.size(), 4);
        for (const auto& message : dialogs.messages)
            EXPECT_TRUE(message.text.endsWith(u'\n' + fault.Reason()))
                << message.text.toStdString();
    }
    EXPECT_EQ(dialogs.saveSuffixes, (QStringList{"qfs", "qfs", "qfs", "xml"}));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), saved);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4); // t, form, empty, foreign
}

TEST(DataWindowRecordTest, AnIdWithCzechLettersFillsItsGroupFromTheList)
{
    ASSERT_NE(QLocale::system().language(), QLocale::Czech)
        << "meant for a machine whose locale is not Czech";
    // English: a code page without the ID's letters.
    for (const int language : {Language::Czech, Language::English}) {
        SCOPED_TRACE(language);
        const ScopedLanguage chosen(language);
        FakeDialogs dialogs;
        QTemporaryDir dir;
        OneRecord records;
        records.row.SetField(RevisionTableRow::Id, QString::fromUtf8("Rozvaděč 3"));
        records.row.SetField(RevisionTableRow::Name, QString::fromUtf8("Kotelna"));
        TForm3 window;
        window.SetHooks({.AutoFill = [] { return true; },
                         .Records = &records,
                         .EditText =
                             [](QString& text) {
                                 text = QString::fromUtf8("Rozvaděč 3");
                                 return true;
                             }});
        window.show();
        window.LoadDocument(WriteTemplate(dir.filePath("t.qfs")));

        // The ID typed into the group's ID field finds the record that fills the group.
        const QuillfenZoom& zoom = window.Form().GetZoom();
        window.PaintBox1MouseDown(Qt::LeftButton,
                                  QPoint(zoom.ModelToScreen(200), zoom.ModelToScreen(450)), true);
        const auto* group = static_cast<GroupObject*>(window.Form().GetPage(0)->GetObject(0));
        EXPECT_EQ(group->GetObject(2)->GetText(), QString::fromUtf8("Rozvaděč 3"));
        EXPECT_EQ(group->GetObject(3)->GetText(), QString::fromUtf8("Kotelna"));
    }
}

// File > Exit goes the close box's way: a modified form is asked about
// first, and only a close the user allows empties the window.
// The page and zoom boxes show the empty document as New does: when the
// window first appears and when it appears again after it was closed. The
// page box is a page number wide, however wide the window (the laptop
// screen runs give the tool bars room to stretch it).
TEST(DataWindowFirstViewTest, PageAndZoomBoxesShowTheEmptyDocumentAsNewDoes)
{
    FakeDialogs dialogs;
    TForm3 window;
    const auto boxes = [&] {
        return QStringList{window.Edit1->text(), window.ComboBox4->currentText()};
    };
    const QStringList empty{"1", "100 %"};
    window.resize(1366, 700);
    window.show();
    EXPECT_EQ(boxes(), empty);
    const QFontMetrics metrics = window.Edit1->fontMetrics();
    const int wide = window.Edit1->width();
    EXPECT_GE(wide, metrics.horizontalAdvance(QStringLiteral("9999")));
    EXPECT_LT(wide, QLineEdit().sizeHint().width());

    window.Form().AddPage();
    window.Zoomout1Click();
    window.Last1Click();
    ASSERT_EQ(boxes(), (QStringList{"2", "70 %"}));
    dialogs.answers.enqueue(IDNO); // not saved
    window.New1Click();
    EXPECT_EQ(boxes(), empty);
    window.Form().AddPage();
    window.Last1Click();
    window.Zoomin1Click();
    dialogs.answers.enqueue(IDNO);
    window.close();
    window.resize(800, 600);
    window.show();
    EXPECT_EQ(boxes(), empty);
    EXPECT_EQ(window.Edit1->width(), wide);
}

TEST(DataWindowExitTest, ExitAsksAboutAModifiedFormBeforeEmptyingTheWindow)
{
    const ScopedLanguage english(Language::English);
    FakeDialogs dialogs;
    QTemporaryDir dir;
    TForm3 window;
    window.show();
    window.LoadDocument(WriteTemplate(dir.filePath("t.qfs")));
    QTest::keyClicks(&window, "kvzq");
    ASSERT_EQ(window.Document().Transfered().GetCount(), 4);
    window.TreeView1MouseDown(window.TreeView1->topLevelItem(1)->child(0));
    const QuillfenZoom& zoom = window.Form().GetZoom();
    window.PaintBox1DragDrop(QPoint(zoom.ModelToScreen(200), zoom.ModelToScreen(200)));
    const auto* group = static_cast<GroupObject*>(window.Form().GetPage(0)->GetObject(0));
    const auto* field = static_cast<MeasureObject*>(group->GetObject(0));
    ASSERT_NE(field->GetValue(), nullptr);
    ASSERT_TRUE(window.Form().IsModified());

    dialogs.answers.enqueue(IDCANCEL);
    window.Exit1->trigger();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, MainLanguage.GetString(StringId::SaveQuestion));
    EXPECT_EQ(dialogs.messages[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.Form().IsModified());
    ASSERT_EQ(window.Form().GetPage(0)->GetObject(0), group);
    EXPECT_NE(field->GetValue(), nullptr);
    EXPECT_EQ(window.Document().Transfered().GetCount(), 4);
    EXPECT_EQ(window.TreeView1->topLevelItem(1)->childCount(), 4);

    dialogs.answers.enqueue(IDNO);
    window.Exit1->trigger();
    EXPECT_EQ(dialogs.messages.size(), 2);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.Form().IsModified());
    EXPECT_EQ(window.Form().GetPage(0)->GetCount(), 0);
    EXPECT_EQ(window.Document().Transfered().GetCount(), 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"t.qfs"});
}
