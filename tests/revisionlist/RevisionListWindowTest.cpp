// The revision list window driven as a user would: a folder scanned into
// records, sorting, editing, filters, deleting, duplicating, opening a
// record's form, the list saved and opened again; list printing to PDF; the
// upload of records to a simulated instrument.

#include "common/DrawRecorder.h"
#include "common/FakeDialogs.h"
#include "common/FakePrinters.h"
#include "common/FilledFormFiles.h"
#include "common/InstrumentSimulator.h"
#include "common/RecordingCanvas.h"
#include "common/ScopedGuards.h"
#include "common/ScopedIconTheme.h"
#include "common/ScopedLanguage.h"
#include "common/TransferHarness.h"
#include "documents/widgets/PrintForm.h"
#include "instruments/InstrumentDatabase.h"
#include "instruments/InstrumentTranslator.h"
#include "instruments/Kx420Translator.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/DateTime.h"
#include "platform/SerialPort.h"
#include "revisionlist/AnsiText.h"
#include "revisionlist/RevisionTableModel.h"
#include "revisionlist/RevisionTableRow.h"
#include "revisionlist/widgets/PrintListThread.h"
#include "revisionlist/widgets/QuillfenRevisionTable.h"
#include "revisionlist/widgets/RevisionDateFilter.h"
#include "revisionlist/widgets/RevisionFilter.h"
#include "revisionlist/widgets/RevisionSetup.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QDir>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <tuple>

namespace {

constexpr int TextKindName = 2;
constexpr int TextKindId = 3;
constexpr int TextKindNextRevision = 5;

FilledBlock Record(const QString& id, const QString& name, const QString& next)
{
    return {{{TextKindId, id}, {TextKindName, name}, {TextKindNextRevision, next}}, {}};
}

class ListWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        MainLanguage.SetLanguage(Language::English);
        window.SetHooks(hooks);
    }

    QString Path(const QString& name) const { return dir.filePath(name); }

    // The texts the grid shows in one column, top to bottom, without the empty last line.
    QStringList Column(int column)
    {
        QStringList texts;
        RevisionTableModel& model = window.Model();
        for (int row = 0; row + 1 < model.rowCount(); ++row)
            texts << model.data(model.index(row, column)).toString();
        return texts;
    }

    void Scan()
    {
        window.SetupDialog().Edit1->setText(dir.path());
        bool done = false;
        QObject::connect(&window, &TForm7::ScanFinished, [&] { done = true; });
        window.LoadRevisionList1Click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 60000));
    }

    QTemporaryDir dir;
    FakeDialogs dialogs;
    QStringList opened; // "path@page" of every form the window asked to open
    TForm7::Hooks hooks{.OpenForm = [this](const QString& path, int page) {
        opened << path + u'@' + QString::number(page);
    }};
    TForm7 window;
};

TEST(ListIconBarTest, MenuBarKeepsItsCaptionsWhileTheIconBarShowsPictures)
{
    ScopedIconTheme theme(
        {QStringLiteral("x-office-document"), QStringLiteral("network-transmit")});
    FakeDialogs dialogs;
    TForm7 window;
    int shown = 0;
    TForm7::Hooks hooks;
    hooks.ShowDataProcessing = [&] { ++shown; };
    window.SetHooks(hooks);
    // The menu bar would draw an action's icon instead of its caption.
    for (QAction* action : window.menuBar()->actions())
        EXPECT_TRUE(action->icon().isNull()) << action->text().toStdString();
    auto* twin = window.findChild<QAction*>(QStringLiteral("Transfer1Button"));
    ASSERT_NE(twin, nullptr);
    EXPECT_FALSE(twin->icon().isNull());
    EXPECT_EQ(twin->toolTip(), MainLanguage.GetString(StringId::DataProcessing));
    auto* button = qobject_cast<QToolButton*>(window.ControlBar1->widgetForAction(twin));
    ASSERT_NE(button, nullptr);
    button->click();
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(window.Upload1->icon().isNull());
}

