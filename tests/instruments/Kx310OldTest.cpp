// The oldest model's unasked dump: its check, its records, and the transfer
// thread against a simulated instrument.

#include <gtest/gtest.h>

#include "common/InstrumentSimulator.h"
#include "common/PseudoTerminal.h"
#include "common/ScopedGuards.h"
#include "common/TransferHarness.h"
#include "instruments/InstrumentData.h"
#include "instruments/InstrumentItem.h"
#include "instruments/Kx310Old.h"
#include "instruments/QuantityTable.h"
#include "language/Language.h"
#include "platform/SerialPort.h"

#include <QElapsedTimer>
#include <QTimer>

namespace {

struct Record
{
    int raw;
    int kind;
};

// A whole dump: 17 header bytes, 128 records (the given ones first, the rest
// of kind 22, which gives no item), the check and a last byte.
QByteArray Dump(std::initializer_list<Record> records, bool breakCheck = false)
{
    QByteArray dump(Kx310Old::DumpSize, '\0');
    for (int i = 0; i < Kx310Old::RecordsStart; ++i)
        dump[i] = static_cast<char>(0x30 + i);
    int r = 0;
    for (int i = 0; i < Kx310Old::RecordCount; ++i) {
        const Record rec = i < int(records.size()) ? records.begin()[i] : Record{0, 22};
        const int at = Kx310Old::RecordsStart + 4 * r++;
        dump[at] = static_cast<char>(rec.raw & 0xFF);
        dump[at + 1] = static_cast<char>((rec.raw >> 8) & 0xFF);
        dump[at + 2] = static_cast<char>(rec.kind);
        dump[at + 3] = 0x5A;
    }
    uint16_t crc = Kx310Old::Crc16(reinterpret_cast<const uint8_t*>(dump.constData()) + 17, 512);
    if (breakCheck)
        crc ^= 0x8000;
    dump[529] = static_cast<char>(crc & 0xFF);
    dump[530] = static_cast<char>(crc >> 8);
    dump[531] = 0x0D;
    return dump;
}

class Kx310OldTransfer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!sim.IsReady())
            GTEST_SKIP() << "no pseudo terminal";
        MainLanguage.SetLanguage(Language::English);
        data.AddBank(std::make_unique<InstrumentBank>(QByteArrayView("kept")));
    }
    void TearDown() override { data.Clear(); }
    std::optional<TransferResult> Run(const QString& port = QStringLiteral("COM1"))
    {
        return RunTransfer([&](InstrumentTransferWindow::Completion done) {
            auto* thread = new Kx310Old(port);
            thread->SetReporter(&reporter);
            current = thread;
            thread->Start(&data, std::move(done));
        });
    }
    InstrumentSimulator sim;
    ScopedSerialPorts ports{{{QStringLiteral("COM1"), sim.DevicePath()}}};
    RecordingReporter reporter;
    InstrumentData data;
    Kx310Old* current = nullptr;
};

} // namespace

TEST(Kx310OldDump, CheckUsesTheReflectedUpdateOverTheStraightTable)
{
    const QByteArray text("123456789");
    EXPECT_EQ(Kx310Old::Crc16(reinterpret_cast<const uint8_t*>(text.constData()), 9), 0xB955);
    const uint8_t one = 0x01;
    EXPECT_EQ(Kx310Old::Crc16(&one, 1), 0x1021);

    EXPECT_TRUE(Kx310Old::IsDumpIntact(Dump({{5, 6}})));
    EXPECT_FALSE(Kx310Old::IsDumpIntact(Dump({{5, 6}}, true)));
    EXPECT_FALSE(Kx310Old::IsDumpIntact(Dump({{5, 6}}).left(531)));
}

TEST(Kx310OldDump, RecordsClampAndScaleByKind)
{
    struct Case
    {
        int raw, kind, quantity;
        double value;
        bool over;
        const char* note;
    };
    const Case cases[] = {
        {2500, 6, Quantity::Voltage, 1999, true, ""},
        {-2500, 6, Quantity::Voltage, -1999, true, ""},
        {1999, 6, Quantity::Voltage, 1999, false, ""},
        {-15, 2, Quantity::InsulationResistance, 1.5e6, false, "50V"},
        {-3000, 36, Quantity::InsulationResistance, 1999e7, true, "1000V"},
        {123, 13, Quantity::ProtectiveConductorResistance, 1.23, false, ""},
        {-40, 30, Quantity::VoltageLN, -4.0, false, ""},
        {7, 41, Quantity::ConductorLength, 70, false, ""},
        {250, 47, Quantity::Temperature, 250, false, "PT1000"},
        {25, 5, Quantity::Temperature, 25, false, "PT100"},
    };
    for (const Case& c : cases) {
        const auto item = Kx310Old::DecodeRecord(c.raw, c.kind);
        ASSERT_NE(item, nullptr) << c.kind;
        EXPECT_EQ(item->GetQuantity(), c.quantity) << c.kind;
        EXPECT_DOUBLE_EQ(item->GetValue(), c.value) << c.kind;
        EXPECT_EQ(item->IsOver(), c.over) << c.kind;
        EXPECT_TRUE(item->IsPrimary());
        EXPECT_EQ(item->GetNoteText(), QByteArray(c.note)) << c.kind;
    }
    for (int kind : {22, 31, 42, 46, 48, 200})
        EXPECT_EQ(Kx310Old::DecodeRecord(100, kind), nullptr) << kind;

    InstrumentData decoded;
    Kx310Old::DecodeData(Dump({{10, 6}, {5, 22}, {-15, 2}}), decoded);
    ASSERT_EQ(decoded.GetCount(), 1);
    EXPECT_EQ(decoded.GetBank(0)->GetName(), "0");
    ASSERT_EQ(decoded.GetBank(0)->GetCount(), 2);
    EXPECT_DOUBLE_EQ(decoded.GetBank(0)->GetItem(1)->GetValue(), 1.5e6);
    decoded.Clear();
}

