// The program on a machine whose locale is Czech (the test runs with LC_ALL
// set so): dates and numbers are written and read the Czech way, in the
// revision list's validity marks and filters and in the transferred data.

#include "app/QuillfenProgram.h"
#include "common/FakeDialogs.h"
#include "common/ScopedGuards.h"
#include "dataprocessing/widgets/QuillfenTransfer.h"
#include "instruments/InstrumentData.h"
#include "instruments/InstrumentItem.h"
#include "platform/DateTime.h"
#include "platform/NumberText.h"
#include "revisionlist/RevisionTableModel.h"
#include "revisionlist/widgets/QuillfenRevisionTable.h"

#include <QAction>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr int DateTimeQuantity = 1000;
constexpr int LineVoltage = 1;
constexpr int HtmlTableFilter = 3;

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