TEST_F(ListWindowTest, ScanSortEditFilterDeleteDuplicateOpenSaveReopen)
{
    ASSERT_TRUE(WriteFormFile(Path("a.qfs"), Tag::Form,
                              FilledValuesSection({{{}, {Record("10", "Boiler", DateToStr(QDateToDateTime(QDate(2000, 1, 1)))),
                                                         Record("2", "Attic", DateToStr(QDateToDateTime(QDate(2099, 1, 1))))}},
                                                   {{}, {Record("33", "Cellar", "nonsense")}}})));
    ASSERT_TRUE(WriteFormFile(Path("template.qfs"), Tag::Temp, FilledValuesSection({{{}, {Record("T", "x", "")}}})));
    window.show();
    ASSERT_FALSE(window.menuBar()->actions().isEmpty());
    EXPECT_EQ(window.menuBar()->actions().first()->text(), "Soubor"); // "File"
    Scan();
    EXPECT_TRUE(window.Model().IsModified());
    // Sorted by the first column after a scan.
    EXPECT_EQ(Column(0), (QStringList{"Attic", "Boiler", "Cellar"}));

    // The ID column compares numbers: ascending, then a second click descending.
    QHeaderView* header = window.DrawGrid1->horizontalHeader();
    emit header->sectionClicked(1);
    EXPECT_EQ(Column(1), (QStringList{"2", "10", "33"}));
    emit header->sectionClicked(1);
    EXPECT_EQ(Column(1), (QStringList{"33", "10", "2"}));

    // Editing a cell, and typing into the empty last line adds one record.
    RevisionTableModel& model = window.Model();
    const auto type = [&](int row, int column, const QString& text) {
        const QModelIndex index = model.index(row, column);
        window.DrawGrid1->setCurrentIndex(index);
        window.DrawGrid1->edit(index);
        auto* editor = window.DrawGrid1->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->clear();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The editor commits through a queued call and goes later still.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    type(0, 0, "Crypt");
    EXPECT_EQ(window.FindRowById("33")->GetField(RevisionTableRow::Name), "Crypt");
    type(3, 1, "44");
    EXPECT_EQ(model.rowCount(), 5);
    ASSERT_NE(window.FindRowById("44"), nullptr);

    // "Invalid files": only the record whose next revision has passed.
    window.InvalidFiles1->trigger();
    EXPECT_EQ(Column(1), QStringList{"10"});
    window.AllFiles1->trigger();
    EXPECT_EQ(model.rowCount(), 5);

    // The text filter from a caption double click, then Delete with the
    // filter active: afterwards every remaining record shows.
    QTimer::singleShot(0, [this] {
        window.TextFilterDialog().Edit1->setText("2");
        window.TextFilterDialog().accept();
    });
    window.FilterByColumn(1);
    EXPECT_EQ(Column(1), (QStringList{"2"}));
    EXPECT_EQ(window.findChild<QActionGroup*>()->checkedAction(), nullptr);
    window.DrawGrid1->setCurrentIndex(model.index(0, 0));
    dialogs.answers.enqueue(IDYES);
    QTest::keyClick(window.DrawGrid1, Qt::Key_Delete);
    EXPECT_EQ(window.FindRowById("2"), nullptr);
    EXPECT_EQ(window.ListRowIds().size(), 3);
    EXPECT_EQ(model.rowCount(), 4);

    // Duplicate copies the standard fields into a new record, selected.
    const int before = window.ListRowIds().size();
    window.DrawGrid1->setCurrentIndex(model.index(0, 0));
    const QString copied = Column(1).first();
    window.DuplicateLine1Click();
    EXPECT_EQ(window.ListRowIds().size(), before + 1);
    EXPECT_EQ(window.ListRowIds().last(), copied);
    EXPECT_EQ(window.DrawGrid1->currentIndex().row(), before);

    // A record from a form opens at its page; one without a file does nothing.
    const QStringList ids = Column(1);
    window.OpenRecord(int(ids.indexOf("33")));
    window.OpenRecord(int(ids.indexOf("44")));
    EXPECT_EQ(opened, QStringList{Path("a.qfs") + "@1"});

    // Saved, reset and opened again: the same records and the file name.
    dialogs.fileNames.enqueue(Path("list"));
    ASSERT_TRUE(window.SaveListAs());
    EXPECT_FALSE(model.IsModified());
    EXPECT_EQ(window.windowTitle(), "Revision list - " + Path("list.qfs"));
    const QStringList saved = window.ListRowIds();
    window.New1Click();
    EXPECT_TRUE(window.ListRowIds().isEmpty());
    ASSERT_TRUE(window.OpenDocument(Path("list.qfs")));
    EXPECT_EQ(window.ListRowIds(), saved);
    EXPECT_EQ(window.SetupDialog().Edit1->text(), dir.path());
}

// New keeps the caption and the file name, but that file holds the earlier
// list: the first Save after New asks for the name, starting on it.
TEST_F(ListWindowTest, FirstSaveAfterNewAsksBeforeReplacingTheEarlierList)
{
    RevisionTableModel& model = window.Model();
    const auto addRecord = [&](const QString& id) {
        ASSERT_TRUE(model.setData(model.index(model.rowCount() - 1, 1), id));
    };
    const auto bytes = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    addRecord("7");
    dialogs.fileNames.enqueue(Path("list"));
    window.Save1->trigger();
    const QString path = Path("list.qfs");
    const QByteArray earlier = bytes(path);
    ASSERT_FALSE(earlier.isEmpty());
    addRecord("8");
    window.Save1->trigger(); // a list read or written here saves without asking
    EXPECT_EQ(dialogs.saveStarts.size(), 1);
    const QByteArray saved = bytes(path);
    ASSERT_NE(saved, earlier);

    window.New1Click();
    EXPECT_EQ(window.windowTitle(), "Revision list - " + path);
    window.Save1->trigger(); // cancelled
    EXPECT_EQ(dialogs.saveStarts, (QStringList{QString(), path}));
    EXPECT_EQ(bytes(path), saved);
    // The close question's Yes saves the same way; a cancel keeps the program.
    addRecord("9");
    dialogs.answers.enqueue(IDYES);
    EXPECT_FALSE(window.FormCloseQuery());
    EXPECT_EQ(dialogs.saveStarts.size(), 3);
    EXPECT_EQ(bytes(path), saved);
    EXPECT_TRUE(model.IsModified());

    // Keeping the name writes the new list there; then it is this list's file.
    dialogs.fileNames.enqueue(path);
    window.Save1->trigger();
    EXPECT_EQ(dialogs.saveStarts.size(), 4);
    EXPECT_FALSE(model.IsModified());
    TForm7 other;
    ASSERT_TRUE(other.OpenDocument(path));
    EXPECT_EQ(other.ListRowIds(), QStringList{"9"});
    addRecord("10");
    window.Save1->trigger();
    EXPECT_EQ(dialogs.saveStarts.size(), 4);
    EXPECT_FALSE(model.IsModified());
    EXPECT_EQ(dialogs.Texts(), QStringList{MainLanguage.GetString(StringId::SaveQuestion)});
}

TEST_F(ListWindowTest, CaptionsTakeARightClickAndLeaveRoomForTheSortMark)
{
    window.show();
    QHeaderView* header = window.DrawGrid1->horizontalHeader();
    const int column = 2;
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, header->viewport()->mapToGlobal(at));
    QApplication::sendEvent(header->viewport(), &click);
    EXPECT_TRUE(window.DrawGrid1->selectionModel()->isColumnSelected(column, QModelIndex()));
    EXPECT_TRUE(window.PopupMenu1->isVisible());
    window.PopupMenu1->close();

    // The sort column's caption starts after its sort mark.
    window.Model().SortByColumnClick(0);
    const int sorted = window.Model().SortColumn();
    const int left = header->sectionViewportPosition(sorted);
    const int right = left + header->sectionSize(sorted);
    DrawRecorder device;
    {
        QPainter painter(&device);
        header->render(&painter);
    }
    QList<QRect> marks;
    for (const QRect& shape : device.engine.shapes)
        if (shape.left() >= left && shape.right() < right)
            marks << shape;
    ASSERT_EQ(marks.size(), 1);
    int captions = 0;
    for (const DrawRecorder::Text& text : device.engine.texts) {
        if (text.at.x() < left || text.at.x() >= right)
            continue;
        ++captions;
        EXPECT_GT(text.at.x(), marks.front().right()) << text.text.toStdString();
    }
    EXPECT_GT(captions, 0);

    // Cells are one line each: a field's line breaks do not wrap its row.
    EXPECT_FALSE(window.DrawGrid1->wordWrap());
    const auto* cells = qobject_cast<QStyledItemDelegate*>(window.DrawGrid1->itemDelegate());
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->displayText(QStringLiteral("Boiler\nroom"), QLocale()), "Boiler room");
}