TEST_F(Kx310OldTransfer, ReceivesTheDumpAfterTheStartCharacter)
{
    // What comes before the 'A' is ignored, even bytes that look like data.
    sim.SendWhenAt(1200, QByteArray("\x10\x00\x06\x00zz", 6) + "A" + Dump({{10, 6}, {-15, 2}}));
    const auto result = Run();
    ASSERT_EQ(result, TransferResult::Success);
    EXPECT_TRUE(reporter.Errors().isEmpty());
    EXPECT_EQ(reporter.Caption(), "Kx310.1");
    ASSERT_EQ(data.GetCount(), 2);
    EXPECT_EQ(data.GetBank(0)->GetName(), "kept");
    ASSERT_EQ(data.GetBank(1)->GetCount(), 2);
    EXPECT_DOUBLE_EQ(data.GetBank(1)->GetItem(0)->GetValue(), 10);
    std::vector<int> progress = reporter.Progress();
    ASSERT_GE(progress.size(), 3u);
    EXPECT_EQ(progress.front(), 0);
    EXPECT_EQ(progress.back(), -1); // closed
    while (!progress.empty() && progress.back() < 0)
        progress.pop_back();
    EXPECT_EQ(progress.back(), 100);
    EXPECT_FALSE(reporter.Visible());
    // The port is free again.
    EXPECT_TRUE(ProbeSerialPort("COM1"));
}

TEST_F(Kx310OldTransfer, DamagedOrCutDumpFailsAndKeepsTheData)
{
    sim.SendWhenAt(1200, "A" + Dump({{10, 6}}, true));
    EXPECT_EQ(Run(), TransferResult::TransmissionFailed);
    EXPECT_EQ(reporter.Errors(), QStringList{"Transmission failed"});
    EXPECT_EQ(reporter.ErrorCaption(), "Error");
    EXPECT_EQ(data.GetCount(), 1);

    // Cut short: the 12th empty read gives up, and the port is closed.
    SetSerialTimeoutCap(10);
    sim.SendWhenAt(1200, "A" + Dump({{10, 6}}).left(300));
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(Run(), TransferResult::TransmissionFailed);
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(reporter.Errors().size(), 2);
    EXPECT_EQ(data.GetCount(), 1);
    EXPECT_FALSE(reporter.Visible());
    EXPECT_TRUE(ProbeSerialPort("COM1"));
}

TEST_F(Kx310OldTransfer, CancelWhileWaitingAndPortMissing)
{
    // Nothing is sent: only the cancel ends the wait for the start character.
    reporter.onProgress = [&](int) {
        if (current)
            current->Terminate();
    };
    EXPECT_EQ(Run(), TransferResult::Interrupted);
    EXPECT_EQ(reporter.Errors(), QStringList{"Interupted by user"});
    EXPECT_TRUE(ProbeSerialPort("COM1"));

    // A port that cannot be opened is a failed transmission for this model.
    ports.Map(QStringLiteral("COM2"), NoDevicePath);
    EXPECT_EQ(Run(QStringLiteral("COM2")), TransferResult::TransmissionFailed);
    EXPECT_EQ(reporter.Errors().last(), "Transmission failed");
    EXPECT_EQ(data.GetCount(), 1);
}

TEST_F(Kx310OldTransfer, PortWhoseFarEndVanishesEndsTheWaitByItself)
{
    PseudoTerminal line(true);
    if (!line.IsReady())
        GTEST_SKIP() << "no pseudo terminal";
    ports.Map(QStringLiteral("COM1"), line.SlavePath());
    // Once the transfer listens (its first progress), the far end goes away
    // while it waits for the start character; no one presses Cancel.
    reporter.onProgress = [&](int) {
        QMetaObject::invokeMethod(
            qApp, [&] { QTimer::singleShot(300, qApp, [&] { line.CloseMaster(); }); },
            Qt::QueuedConnection);
    };
    EXPECT_EQ(Run(), TransferResult::TransmissionFailed);
    EXPECT_EQ(reporter.Errors(), QStringList{"Transmission failed"});
    ASSERT_EQ(data.GetCount(), 1);
    EXPECT_EQ(data.GetBank(0)->GetName(), "kept");
    EXPECT_FALSE(reporter.Visible());
}
