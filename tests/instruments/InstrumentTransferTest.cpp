// Whole transfers against a simulated instrument on a pseudo terminal: every
// protocol family, recovery from faults, cancel, and the settings and upload
// writes.

#include <gtest/gtest.h>

#include "common/InstrumentSimulator.h"
#include "common/RecordBytes.h"
#include "common/ScopedGuards.h"
#include "common/SlotTestTools.h"
#include "common/TransferHarness.h"
#include "common/TranslatorTestTools.h"
#include "instruments/InstrumentData.h"
#include "instruments/InstrumentDatabase.h"
#include "instruments/InstrumentSetup.h"
#include "instruments/InstrumentTransfer.h"
#include "instruments/TransferFrame.h"
#include "common/TransferSteps.h"
#include "instruments/InstrumentTransferWindow.h"
#include "instruments/InstrumentTranslator.h"
#include "language/Language.h"
#include "platform/DateTime.h"
#include "platform/SerialPort.h"

#include <QElapsedTimer>

namespace {

using Sim = InstrumentSimulator;
using Thread = InstrumentTransferWindowThread;

constexpr uint8_t IdentifyKind = 0xAA;
constexpr uint8_t ReadKind = 0xAB;
constexpr uint8_t WriteKind = 0xAC;

// Deterministic bytes of every value (so that escapes occur throughout), with
// stretches of erased memory.
QByteArray PatternImage(int size, uint32_t seed)
{
    QByteArray image(size, '\xFF');
    for (int i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        if ((i / 512) % 4 != 3)
            image[i] = static_cast<char>(seed >> 16);
    }
    return image;
}

QByteArray Saved(const InstrumentData& data)
{
    return Written([&](QIODevice& out) { data.Save(out); });
}

QStringList SetupTexts(const InstrumentSetup& setup)
{
    QStringList texts;
    for (int b = 0; b < setup.GetCount(); ++b) {
        texts.append(setup.GetBank(b)->GetText());
        for (int i = 0; i < setup.GetBank(b)->GetCount(); ++i)
            texts.append(setup.GetBank(b)->GetItem(i)->GetText());
    }
    return texts;
}

// A translator of the model holding `image`, to decode or encode locally what
// the transfer should have produced.
std::unique_ptr<InstrumentTranslator> LocalTranslator(int code, const QByteArray& image)
{
    auto t = CreateTranslatorForModel(code, 1);
    if (t && !image.isEmpty())
        PutArea(*t, 0, image);
    return t;
}

std::vector<int> BlocksOf(const std::vector<Sim::Request>& requests, uint8_t kind)
{
    std::vector<int> blocks;
    for (const Sim::Request& r : requests) {
        if (r.kind == kind)
            blocks.push_back(r.block);
    }
    return blocks;
}

std::vector<int> Range(int first, int count)
{
    std::vector<int> v;
    for (int i = 0; i < count; ++i)
        v.push_back(first + i);
    return v;
}

class InstrumentTransferTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!sim.IsReady())
            GTEST_SKIP() << "no pseudo terminal";
        MainLanguage.SetLanguage(Language::English);
        data.AddBank(std::make_unique<InstrumentBank>(QByteArrayView("kept")));
        before = Saved(data);
    }
    void TearDown() override { data.Clear(); }

    // Serves the model's image, sized as the model's, from a pattern.
    QByteArray Serve(int code, int baud, uint32_t seed = 7)
    {
        const TranslatorModel* model = FindTranslatorModel(code);
        const QByteArray image = PatternImage(model->ImageSize, seed);
        sim.SetModel(code, baud);
        sim.SetImage(image, model->BlockSize);
        return image;
    }

    // A thread on COM3 reporting to `reporter`, started by `starter` with `target`.
    template <typename Target>
    std::optional<TransferResult> Start(void (Thread::*starter)(Target*, Thread::Completion), Target* target,
                                        int groupSameNumber = 1)
    {
        return RunTransfer([&](Thread::Completion done) {
            auto* thread = new Thread(QStringLiteral("COM3"));
            thread->SetReporter(&reporter);
            thread->SetGroupSameNumber(groupSameNumber);
            current = thread;
            (thread->*starter)(target, std::move(done));
        });
    }
    std::optional<TransferResult> ReadData() { return Start(&Thread::StartReadData, &data); }

    // The data set a complete read must append after "kept".
    QByteArray Expected(int code, const QByteArray& image)
    {
        InstrumentData expected;
        expected.AddBank(std::make_unique<InstrumentBank>(QByteArrayView("kept")));
        InstrumentData decoded;
        LocalTranslator(code, image)->DecodeData(decoded);
        expected.AppendCopies(decoded);
        return Saved(expected);
    }

    Sim sim;
    // Undecodable dates and the upload's time stamp read the clock: the
    // transfer and the local decoding must see the same one.
    ScopedClock clock{QDateTime(QDate(2024, 3, 5), QTime(10, 20, 30))};
    ScopedSerialPorts ports{{{QStringLiteral("COM3"), sim.DevicePath()}}};
    RecordingReporter reporter;
    InstrumentData data;
    QByteArray before;
    Thread* current = nullptr;
};

} // namespace