TEST_F(ListWindowTest, TheSortColumnShowsItsWholeCaptionAfterItsMark)
{
    // Sorted by Next revision, a narrow column with a long caption, in both
    // languages: the language changes while the column is sorted.
    window.show();
    int column = 0;
    while (window.Model().VisibleColumn(column)->GetNumber() != RevisionTableRow::NextRevision)
        ++column;
    QHeaderView* header = window.DrawGrid1->horizontalHeader();
    for (const int language : {Language::English, Language::Czech}) {
        ScopedLanguage inLanguage(language);
        window.ApplyLanguage();
        const QString caption = MainLanguage.GetString(StringId::RecordNextRevision);
        ASSERT_EQ(window.Model().headerData(column, Qt::Horizontal).toString().toStdString(),
                  caption.toStdString());
        if (window.Model().SortColumn() != column)
            QTest::mouseClick(
                header->viewport(), Qt::LeftButton, {},
                QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                       header->height() / 2));
        ASSERT_EQ(window.Model().SortColumn(), column);

        constexpr int MarkRoom = 17;
        const int left = header->sectionViewportPosition(column);
        EXPECT_GE(header->sectionSize(column),
                  MarkRoom + header->fontMetrics().horizontalAdvance(caption))
            << caption.toStdString();
        EXPECT_EQ(window.Model().VisibleColumn(column)->GetWidth(), header->sectionSize(column));

        DrawRecorder device;
        {
            QPainter painter(&device);
            header->render(&painter);
        }
        QString drawn;
        qreal from = -1;
        for (const DrawRecorder::Text& text : device.engine.texts) {
            if (text.at.x() < left || text.at.x() >= left + header->sectionSize(column))
                continue;
            if (drawn.isEmpty())
                from = text.at.x();
            drawn += text.text;
        }
        EXPECT_EQ(drawn.toStdString(), caption.toStdString());
        EXPECT_NEAR(from, left + MarkRoom, 1.0) << caption.toStdString();
    }
}

TEST_F(ListWindowTest, ListChangesAreRefusedWhileAScanRuns)
{
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(WriteFormFile(Path(QString("f%1.qfs").arg(i)), Tag::Form,
                                  FilledValuesSection({{{}, {Record(QString::number(i), "n", "")}}})));
    window.SetupDialog().Edit1->setText(dir.path());
    bool done = false;
    QObject::connect(&window, &TForm7::ScanFinished, [&] { done = true; });
    window.LoadRevisionList1Click();
    // The scan's records reach the list only in its completion, on this
    // thread, so the scan is still running here.
    EXPECT_FALSE(window.LoadRevisionList1->isEnabled());
    window.New1Click();
    window.DeleteSelectedRows();
    EXPECT_EQ(dialogs.messages.size(), 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 60000));
    EXPECT_EQ(window.ListRowIds().size(), 20);
    EXPECT_TRUE(window.LoadRevisionList1->isEnabled());
}

TEST_F(ListWindowTest, OpenDocumentDispatchesByTypeAndReportsMissingFiles)
{
    QStringList templates;
    QStringList data;
    hooks.OpenTemplate = [&](const QString& path) { templates << path; };
    hooks.OpenData = [&](const QString& path) { data << path; };
    window.SetHooks(hooks);
    ASSERT_TRUE(WriteFormFile(Path("form.qfs"), Tag::Bar, FilledValuesSection({})));
    ASSERT_TRUE(WriteFormFile(Path("temp.qfs"), Tag::Temp, FilledValuesSection({})));
    QFile older(Path("old.qft"));
    ASSERT_TRUE(older.open(QIODevice::WriteOnly));
    older.write("QFT " + QByteArray(60, '\0'));
    older.close();
    QFile olderData(Path("old.qfd"));
    ASSERT_TRUE(olderData.open(QIODevice::WriteOnly));
    olderData.write("QFD " + QByteArray(60, '\0'));
    olderData.close();

    EXPECT_TRUE(window.OpenDocument(Path("form.qfs")));
    EXPECT_TRUE(window.OpenDocument(Path("temp.qfs")));
    EXPECT_TRUE(window.OpenDocument(Path("old.qft")));
    EXPECT_TRUE(window.OpenDocument(Path("old.qfd")));
    EXPECT_FALSE(window.OpenDocument(Path("missing.qfs")));
    EXPECT_EQ(opened, QStringList{Path("form.qfs") + "@0"});
    EXPECT_EQ(templates, (QStringList{Path("temp.qfs"), Path("old.qft")}));
    EXPECT_EQ(data, QStringList{Path("old.qfd")});
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(Path("missing.qfs")));
}

