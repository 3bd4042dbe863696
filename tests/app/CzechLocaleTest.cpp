// The program on a machine whose locale is Czech (the test runs with LC_ALL
// set so): dates and numbers are written and read the Czech way, in the
// revision list's validity marks and filters and in the transferred data.

#include "app/QuillfenProgram.h"
#include "common/FakeDialogs.h"
#include "common/FilledFormFiles.h"
#include "common/ScopedGuards.h"
#include "dataprocessing/widgets/QuillfenTransfer.h"
#include "instruments/InstrumentData.h"
#include "instruments/InstrumentItem.h"
#include "platform/DateTime.h"
#include "platform/NumberText.h"
#include "revisionlist/RevisionTableModel.h"
#include "revisionlist/widgets/QuillfenRevisionTable.h"
#include "revisionlist/widgets/RevisionDateFilter.h"
#include "revisionlist/widgets/RevisionSetup.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

constexpr int DateTimeQuantity = 1000;
constexpr int LineVoltage = 1;
constexpr int HtmlTableFilter = 3;
constexpr int TextKindName = 2;
constexpr int TextKindId = 3;
constexpr int TextKindNextRevision = 5;
constexpr int NextRevisionColumn = 4; // of the default visible columns

// The formats of the user's system for one test; the fixed ones afterwards.
struct ScopedSystemFormats
{
    ScopedSystemFormats() { UseSystemLocaleFormats(); }
    ~ScopedSystemFormats() { UseCLocaleFormats(); }
};

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(CzechLocaleTest, RecordDatesAndTransferredValuesAreCzech)
{
    ASSERT_EQ(QLocale::system().language(), QLocale::Czech) << "run with LC_ALL=cs_CZ.UTF-8";
    FakeDialogs dialogs;
    QTemporaryDir dir;
    const ScopedClock clock(QDateTime(QDate(2027, 3, 1), QTime(10, 0)));
    // As the program's start-up does before it makes its first window.
    const ScopedSystemFormats formats;
    QuillfenProgram program;
    program.Start({}, QuillfenProgram::CzechLanguageId);

    // Next revisions as a Czech user types them, and one in the American form.
    TForm7& list = program.RevisionList();
    const QString records = dir.filePath("records.txt");
    {
        QFile file(records);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Kotelna\t1\t\t15.03.2027\r\n"
                   "P\xf9"
                   "da\t2\t\t15.02.2027 08:30:00\r\n"
                   "Sklep\t3\t\t3/15/2027\r\n");
    }
    dialogs.fileNames.enqueue(records);
    list.OpenText1Click();
    RevisionTableModel& model = list.Model();
    ASSERT_EQ(model.rowCount(), 4);
    const auto mark = [&](int row) {
        return model.headerData(row, Qt::Vertical, RevisionTableModel::ValidityRole);
    };
    EXPECT_EQ(mark(0), int(RevisionTableModel::Valid));
    EXPECT_EQ(mark(1), int(RevisionTableModel::Expired));
    EXPECT_EQ(mark(2), int(RevisionTableModel::NoMark));

    // "Files valid less than one month": the records due before then, the
    // one whose date is no Czech date left out.
    list.Month1->trigger();
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), "Kotelna");
    EXPECT_EQ(model.data(model.index(1, 0)).toString(), QString::fromUtf8("Půda"));
    list.InvalidFiles1->trigger();
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), QString::fromUtf8("Půda"));

    // A transferred date and a measured value, in the data window's table export.
    TForm3& data = program.DataProcessing();
    auto bank = std::make_unique<InstrumentBank>(QByteArrayView("A"));
    bank->AddItem(std::make_unique<InstrumentItem>(
        QDateTimeToDateTime(QDateTime(QDate(2011, 3, 15), QTime(10, 20, 30))), DateTimeQuantity,
        false, false));
    bank->AddItem(std::make_unique<InstrumentItem>(230.5, LineVoltage, true, false));
    data.Document().Transfered().AddBank(std::move(bank));
    data.RebuildDataTree();
    const QString table = dir.filePath("table.htm");
    dialogs.filterIndexes.enqueue(HtmlTableFilter);
    dialogs.fileNames.enqueue(table);
    data.SaveDataAs1Click();
    const QByteArray html = ReadAll(table);
    EXPECT_TRUE(html.contains("15.03.2011 10:20:30")) << html.constData();
    EXPECT_TRUE(html.contains("230,5")) << html.constData();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.Texts().join(", ").toStdString();
}