TEST_F(InstrumentTransferTest, FastModelReadsItsWholeDataArea)
{
    // A model that answers only at 115200 baud; the slow attempts time out.
    SetSerialTimeoutCap(150);
    const QByteArray image = Serve(ModelCode::Kx420, 115200);
    ASSERT_EQ(ReadData(), TransferResult::Success);
    EXPECT_TRUE(reporter.Errors().isEmpty());
    EXPECT_EQ(Saved(data), Expected(ModelCode::Kx420, image));
    EXPECT_GT(data.GetCount(), 2);

    const auto requests = sim.Requests();
    ASSERT_GE(requests.size(), 11u);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(requests[size_t(i)].baud, 19200);
    EXPECT_EQ(requests[10].kind, IdentifyKind);
    EXPECT_EQ(requests[10].baud, 115200);
    // 512 + 81408 bytes: blocks 2 to 319, each asked for once, all at the fast rate.
    EXPECT_EQ(BlocksOf(requests, ReadKind), Range(2, 318));
    EXPECT_EQ(requests.back().baud, 115200);

    EXPECT_EQ(reporter.Caption(), "Kx420");
    const std::vector<int> progress = reporter.Progress();
    EXPECT_EQ(progress.front(), 0);
    EXPECT_EQ(*std::max_element(progress.begin(), progress.end()), 99);
    EXPECT_EQ(progress.back(), -1);
    EXPECT_FALSE(reporter.Visible());
}