TEST_F(ListWindowTest, SetupDialogKeepsColumnNumbersWhenOneIsRemoved)
{
    TForm8& setup = window.SetupDialog();
    RevisionList& list = window.Model().List();
    setup.Fill(list);
    setup.SpeedButton3Click();
    setup.SpeedButton3Click();
    const int count = setup.ListView1->topLevelItemCount();
    // Note 5 cannot go; the first added column can.
    setup.ListView1->setCurrentItem(setup.ListView1->topLevelItem(count - 3));
    setup.SpeedButton4Click();
    EXPECT_EQ(setup.ListView1->topLevelItemCount(), count);
    setup.ListView1->setCurrentItem(setup.ListView1->topLevelItem(count - 2));
    setup.SpeedButton4Click();
    setup.Apply(list);
    window.Model().ColumnsChanged();
    ASSERT_EQ(list.Columns().size(), 13u);
    EXPECT_EQ(list.Columns().back()->GetNumber(), 13);
    EXPECT_EQ(window.Model().columnCount(), 13);
}

TEST_F(ListWindowTest, SetupDialogHeadersFollowTheLanguage)
{
    TForm8& setup = window.SetupDialog();
    for (const auto& [language, caption, sortType] :
         {std::tuple{Language::English, "Caption", "Sort type"},
          std::tuple{Language::Czech, "Nadpis", "Typ řazení"}}) {
        ScopedLanguage inLanguage(language);
        setup.Fill(window.Model().List());
        setup.show();
        const QTreeWidgetItem* header = setup.ListView1->headerItem();
        EXPECT_EQ(header->text(0), QString::fromUtf8(caption));
        EXPECT_EQ(header->text(1), QString::fromUtf8(sortType));
        EXPECT_GE(setup.ListView1->header()->sectionSize(1),
                  setup.ListView1->header()->sectionSizeHint(1));
        setup.hide();
    }
}

// The marks beside the records and over the sort column say what is true of
// the shown records at once, and row numbers of any length stay clear of
// their validity marks.
TEST_F(ListWindowTest, MarksFollowEditsTheStoredOrderAndLongRowNumbers)
{
    window.show();
    RevisionTableModel& model = window.Model();
    int next = 0;
    while (model.VisibleColumn(next)->GetNumber() != RevisionTableRow::NextRevision)
        ++next;
    const QString future = DateToStr(QDateToDateTime(QDate(2099, 1, 1)));
    for (const char* id : {"1", "2", "3"}) {
        auto row = std::make_unique<RevisionTableRow>();
        row->SetField(RevisionTableRow::Id, id);
        row->SetField(RevisionTableRow::NextRevision, "nonsense");
        model.AddRow(std::move(row));
    }

    // Next revision typed in place: the record's mark is redrawn at once.
    ASSERT_EQ(model.headerData(1, Qt::Vertical, RevisionTableModel::ValidityRole).toInt(),
              RevisionTableModel::NoMark);
    QList<std::pair<int, int>> redrawn;
    QObject::connect(&model, &QAbstractItemModel::headerDataChanged,
                     [&](Qt::Orientation orientation, int first, int last) {
                         if (orientation == Qt::Vertical)
                             redrawn << std::pair{first, last};
                     });
    const QModelIndex cell = model.index(1, next);
    window.DrawGrid1->setCurrentIndex(cell);
    window.DrawGrid1->edit(cell);
    auto* editor = window.DrawGrid1->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->clear();
    QTest::keyClicks(editor, future);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(model.headerData(1, Qt::Vertical, RevisionTableModel::ValidityRole).toInt(),
              RevisionTableModel::Valid);
    ASSERT_FALSE(redrawn.isEmpty());
    EXPECT_LE(redrawn.last().first, 1);
    EXPECT_GE(redrawn.last().second, 1);

    // The sort mark goes when the records are back in their stored order.
    const auto marked = [&] {
        QList<int> columns;
        for (int c = 0; c < model.columnCount(); ++c)
            if (model.headerData(c, Qt::Horizontal, RevisionTableModel::SortMarkRole).toInt()
                != RevisionTableModel::NoMark)
                columns << c;
        return columns;
    };
    EXPECT_TRUE(marked().isEmpty());
    emit window.DrawGrid1->horizontalHeader()->sectionClicked(1);
    EXPECT_EQ(marked(), QList<int>{1});
    window.DrawGrid1->setCurrentIndex(model.index(0, 0));
    dialogs.answers.enqueue(IDYES);
    QTest::keyClick(window.DrawGrid1, Qt::Key_Delete);
    EXPECT_TRUE(marked().isEmpty());
    emit window.DrawGrid1->horizontalHeader()->sectionClicked(1);
    dialogs.fileNames.enqueue(Path("list"));
    ASSERT_TRUE(window.SaveListAs());
    ASSERT_TRUE(window.OpenDocument(Path("list.qfs")));
    EXPECT_TRUE(marked().isEmpty());
    emit window.DrawGrid1->horizontalHeader()->sectionClicked(1);
    window.New1Click();
    EXPECT_TRUE(marked().isEmpty());
    // Unmarked, a column sorts ascending at the first click.
    model.SortByColumnClick(0);
    EXPECT_TRUE(model.SortAscending());

    // Five-digit row numbers, the current one in bold, beside their marks.
    constexpr int Records = 10000;
    for (int i = 0; i < Records; ++i) {
        auto row = std::make_unique<RevisionTableRow>();
        row->SetField(RevisionTableRow::NextRevision, future);
        row->PadFields(model.List().FieldCount());
        model.List().AddRow(std::move(row));
    }
    model.ShowAllRows();
    window.DrawGrid1->setCurrentIndex(model.index(Records - 1, 0));
    window.DrawGrid1->scrollToBottom();
    QHeaderView* numbers = window.DrawGrid1->verticalHeader();
    DrawRecorder device;
    {
        QPainter painter(&device);
        numbers->render(&painter);
    }
    QFont bold = numbers->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    int checked = 0;
    for (const DrawRecorder::Text& text : device.engine.texts) {
        const int section = numbers->logicalIndexAt(int(text.at.y()) - 1);
        const int top = numbers->sectionViewportPosition(section);
        for (const QRect& mark : device.engine.shapes) {
            if (mark.center().y() < top || mark.center().y() >= top + numbers->sectionSize(section))
                continue;
            ++checked;
            EXPECT_LT(text.at.x() + metrics.horizontalAdvance(text.text), mark.left())
                << text.text.toStdString();
        }
    }
    EXPECT_GT(checked, 0);
}

