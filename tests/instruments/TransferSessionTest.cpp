// Whole operations recorded against the simulated instrument replay over a
// scripted link with the same requests and the same outcome, for every
// model. The recordings seed the whole-transfer fuzz targets: with
// QF_FUZZ_SEED_DIR set, they are written there as <target>/<model>.

#include <gtest/gtest.h>

#include "common/InstrumentSimulator.h"
#include "common/RecordingListener.h"
#include "common/ScopedGuards.h"
#include "common/TransferSession.h"
#include "instruments/InstrumentData.h"
#include "instruments/InstrumentSetup.h"
#include "instruments/InstrumentTransfer.h"
#include "instruments/InstrumentTranslator.h"
#include "language/Language.h"
#include "platform/DateTime.h"
#include "platform/SerialPort.h"

#include <QDir>
#include <QFile>

#include <functional>

namespace {

// What one operation left behind, to compare a live run with its replay.
struct Outcome
{
    TransferResult result;
    QByteArray written;
    QByteArray data;
    QByteArray setup;
    std::vector<TransferResult> errors;
};

using Operation = std::function<TransferResult(InstrumentTransfer&, RecordingListener&, InstrumentData&,
                                               InstrumentSetup&)>;

struct OperationRow
{
    const char* fuzzTarget;
    Operation run;
};

const OperationRow Operations[] = {
    {"TransferReadDataFuzz",
     [](InstrumentTransfer& t, RecordingListener& l, InstrumentData& d, InstrumentSetup&) { return t.ReadData(d, l); }},
    {"TransferReadSetupFuzz",
     [](InstrumentTransfer& t, RecordingListener& l, InstrumentData&, InstrumentSetup& s) { return t.ReadSetup(s, l); }},
    {"TransferWriteSetupFuzz",
     [](InstrumentTransfer& t, RecordingListener& l, InstrumentData&, InstrumentSetup& s) { return t.WriteSetup(s, l); }},
};

// The fuzz targets' option byte: grouping on, and the model whose factory
// settings a write sends.
char OptionByte(size_t modelIndex)
{
    return static_cast<char>(modelIndex << 1 | 1);
}

Outcome RunOperation(InstrumentTransfer& transfer, const Operation& operation, int modelCode)
{
    transfer.SetGroupSameNumber(1);
    RecordingListener listener;
    InstrumentData data;
    InstrumentSetup setup;
    if (auto t = CreateTranslatorForModel(modelCode, 1))
        t->GetDefaultSetup(setup);
    Outcome outcome;
    outcome.result = operation(transfer, listener, data, setup);
    outcome.data = Written([&](QIODevice& out) { data.Save(out); });
    outcome.setup = SetupBytes(setup);
    outcome.errors = listener.Errors();
    data.Clear();
    return outcome;
}

class TransferSessionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!sim.IsReady())
            GTEST_SKIP() << "no pseudo terminal";
        MainLanguage.SetLanguage(Language::English);
        // Only shortens the slow identification of the fast model.
        SetSerialTimeoutCap(150);
    }
    InstrumentSimulator sim;
    ScopedClock clock{QDateTime(QDate(2024, 3, 5), QTime(10, 20, 30))};
    ScopedSerialPorts ports{{{QStringLiteral("COM3"), sim.DevicePath()}}};
};

} // namespace

TEST_F(TransferSessionTest, RecordedSessionsReplayWithTheSameRequestsAndOutcome)
{
    const QString seedDir = qEnvironmentVariable("QF_FUZZ_SEED_DIR");
    for (size_t m = 0; m < TranslatorModels.size(); ++m) {
        const TranslatorModel& model = TranslatorModels[m];
        // Every byte value occurs, so that escapes occur throughout.
        QByteArray image(model.ImageSize, '\0');
        for (int i = 0; i < image.size(); ++i)
            image[i] = static_cast<char>((i * 37 + i / 256) & 0xFF);
        const int baud = model.Code == ModelCode::Kx420 ? InstrumentTransfer::FastBaud : InstrumentTransfer::SlowBaud;
        if (model.Code == ModelCode::Kx320)
            sim.SetTextModel("kx320", baud);
        else if (model.Code == ModelCode::Kx340)
            sim.SetTextModel("kx340 0", baud);
        else
            sim.SetModel(model.Code, baud);

        for (const OperationRow& operation : Operations) {
            sim.SetImage(image, model.BlockSize);
            auto port = std::make_unique<SerialPort>();
            ASSERT_TRUE(port->Open(QStringLiteral("COM3"), InstrumentTransfer::SlowBaud));
            port->SetReadTimeout(InstrumentTransfer::ReadTimeout);
            QList<QByteArray> answers;
            auto recording = std::make_unique<RecordingLink>(std::move(port), answers);
            RecordingLink& recorder = *recording;
            InstrumentTransfer live(std::move(recording));
            Outcome recorded = RunOperation(live, operation.run, model.Code);
            recorded.written = recorder.Written();
            // Settings that cannot be written are refused; everything else succeeds.
            const bool refused = QByteArrayView(operation.fuzzTarget).contains("Write") && model.SetupLength > 0
                                 && (!model.NumberedBlocks || !model.SetupWritable);
            ASSERT_EQ(recorded.result, refused ? TransferResult::NotSupported : TransferResult::Success)
                << model.Name << " " << operation.fuzzTarget;

            auto scripted = std::make_unique<ScriptedLink>();
            ScriptedLink& link = *scripted;
            SessionPlayer player(answers);
            player.Attach(link);
            InstrumentTransfer replay(std::move(scripted));
            const Outcome replayed = RunOperation(replay, operation.run, model.Code);
            EXPECT_EQ(replayed.result, recorded.result) << model.Name << " " << operation.fuzzTarget;
            EXPECT_EQ(link.Written(), recorded.written) << model.Name << " " << operation.fuzzTarget;
            EXPECT_EQ(replayed.data, recorded.data) << model.Name << " " << operation.fuzzTarget;
            EXPECT_EQ(replayed.setup, recorded.setup) << model.Name << " " << operation.fuzzTarget;
            EXPECT_EQ(replayed.errors, recorded.errors) << model.Name << " " << operation.fuzzTarget;

            if (!seedDir.isEmpty() && recorded.result == TransferResult::Success) {
                const QString dir = seedDir + u'/' + QLatin1String(operation.fuzzTarget);
                QDir().mkpath(dir);
                QFile seed(dir + u'/' + QString::fromLatin1(model.Name).toLower());
                ASSERT_TRUE(seed.open(QIODevice::WriteOnly));
                seed.write(QByteArray(1, OptionByte(m)) + EncodeSession(answers));
            }
        }
    }
}