TEST_F(InstrumentTransferTest, GroupingOptionReachesTheTranslator)
{
    // Records of number 1234, then 5678, then 1234 again.
    auto t = LocalTranslator(ModelCode::Kx420, {});
    int at = 640;
    for (int number : {0x1234, 0x5678, 0x1234}) {
        PutBytes(*t, at, {0x00, number >> 8, number & 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
        PutMeasurement(*t, at + 8, 0, 100, 50);
        at += 16;
    }
    const QByteArray image = ImageBytes(*t, 0, t->GetImageSize());
    sim.SetModel(ModelCode::Kx420, 19200);
    sim.SetImage(image, 256);

    const auto read = [&](int group) {
        data.Clear();
        return Start(&Thread::StartReadData, &data, group);
    };
    ASSERT_EQ(read(1), TransferResult::Success);
    EXPECT_EQ(BankNames(data), (QList<QByteArray>{"1234", "5678"}));
    ASSERT_EQ(read(0), TransferResult::Success);
    EXPECT_EQ(BankNames(data), (QList<QByteArray>{"1234", "5678", "1234"}));
}

TEST_F(InstrumentTransferTest, SlowModelReadsSmallBlocksAndAppendsAfterExistingBanks)
{
    const QByteArray image = Serve(ModelCode::Kx310, 19200);
    ASSERT_EQ(ReadData(), TransferResult::Success);
    EXPECT_EQ(Saved(data), Expected(ModelCode::Kx310, image));
    EXPECT_EQ(sim.CountRequests(IdentifyKind), 1);
    EXPECT_EQ(BlocksOf(sim.Requests(), ReadKind), Range(0, 252));
}

TEST_F(InstrumentTransferTest, OlderProtocolModelReadsByCountedBlocks)
{
    if (!LocalTranslator(ModelCode::Kx320, {}))
        GTEST_SKIP() << "no Kx320 translator in this build";
    const QByteArray image = PatternImage(8192, 3);
    sim.SetTextModel("kx320", 19200);
    sim.SetImage(image, 32);
    sim.SetOldSkipsErased(true); // erased blocks come as block 0xFFFF
    sim.InjectFault(Sim::Fault::CorruptCrc, 1, Sim::Scope::Old);
    sim.FailBlock(40, Sim::Fault::WrongBlock, 1);
    ASSERT_EQ(ReadData(), TransferResult::Success);
    EXPECT_EQ(Saved(data), Expected(ModelCode::Kx320, image));
    EXPECT_EQ(sim.CountRequests(0xA5), 256);
    EXPECT_EQ(sim.CountRequests(0x55), 2);
}

TEST_F(InstrumentTransferTest, AreaOfPartialBlocksReadsItsLastBytes)
{
    if (!LocalTranslator(ModelCode::Kx460, {}))
        GTEST_SKIP() << "no Kx460 translator in this build";
    const QByteArray image = Serve(ModelCode::Kx460, 19200);
    ASSERT_EQ(ReadData(), TransferResult::Success);
    // 80000 bytes are 312.5 blocks of 256: the half block is read too.
    EXPECT_EQ(BlocksOf(sim.Requests(), ReadKind), Range(0, 313));
    EXPECT_EQ(Saved(data), Expected(ModelCode::Kx460, image));
}

TEST_F(InstrumentTransferTest, RetriesRecoverFromSingleFaults)
{
    SetSerialTimeoutCap(200);
    const QByteArray image = Serve(ModelCode::Kx310, 19200);
    sim.InjectFault(Sim::Fault::CorruptCrc, 1, Sim::Scope::Identify);
    sim.FailBlock(5, Sim::Fault::CorruptCrc, 1);
    sim.FailBlock(7, Sim::Fault::Refuse, 1);
    sim.FailBlock(9, Sim::Fault::NoReply, 1);
    sim.FailBlock(11, Sim::Fault::WrongBlock, 1);
    sim.FailBlock(13, Sim::Fault::Noise, 2); // noise alone does no harm
    sim.SetWrongBlockNumber(200);
    ASSERT_EQ(ReadData(), TransferResult::Success);
    EXPECT_TRUE(reporter.Errors().isEmpty());
    EXPECT_EQ(Saved(data), Expected(ModelCode::Kx310, image));
    const std::vector<int> blocks = BlocksOf(sim.Requests(), ReadKind);
    for (int block : {5, 7, 9, 11})
        EXPECT_EQ(std::count(blocks.begin(), blocks.end(), block), 2) << block;
    EXPECT_EQ(std::count(blocks.begin(), blocks.end(), 13), 1);
    EXPECT_EQ(sim.CountRequests(IdentifyKind), 2);
}

TEST_F(InstrumentTransferTest, BlockRefusedTenTimesFailsAndChangesNothing)
{
    Serve(ModelCode::Kx310, 19200);
    sim.FailBlock(4, Sim::Fault::Refuse, 10);
    EXPECT_EQ(ReadData(), TransferResult::TransmissionFailed);
    EXPECT_EQ(reporter.Errors(), QStringList{"Transmission failed"});
    EXPECT_EQ(reporter.ErrorCaption(), "Error");
    EXPECT_EQ(Saved(data), before);
    EXPECT_EQ(BlocksOf(sim.Requests(), ReadKind), (std::vector<int>{0, 1, 2, 3, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4}));
    EXPECT_FALSE(reporter.Visible());
}

TEST_F(InstrumentTransferTest, CancelDuringIdentificationStopsBeforeTheFirstBlock)
{
    Serve(ModelCode::Kx310, 19200);
    sim.SetRequestHook([this](const Sim::Request& r) {
        if (r.kind == IdentifyKind)
            current->Terminate();
    });
    EXPECT_EQ(ReadData(), TransferResult::Interrupted);
    EXPECT_EQ(reporter.Errors(), QStringList{"Interupted by user"});
    EXPECT_EQ(sim.CountRequests(ReadKind), 0);
    EXPECT_EQ(Saved(data), before);
}

TEST_F(InstrumentTransferTest, CancelAfterTheLastBlockStartedStillCompletes)
{
    const QByteArray image = Serve(ModelCode::Kx310, 19200);
    sim.SetRequestHook([this](const Sim::Request& r) {
        if (r.kind == ReadKind && r.block == 251)
            current->Terminate();
    });
    EXPECT_EQ(ReadData(), TransferResult::Success);
    EXPECT_EQ(Saved(data), Expected(ModelCode::Kx310, image));
}

TEST_F(InstrumentTransferTest, NoInstrument)
{
    ports.Map(QStringLiteral("COM3"), NoDevicePath);
    EXPECT_EQ(ReadData(), TransferResult::NotConnected);
    EXPECT_EQ(reporter.Errors(), QStringList{"Instrument not connected"});
    EXPECT_EQ(Saved(data), before);

    // Defaults need an identified model; without one nothing is said.
    InstrumentSetup setup;
    setup.AddBank(std::make_unique<InstrumentSetupBank>(3));
    EXPECT_EQ(Start(&Thread::StartDefaultSetup, &setup), TransferResult::NotConnected);
    EXPECT_EQ(reporter.Errors().size(), 1);
    ASSERT_EQ(setup.GetCount(), 1);
    EXPECT_EQ(setup.GetBank(0)->GetId(), 3);
}

TEST_F(InstrumentTransferTest, UnknownModelIsNotConnected)
{
    sim.SetModel(0x42, 19200);
    sim.SetImage(QByteArray(8192, '\0'), 32);
    EXPECT_EQ(ReadData(), TransferResult::NotConnected);
    EXPECT_EQ(sim.CountRequests(ReadKind), 0);
}

TEST_F(InstrumentTransferTest, DefaultSetupThenWriteSendsExactlyTheSetupBlocks)
{
    const QByteArray image = Serve(ModelCode::Kx310, 19200);
    InstrumentSetup setup;
    ASSERT_EQ(Start(&Thread::StartDefaultSetup, &setup), TransferResult::Success);
    InstrumentSetup defaults;
    LocalTranslator(ModelCode::Kx310, {})->GetDefaultSetup(defaults);
    EXPECT_EQ(SetupTexts(setup), SetupTexts(defaults));
    EXPECT_EQ(sim.CountRequests(ReadKind) + sim.CountRequests(WriteKind), 0);

    sim.ClearRequests();
    ASSERT_EQ(Start(&Thread::StartWriteSetup, &setup), TransferResult::Success);
    EXPECT_TRUE(reporter.Errors().isEmpty());
    EXPECT_EQ(BlocksOf(sim.Requests(), WriteKind), Range(252, 4));
    EXPECT_EQ(sim.CountRequests(ReadKind), 0);
    auto encoder = LocalTranslator(ModelCode::Kx310, {});
    encoder->EncodeSetup(setup);
    const QByteArray written = sim.Image();
    EXPECT_EQ(written.left(8064), image.left(8064));
    EXPECT_EQ(written.mid(8064), ImageBytes(*encoder, 8064, 128));

    // Reading the settings back gives the description written.
    InstrumentSetup read;
    ASSERT_EQ(Start(&Thread::StartReadSetup, &read), TransferResult::Success);
    EXPECT_EQ(SetupTexts(read), SetupTexts(setup));
}

TEST_F(InstrumentTransferTest, SettingsWriteKeepsTheBytesTheSettingsDoNotDescribe)
{
    SetSerialTimeoutCap(150);
    const QByteArray image = Serve(ModelCode::Kx420, 115200);
    InstrumentSetup setup;
    LocalTranslator(ModelCode::Kx420, {})->GetDefaultSetup(setup);
    ASSERT_EQ(Start(&Thread::StartWriteSetup, &setup), TransferResult::Success);
    EXPECT_EQ(BlocksOf(sim.Requests(), ReadKind), Range(0, 2));
    EXPECT_EQ(BlocksOf(sim.Requests(), WriteKind), Range(0, 2));
    const QByteArray written = sim.Image();
    auto encoder = LocalTranslator(ModelCode::Kx420, image);
    encoder->EncodeSetup(setup);
    EXPECT_EQ(written.left(4), ImageBytes(*encoder, 0, 4));
    EXPECT_NE(written.left(4), image.left(4));
    EXPECT_EQ(written.mid(4), image.mid(4));
}

TEST_F(InstrumentTransferTest, SettingsWriteRefusedForModelsWithoutAnEncoder)
{
    const QByteArray image = Serve(ModelCode::Kx350, 19200);
    InstrumentSetup setup;
    const auto result = Start(&Thread::StartWriteSetup, &setup);
    EXPECT_EQ(result, TransferResult::NotSupported);
    EXPECT_EQ(reporter.Errors(), QStringList{"The settings of this instrument cannot be written."});
    // A row of the language tables like every other message.
    MainLanguage.SetLanguage(Language::Czech);
    EXPECT_EQ(TransferResultText(TransferResult::NotSupported),
              QString::fromUtf8("Nastaven\u00ed tohoto p\u0159\u00edstroje nelze zapsat."));
    MainLanguage.SetLanguage(Language::English);
    EXPECT_EQ(sim.CountRequests(WriteKind), 0);
    EXPECT_EQ(sim.Image(), image);

    // The older protocol has no write at all.
    if (!LocalTranslator(ModelCode::Kx340, {}))
        return;
    sim.SetTextModel("kx340 0", 19200);
    EXPECT_EQ(Start(&Thread::StartWriteSetup, &setup), TransferResult::NotSupported);
    EXPECT_EQ(reporter.Errors().size(), 2);
    EXPECT_EQ(sim.CountRequests(WriteKind), 0);
    EXPECT_EQ(sim.CountRequests(0xA5), 0);
}

TEST_F(InstrumentTransferTest, ModelWithoutSettingsReadsAndWritesNoBlock)
{
    if (!LocalTranslator(ModelCode::Kx460, {}))
        GTEST_SKIP() << "no Kx460 translator in this build";
    Serve(ModelCode::Kx460, 19200);
    InstrumentSetup setup;
    setup.AddBank(std::make_unique<InstrumentSetupBank>(1));
    EXPECT_EQ(Start(&Thread::StartReadSetup, &setup), TransferResult::Success);
    // The description is rebuilt from an area the model does not have.
    EXPECT_EQ(setup.GetCount(), 0);
    EXPECT_EQ(Start(&Thread::StartWriteSetup, &setup), TransferResult::Success);
    EXPECT_EQ(sim.CountRequests(ReadKind) + sim.CountRequests(WriteKind), 0);
    EXPECT_TRUE(reporter.Errors().isEmpty());
    // The window was shown and closed for the empty loop.
    EXPECT_EQ(reporter.TimesShown(), 2);
    EXPECT_FALSE(reporter.Visible());
}

TEST_F(InstrumentTransferTest, FailedSettingsWriteReportsTheFailure)
{
    Serve(ModelCode::Kx310, 19200);
    sim.FailBlock(254, Sim::Fault::Refuse, 10);
    InstrumentSetup setup;
    LocalTranslator(ModelCode::Kx310, {})->GetDefaultSetup(setup);
    EXPECT_EQ(Start(&Thread::StartWriteSetup, &setup), TransferResult::TransmissionFailed);
    EXPECT_EQ(reporter.Errors(), QStringList{"Transmission failed"});
    // The blocks before the failure are written, none after it.
    EXPECT_EQ(BlocksOf(sim.Requests(), WriteKind),
              (std::vector<int>{252, 253, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254}));

    // A read that fails leaves the caller's description as it was.
    InstrumentSetup kept;
    kept.AddBank(std::make_unique<InstrumentSetupBank>(2));
    sim.FailBlock(253, Sim::Fault::Refuse, 10);
    EXPECT_EQ(Start(&Thread::StartReadSetup, &kept), TransferResult::TransmissionFailed);
    ASSERT_EQ(kept.GetCount(), 1);
    EXPECT_EQ(kept.GetBank(0)->GetId(), 2);
}

TEST_F(InstrumentTransferTest, UploadWritesTheWholeUploadAreaFromACopy)
{
    Serve(ModelCode::Kx420, 19200);
    InstrumentDatabase database;
    database.Add(InstrumentDatabaseItem("200", QStringLiteral("Second"), QStringLiteral("Hall"), 0));
    database.Add(InstrumentDatabaseItem("", QStringLiteral("Blank"), QString(), 0));
    database.Add(InstrumentDatabaseItem("17", QStringLiteral("First"), QStringLiteral("Yard"), 0));
    ASSERT_EQ(Start(&Thread::StartWriteDatabase, &database), TransferResult::Success);
    EXPECT_EQ(BlocksOf(sim.Requests(), WriteKind), Range(2, 1022));
    // The caller's list is neither sorted nor thinned by the packing.
    ASSERT_EQ(database.GetCount(), 3);
    EXPECT_EQ(database.GetItem(0)->GetName(), "Second");

    InstrumentDatabase copy = database;
    auto encoder = LocalTranslator(ModelCode::Kx420, {});
    encoder->EncodeDatabase(copy);
    const QByteArray written = sim.Image();
    EXPECT_EQ(written.mid(512), ImageBytes(*encoder, 512, 262144 - 512));

    // A model without an upload area succeeds without moving a block.
    sim.ClearRequests();
    Serve(ModelCode::Kx310, 19200);
    EXPECT_EQ(Start(&Thread::StartWriteDatabase, &database), TransferResult::Success);
    EXPECT_EQ(sim.CountRequests(WriteKind), 0);
}

// Not a test: how much of a full read the software itself costs, against the
// time the bytes need on a 115200-baud line. Run with
// --gtest_also_run_disabled_tests --gtest_filter=*Benchmark*
TEST_F(InstrumentTransferTest, DISABLED_Kx420ReadBenchmark)
{
    SetSerialTimeoutCap(150); // only shortens the slow identification attempts
    const QByteArray image = Serve(ModelCode::Kx420, 115200);
    TransferSteps transfer(QStringLiteral("COM3"));
    auto t = transfer.CreateTranslator();
    ASSERT_NE(t, nullptr);

    const int size = t->GetBlockSize();
    const int first = t->GetDataStart() / size;
    const int count = t->GetDataLength() / size;
    qint64 lineBytes = 0;
    for (int block = first; block < first + count; ++block) {
        QByteArray request("\xAB", 1);
        request.append(char(block & 0xFF)).append(char(block >> 8));
        QByteArray reply = request;
        reply.append(image.mid(qint64(block) * size, size));
        lineBytes += TransferFrame::EscapeFrame(TransferFrame::SealFrame(request)).size()
                     + TransferFrame::EscapeFrame(TransferFrame::SealFrame(reply)).size();
    }

    QElapsedTimer timer;
    timer.start();
    for (int block = first; block < first + count; ++block)
        ASSERT_TRUE(transfer.ReadNumberedBlockWithRetry(*t, block));
    const double readMs = timer.nsecsElapsed() / 1e6;
    timer.restart();
    InstrumentData decoded;
    t->DecodeData(decoded);
    const double decodeMs = timer.nsecsElapsed() / 1e6;
    // Ten bit times per byte: start, eight data bits, stop.
    const double lineMs = lineBytes * 10.0 * 1000.0 / 115200.0;
    std::printf("Kx420 data area: %d blocks, %lld line bytes\n"
                "  line time at 115200 baud: %.0f ms\n"
                "  read (simulator answering at once): %.1f ms = %.2f %% of line time\n"
                "  decode: %.1f ms\n",
                count, static_cast<long long>(lineBytes), lineMs, readMs, 100.0 * readMs / lineMs,
                decodeMs);
    decoded.Clear();
}