TEST(ListPrintTest, PagesAndLinesOfThePrintedList)
{
    // 300 dpi: a unit is 300 / 76.2 pixels, a line 31 pixels; a printable
    // height of 31 * 12 pixels gives ten records a page.
    const ListPrintGeometry geometry = ListPrintGeometry::For(300, 300, 31 * 12);
    EXPECT_EQ(geometry.lineHeight, 31);
    EXPECT_EQ(geometry.linesPerPage, 10);
    // A page too short for a caption and a record still prints one record.
    EXPECT_EQ(ListPrintGeometry::For(300, 300, 40).linesPerPage, 1);

    PrintedList list;
    list.captions = {"Name", "ID"};
    list.widths = {100, 50};
    for (int i = 1; i <= 25; ++i)
        list.records.push_back({QString("name %1").arg(i), QString::number(i)});
    // A4 at 300 dpi has room for both columns as they are.
    const ListColumnSheets columns = LayPrintedColumns(list, 300, 2480);
    EXPECT_EQ(columns.scale, 1.0);
    RecordingCanvas canvas;
    EXPECT_FALSE(PrintListPage(canvas, list, columns, geometry, 0));
    const QList<CanvasCall> texts = canvas.Texts();
    ASSERT_EQ(texts.size(), 2 + 10 * 3);
    // Captions from 50 units; the next column 100 units further.
    EXPECT_EQ(std::make_tuple(texts[0].x, texts[0].y, texts[0].text), std::make_tuple(196, 0, QString("Name")));
    EXPECT_EQ(std::make_tuple(texts[1].x, texts[1].text), std::make_tuple(589, QString("ID")));
    EXPECT_EQ(std::make_tuple(texts[2].x, texts[2].y, texts[2].text), std::make_tuple(0, 32, QString("1")));
    EXPECT_EQ(texts[3].text, "name 1");
    EXPECT_EQ(texts[31].y, 10 * 31 + 1);
    RecordingCanvas last;
    EXPECT_TRUE(PrintListPage(last, list, columns, geometry, 2));
    EXPECT_EQ(last.Texts().size(), 2 + 5 * 3);

    // Columns too wide at two thirds: each page of records takes two sheets,
    // both with the record numbers and the first column. At two thirds a
    // unit is 2.62 pixels and a line 20.
    PrintedList wide;
    wide.captions = {"Name", "ID", "Note"};
    wide.widths = {100, 300, 300};
    for (int i = 1; i <= 15; ++i)
        wide.records.push_back({QString("name %1").arg(i), QString::number(i),
                                i == 2 ? QString() : QString("note %1").arg(i)});
    const ListColumnSheets sheets = LayListColumns(wide.widths, 50, 400);
    ASSERT_EQ(sheets.bands.size(), 2u);
    const ListPrintGeometry small = ListPrintGeometry::For(300, 300, 20 * 12, sheets.scale);
    ASSERT_EQ(std::make_pair(small.lineHeight, small.linesPerPage), std::make_pair(20, 10));
    RecordingCanvas second;
    EXPECT_FALSE(PrintListPage(second, wide, sheets, small, 1));
    const QList<CanvasCall> band = second.Texts();
    ASSERT_EQ(band.size(), 2 + 10 * 3 - 1);
    EXPECT_EQ(std::make_tuple(band[0].x, band[0].text), std::make_tuple(131, QString("Name")));
    EXPECT_EQ(std::make_tuple(band[1].x, band[1].text), std::make_tuple(393, QString("Note")));
    EXPECT_EQ(std::make_tuple(band[2].x, band[2].y, band[2].text),
              std::make_tuple(0, 21, QString("1")));
    // A text stops where the next one of its line begins, and runs on over
    // an empty cell and past the last column.
    EXPECT_EQ(std::make_tuple(band[3].text, band[3].clipped, band[3].rect),
              std::make_tuple(QString("name 1"), true, TRect{131, 21, 393, 41}));
    EXPECT_EQ(std::make_tuple(band[4].x, band[4].text, band[4].clipped),
              std::make_tuple(393, QString("note 1"), false));
    EXPECT_EQ(std::make_tuple(band[6].text, band[6].clipped),
              std::make_tuple(QString("name 2"), false));
    RecordingCanvas third;
    EXPECT_FALSE(PrintListPage(third, wide, sheets, small, 2));
    EXPECT_EQ(third.Texts()[3].text, "name 11");
    RecordingCanvas fourth;
    EXPECT_TRUE(PrintListPage(fourth, wide, sheets, small, 3));
    EXPECT_EQ(fourth.Texts().size(), 2 + 5 * 3);
    // A sheet past the records is the last, with its captions only.
    RecordingCanvas beyondSheets;
    EXPECT_TRUE(PrintListPage(beyondSheets, wide, sheets, small, 6));
    EXPECT_EQ(beyondSheets.Texts().size(), 2);

    // To PDF through the print dialog: pages 2 to 3 of a list that has
    // three begin with page 2; a range past the records prints the captions.
    QTemporaryDir dir;
    FakePrinters printers(dir.path(), 300);
    TForm5 print;
    QPrinter& printer = printers.Printer();
    const int perPage = ListPrintGeometry::For(printer.logicalDpiX(), printer.logicalDpiY(),
                                               printer.pageLayout().paintRectPixels(300).height())
                            .linesPerPage;
    PrintedList many = list;
    many.records.clear();
    for (int i = 0; i < perPage * 2 + 1; ++i)
        many.records.push_back({"n", QString::number(i)});
    auto job = std::make_unique<TPrintListThread>(printer, many);
    job->SetPageRange(2, 999);
    print.Print(std::move(job));
    auto beyond = std::make_unique<TPrintListThread>(printer, many);
    beyond->SetPageRange(7, 8);
    print.Print(std::move(beyond));
    ASSERT_EQ(printers.Jobs().size(), 2);
    EXPECT_EQ(printers.Jobs()[0].title, "Revision list");
    EXPECT_EQ(PdfInfo::Of(printers.Jobs()[0].file).pages, 2);
    EXPECT_EQ(PdfInfo::Of(printers.Jobs()[1].file).pages, 1);
    EXPECT_TRUE(PdfInfo::PageText(printers.Jobs()[0].file, 1).contains(QString::number(perPage + 1)));
}