// Dates as Czech users write them, with a blank after each dot, under the
// system's pattern and the one Czech Windows writes; then in scanned forms.
TEST(CzechLocaleTest, DatesWithBlanksAfterTheDotsAreDates)
{
    ASSERT_EQ(QLocale::system().language(), QLocale::Czech) << "run with LC_ALL=cs_CZ.UTF-8";
    const ScopedClock clock(QDateTime(QDate(2027, 3, 1), QTime(10, 0)));
    const ScopedSystemFormats formats;
    const FormatSettings system = GetFormatSettings();
    FormatSettings windows = system;
    windows.ShortDateFormat = QStringLiteral("d. M. yyyy");
    const std::pair<const char*, QDateTime> typed[] = {
        {"20. 4. 2026", QDateTime(QDate(2026, 4, 20), QTime(0, 0))},
        {"1. 12. 2027", QDateTime(QDate(2027, 12, 1), QTime(0, 0))},
        {"05. 03. 2028", QDateTime(QDate(2028, 3, 5), QTime(0, 0))},
        {"20.4.2026", QDateTime(QDate(2026, 4, 20), QTime(0, 0))},
        {"20. 4. 2026 10:30:00", QDateTime(QDate(2026, 4, 20), QTime(10, 30))},
        {"20. 4.", {}}, {"20. 4. 26", {}}, {"20. 4. 20261", {}}, {"4/20/2026", {}}, {"20. 4. 2026 x", {}},
    };
    for (const FormatSettings& settings : {windows, system}) {
        SetFormatSettings(settings);
        for (const auto& [text, read] : typed) {
            TDateTime value = 0;
            EXPECT_EQ(TryStrToDateTime(text, value) ? DateTimeToQDateTime(value) : QDateTime(), read)
                << text << " as " << settings.ShortDateFormat.toStdString();
        }
    }
    // What the program writes stays in the pattern.
    EXPECT_EQ(DateTimeToStr(QDateToDateTime(QDate(2026, 4, 20)) + 0.4375), "20.04.2026 10:30:00");

    FakeDialogs dialogs;
    QTemporaryDir dir;
    const auto record = [](const char* id, const char* name, const char* next) {
        return FilledBlock{{{TextKindId, id}, {TextKindName, name}, {TextKindNextRevision, next}}, {}};
    };
    ASSERT_TRUE(WriteFormFile(dir.filePath("a.qfs"), Tag::Form,
                              FilledValuesSection({{{},
                                                    {record("1", "Kotelna", "20. 4. 2020"),
                                                     record("2", "Sklep", "1. 12. 2027")}}})));
    QuillfenProgram program;
    program.Start({}, QuillfenProgram::CzechLanguageId);
    TForm7& list = program.RevisionList();
    list.SetupDialog().Edit1->setText(dir.path());
    bool done = false;
    QObject::connect(&list, &TForm7::ScanFinished, [&] { done = true; });
    list.LoadRevisionList1Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 60000));
    RevisionTableModel& model = list.Model();
    list.InvalidFiles1->trigger();
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), "Kotelna");
    // The date filter takes such a date too: records due before it.
    list.AllFiles1->trigger();
    TForm15& filter = list.DateFilterDialog();
    QTimer::singleShot(0, &filter, [&filter] {
        filter.Edit1->setText("1. 1. 2025");
        filter.RadioButton2->setChecked(true);
        filter.accept();
    });
    list.FilterByColumn(NextRevisionColumn);
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), "Kotelna");
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.Texts().join(", ").toStdString();
}