TEST_F(ListWindowTest, PrintedOnA4PortraitTheDefaultColumnsAllReachThePaper)
{
    constexpr int TextKindNote5 = 10;
    constexpr int Records = 3;
    std::vector<FilledBlock> records;
    for (int i = 1; i <= Records; ++i)
        records.push_back({{{TextKindId, QString::number(i)},
                            {TextKindName, QString("Room %1").arg(i)},
                            {TextKindNextRevision, DateToStr(QDateToDateTime(QDate(2030, 1, i)))},
                            {TextKindNote5, QString("remark %1").arg(i)}},
                           {}});
    ASSERT_TRUE(WriteFormFile(Path("a.qfs"), Tag::Form, FilledValuesSection({{{}, records}})));
    Scan();
    const RevisionList& list = window.Model().List();
    ASSERT_EQ(list.ShownRows().size(), size_t(Records));
    ASSERT_EQ(list.VisibleColumns().size(), 12u);

    QTemporaryDir out;
    FakePrinters printers(out.path(), 300);
    TForm5 print;
    hooks.Print = [&](std::unique_ptr<PrintJob> job) { print.Print(std::move(job)); };
    window.SetHooks(hooks);
    window.Print1Click();
    ASSERT_EQ(printers.Jobs().size(), 1);
    const QString file = printers.Jobs()[0].file;
    EXPECT_EQ(printers.Jobs()[0].orientation, QPageLayout::Portrait);
    // One page of records on two sheets, each naming the records.
    ASSERT_EQ(PdfInfo::Of(file).pages, 2);
    QString text;
    for (int page = 1; page <= 2; ++page) {
        const QString sheet = PdfInfo::PageText(file, page).simplified();
        EXPECT_TRUE(sheet.contains("Name")) << page;
        for (int i = 1; i <= Records; ++i)
            EXPECT_TRUE(sheet.contains(QString("Room %1").arg(i))) << page;
        text += sheet + u' ';
    }
    for (const RevisionTableColumn* column : list.VisibleColumns())
        EXPECT_TRUE(text.contains(column->GetCaption())) << column->GetCaption().toStdString();
    for (const RevisionTableRow* row : list.ShownRows())
        for (const int field : {RevisionTableRow::NextRevision, RevisionTableRow::Modified,
                                RevisionTableRow::Note5}) {
            const QString value = row->GetField(field).simplified();
            ASSERT_FALSE(value.isEmpty()) << field;
            EXPECT_TRUE(text.contains(value)) << value.toStdString();
        }

    // Paper the user turned stays turned.
    printers.Printer().setPageOrientation(QPageLayout::Landscape);
    window.Print1Click();
    ASSERT_EQ(printers.Jobs().size(), 2);
    EXPECT_EQ(printers.Jobs()[1].orientation, QPageLayout::Landscape);
}

TEST_F(ListWindowTest, UploadWritesTheRecordsIntoAKx420AfterTheUserAgrees)
{
    InstrumentSimulator sim;
    if (!sim.IsReady())
        GTEST_SKIP() << "no pseudo terminal";
    RecordingReporter reporter;
    const ScopedTransferReporter installedReporter(&reporter);
    const ScopedSerialPorts ports({{QStringLiteral("COM3"), sim.DevicePath()}});
    const ScopedClock clock(QDateTime(QDate(2011, 3, 15), QTime(9, 8, 7)));
    const TranslatorModel* model = FindTranslatorModel(ModelCode::Kx420);
    sim.SetModel(ModelCode::Kx420, 115200);
    sim.SetImage(QByteArray(model->ImageSize, '\x00'), model->BlockSize);

    bool buttons = true;
    hooks.PortName = [] { return QStringLiteral("COM3"); };
    hooks.EnableTransferButtons = [&](bool enabled) { buttons = enabled; };
    window.SetHooks(hooks);
    const auto add = [&](const char* id, const char* name, const char* location) {
        auto row = std::make_unique<RevisionTableRow>();
        row->SetField(RevisionTableRow::Id, id);
        row->SetField(RevisionTableRow::Name, name);
        row->SetField(RevisionTableRow::Location, location);
        window.Model().AddRow(std::move(row));
    };
    add("123", "Boiler", "Cellar");
    add("0", "never sent", "");
    add("", "blank ID", "Roof");

    // Declined: nothing is sent.
    dialogs.answers.enqueue(IDNO);
    window.SpeedButton9Click();
    EXPECT_TRUE(window.Upload1->isEnabled());
    EXPECT_TRUE(sim.Requests().empty());
    EXPECT_TRUE(window.StatusBar1->text().isEmpty());

    bool finished = false;
    QObject::connect(&window, &TForm7::UploadFinished, [&] { finished = true; });
    window.SpeedButton9Click();
    EXPECT_FALSE(window.Upload1->isEnabled());
    EXPECT_FALSE(buttons);
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 120000));
    EXPECT_TRUE(window.Upload1->isEnabled());
    EXPECT_TRUE(buttons);
    // Done: the status line says so; the transfer's boxes say only what failed.
    EXPECT_EQ(window.StatusBar1->text(), "Records uploaded");
    EXPECT_TRUE(reporter.Errors().isEmpty());

    InstrumentDatabase expected;
    expected.Add(UploadRecord("123", "Boiler", "Cellar", 0));
    expected.Add(UploadRecord("", "blank ID", "Roof", 0));
    Kx420Translator packer(1);
    packer.EncodeDatabase(expected);
    const QByteArray image = sim.Image();
    const int start = packer.GetDatabaseStart();
    const int length = packer.GetDatabaseLength();
    const std::vector<uint8_t>& packed = packer.GetImage();
    EXPECT_EQ(image.mid(start, length),
              QByteArray(reinterpret_cast<const char*>(packed.data()) + start, length));

    // A failed upload is the error box alone; the earlier word goes.
    hooks.PortName = [] { return QStringLiteral("COM9"); };
    window.SetHooks(hooks);
    finished = false;
    window.SpeedButton9Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 120000));
    EXPECT_EQ(reporter.Errors().size(), 1);
    EXPECT_TRUE(window.StatusBar1->text().isEmpty());
}

} // namespace

// An empty or foreign file, also one named on the command line, opens nothing
// and says so; saves get their extensions from the dialog, and a save the
// system refuses says why and leaves the earlier file as it was.
TEST_F(ListWindowTest, ForeignFilesAreRefusedAndFailedSavesSayWhy)
{
    bool handed = false;
    hooks.OpenTemplate = [&](const QString&) { handed = true; };
    hooks.OpenData = [&](const QString&) { handed = true; };
    window.SetHooks(hooks);
    const std::pair<QString, QByteArray> foreign[] = {
        {Path("empty.qfs"), QByteArray()},
        {Path("zip.qfs"), QByteArray("PK\x03\x04 some archive", 17)},
    };
    for (const auto& [path, bytes] : foreign) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        EXPECT_FALSE(window.OpenDocument(path));
        EXPECT_EQ(dialogs.messages.last().text,
                  path + u'\n' + MainLanguage.GetString(StringId::NotQuillfenDocument));
    }
    EXPECT_FALSE(handed);
    EXPECT_TRUE(opened.isEmpty());

    dialogs.messages.clear();
    dialogs.fileNames.enqueue(Path("list"));
    ASSERT_TRUE(window.SaveListAs());
    dialogs.fileNames.enqueue(Path("list"));
    window.SaveText1Click();
    dialogs.fileNames.enqueue(Path("list"));
    window.SaveXml1Click();
    EXPECT_EQ(dialogs.saveSuffixes, (QStringList{"qfs", "txt", "xml"}));
    const QString names[] = {Path("list.qfs"), Path("list.txt"), Path("list.xml")};
    QList<QByteArray> before;
    for (const QString& name : names) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        before << file.readAll();
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // The list grows past what the fault lets through.
    window.Model().setData(window.Model().index(window.Model().rowCount() - 1, 0),
                           QStringLiteral("a record long enough to need more room"));
    {
        SaveFault fault(dir.path());
        dialogs.fileNames.enqueue(Path("other"));
        EXPECT_FALSE(window.SaveListAs());
        EXPECT_FALSE(window.SaveList());
        dialogs.fileNames.enqueue(Path("list"));
        window.SaveText1Click();
        dialogs.fileNames.enqueue(Path("list"));
        window.SaveXml1Click();
        ASSERT_EQ(dialogs.messages.size(), 4);
        for (const auto& message : dialogs.messages)
            EXPECT_TRUE(message.text.endsWith(u'\n' + fault.Reason()))
                << message.text.toStdString();
    }
    for (int k = 0; k < 3; ++k) {
        QFile file(names[k]);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), before[k]) << k;
    }
    EXPECT_FALSE(QFile::exists(Path("other.qfs")));
}

// A named pipe or a device given to Open or to the text import is refused at
// once, by name, where reading it would wait or never end; a folder is still
// one that cannot be opened. No record comes of any of them.
TEST_F(ListWindowTest, OnlyRegularFilesAreOpenedOrImported)
{
    const QString pipe = Path("pipe.txt");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString folder = Path("folder.txt");
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString device = QStringLiteral("/dev/zero");
    dialogs.fileNames << pipe << folder << pipe << device << folder;
    window.Open1Click();
    window.Open1Click();
    for (int k = 0; k < 3; ++k)
        window.OpenText1Click();

    const QString refused = MainLanguage.GetString(StringId::NotRegularFile) + u'\n';
    const QString notOpened = u'\n' + MainLanguage.GetString(StringId::FileNotOpened);
    const QStringList texts = dialogs.Texts();
    ASSERT_EQ(texts.size(), 5);
    EXPECT_EQ(texts[0], refused + pipe);
    EXPECT_TRUE(texts[1].startsWith(folder + notOpened + QStringLiteral("\n\n")))
        << texts[1].toStdString();
    EXPECT_EQ(texts[2], refused + pipe);
    EXPECT_EQ(texts[3], refused + device);
    EXPECT_EQ(texts[4], folder + notOpened);
    EXPECT_TRUE(window.ListRowIds().isEmpty());
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_FALSE(window.Model().IsModified());
}

TEST_F(ListWindowTest, TextFilesKeepCzechLettersOfACzechUserWhateverTheLocale)
{
    ASSERT_NE(QLocale::system().language(), QLocale::Czech)
        << "meant for a machine whose locale is not Czech";
    const QString name = QString::fromUtf8("Kitchen Žluťoučký kůň");
    const QString id = QString::fromUtf8("Rozvaděč 3");
    ASSERT_TRUE(WriteFormFile(Path("a.qfs"), Tag::Form,
                              FilledValuesSection({{{}, {Record(id, name, "")}}})));
    const ScopedLanguage czech(Language::Czech);
    Scan();

    const QString exported = Path("list.txt");
    dialogs.fileNames.enqueue(exported);
    window.SaveText1Click();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.Texts().join(", ").toStdString();
    QFile file(exported);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // Central European bytes, as the lists of Czech users have always held them.
    EXPECT_TRUE(
        file.readAll().startsWith("Kitchen \x8elu\x9dou\xe8k\xfd k\xf9\xf2\tRozvad\xec\xe8 3\t"));
    file.close();

    TForm7 other;
    dialogs.fileNames.enqueue(exported);
    other.OpenText1Click();
    const RevisionTableRow* back = other.FindRowById(id);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetField(RevisionTableRow::Name), name);

    // A letter no Central European code page has: the file is still written,
    // and the user learns that it holds '?' in its place.
    ASSERT_TRUE(
        WriteFormFile(Path("b.qfs"), Tag::Form,
                      FilledValuesSection({{{}, {Record("4", QString::fromUtf8("Ωmega"), "")}}})));
    Scan();
    ASSERT_NE(window.FindRowById("4"), nullptr);
    EXPECT_EQ(ToAnsi(window.FindRowById("4")->GetField(0)), "?mega") << AnsiCodePage().constData();
    EXPECT_FALSE(FitsAnsi(window.FindRowById("4")->GetField(0)));
    dialogs.fileNames.enqueue(exported);
    window.SaveText1Click();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text,
              exported + u'\n' + MainLanguage.GetString(StringId::CharactersReplaced));
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Warning);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("?mega\t4\t"));

    // An English program writes Western European bytes, which have no 'ť'.
    MainLanguage.SetLanguage(Language::English);
    EXPECT_EQ(ToAnsi(name), "Kitchen \x8elu?ou?k\xfd k??");
}

// Text files as editors write them (UTF-8, with or without its mark) and as
// the export writes them (the code page): the letters reach the records and
// the saved list, and the records added are not lost by a close.
TEST_F(ListWindowTest, ImportedTextKeepsItsLettersAndIsSavedBeforeClosing)
{
    RevisionTableModel& model = window.Model();
    const auto import = [&](const QString& name, const QByteArray& bytes) {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        dialogs.fileNames.enqueue(Path(name));
        window.OpenText1Click();
    };
    window.show();
    dialogs.fileNames.enqueue(Path("list"));
    ASSERT_TRUE(window.SaveListAs());
    import("plain.txt", "Vrta\xc4\x8dka Makita\t1\tAku \xe2\x80\x93 18 V\t\r\n");
    import("marked.txt", "\xef\xbb\xbfM\xc4\x9b\xc5\x99i\xc4\x8d \xce\xa9\t2\t\t\tpozn\xc3\xa1mka\t\t\t\t\tD\xc3\xadlna\r\n");
    import("western.txt", "Caf\xe9 M\xfcller\t3\t\t\r\n");
    // Letters the code page lacks stay, as in a list document.
    QStringList records;
    for (const auto& row : model.List().Rows())
        records << QStringList{row->GetField(0), row->GetField(2), row->GetField(6), row->GetField(11)}.join(u'|');
    EXPECT_EQ(records.join(u'/'),
              QString::fromUtf8("Vrtačka Makita|Aku – 18 V||/Měřič Ω||poznámka|Dílna/Café Müller|||"));

    // Closing now asks; Cancel keeps the window, Save writes the letters.
    dialogs.answers.enqueue(IDCANCEL);
    EXPECT_FALSE(window.close());
    EXPECT_EQ(dialogs.Texts(), QStringList{MainLanguage.GetString(StringId::SaveQuestion)});
    window.Save1->trigger();
    QFile saved(Path("list.qfs"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    for (const char* text : {"Vrta\xc4\x8dka Makita", "M\xc4\x9b\xc5\x99i\xc4\x8d \xce\xa9", "Caf\xc3\xa9 M\xc3\xbcller"})
        EXPECT_TRUE(bytes.contains(text)) << text;

    // A duplicated record is a change as well; an import that adds none is not.
    window.DrawGrid1->setCurrentIndex(model.index(0, 0));
    window.DuplicateLine1Click();
    EXPECT_TRUE(model.IsModified());
    window.Save1->trigger();
    import("empty.txt", "\t\t\t\r\nno line feed");
    EXPECT_FALSE(model.IsModified());
}
