// The link, identification and block exchanges, over a scripted memory link.

#include <gtest/gtest.h>

#include "common/InstrumentSimulator.h"
#include "common/RecordBytes.h"
#include "common/RecordingListener.h"
#include "common/ScriptedInstrument.h"
#include "common/ScriptedLink.h"
#include "common/SlotTestTools.h"
#include "common/TestTranslator.h"
#include "common/TransferSteps.h"
#include "instruments/Crc.h"
#include "instruments/InstrumentData.h"
#include "instruments/InstrumentSetup.h"
#include "instruments/InstrumentTransfer.h"
#include "instruments/TransferFrame.h"
#include "instruments/Kx310Old.h"

#include <QByteArray>

#include <functional>
#include <utility>

namespace {

namespace T = TransferFrame;

// A transfer over a scripted link that stays reachable for inspection.
struct Scripted
{
    explicit Scripted(QByteArray input = {})
    {
        auto owned = std::make_unique<ScriptedLink>(std::move(input));
        link = owned.get();
        transfer = std::make_unique<TransferSteps>(std::move(owned));
    }
    ScriptedLink* link;
    std::unique_ptr<TransferSteps> transfer;
};

QByteArray BinaryIdentity(int code)
{
    return T::EscapeFrame(T::SealFrame(Bytes({0xAA, code & 0xFF, code >> 8})));
}

QByteArray ReadReply(int block, const QByteArray& data)
{
    QByteArray body = Bytes({0xAB, block & 0xFF, block >> 8});
    body.append(data);
    return T::EscapeFrame(T::SealFrame(body));
}

} // namespace

TEST(FrameEscape, EscapesEveryStartValueAfterTheFirstByte)
{
    const QByteArray frame = Bytes({0xAB, 0x00, 0xAA, 0xAB, 0xAC, 0xAD, 0xAE, 0x1B, 0xA9, 0xAF, 0x3B});
    EXPECT_EQ(T::EscapeFrame(frame),
              Bytes({0xAB, 0x00, 0x1B, 0x8A, 0x1B, 0x8B, 0x1B, 0x8C, 0x1B, 0x8D, 0x1B, 0x8E, 0x1B,
                     0x3B, 0xA9, 0xAF, 0x3B}));
    // The start byte travels raw even when its value is one that gets escaped.
    EXPECT_EQ(T::EscapeFrame(Bytes({0x1B, 0x1B})), Bytes({0x1B, 0x1B, 0x3B}));

    // WriteFrame sends the escaped frame in one piece.
    Scripted s;
    ASSERT_TRUE(s.transfer->WriteFrame(frame));
    EXPECT_EQ(s.link->Written(), T::EscapeFrame(frame));
}

TEST(FrameEscape, ReaderUndoesTheEscapeAndFailsOnAHalfPair)
{
    Scripted s(Bytes({0x1B, 0x8B, 0x41, 0x1B}));
    EXPECT_EQ(s.transfer->ReadByte(), 0xAB);
    EXPECT_EQ(s.transfer->ReadByte(), 0x41);
    // An escape followed by silence is a failed read, not the escape byte.
    EXPECT_EQ(s.transfer->ReadByte(), -1);

    // Raw reads leave the escape alone.
    Scripted raw(Bytes({0x1B, 0x8B}));
    EXPECT_EQ(raw.transfer->ReadRawByte(), 0x1B);
    EXPECT_EQ(raw.transfer->ReadRawByte(), 0x8B);
}

TEST(FrameEscape, OlderEscapeEntersTheCheckWithBothBytes)
{
    Scripted s(Bytes({0x0B, 0x81, 0x22}));
    EXPECT_EQ(s.transfer->ReadOldDecodedByte(), 0x01);
    EXPECT_EQ(s.transfer->ReadOldDecodedByte(), 0x22);
    EXPECT_EQ(s.transfer->ReadOldDecodedByte(), -1);

    // A block whose number or data hold the escaped values still checks out,
    // because the check covers the bytes as they travel.
    QByteArray data(32, '\x0B');
    data[5] = 0x01;
    Scripted block(OldBlockLine(0, data));
    TestTranslator t(ModelCode::Kx320);
    ASSERT_TRUE(block.transfer->ReadOldBlock(t, 0));
    EXPECT_EQ(ImageBytes(t, 0, 32), data);
}

TEST(LinkClosed, EveryExchangeFailsAtOnce)
{
    Scripted s(BinaryIdentity(6));
    s.link->SetOpen(false);
    TestTranslator t(ModelCode::Kx420);
    EXPECT_FALSE(s.transfer->WriteByte(0xAA));
    EXPECT_EQ(s.transfer->ReadRawByte(), -1);
    EXPECT_EQ(s.transfer->Identify(), -1);
    EXPECT_EQ(s.transfer->CreateTranslator(), nullptr);
    EXPECT_FALSE(s.transfer->ReadNumberedBlockWithRetry(t, 2));
    EXPECT_TRUE(s.link->Written().isEmpty());
}

// ---------------------------------------------------------------------------

class Identification : public ::testing::Test
{
protected:
    // The instrument answers each identify request with `slow` at 19200 and
    // `fast` at 115200 baud (an empty answer: silence).
    void Answer(QByteArray slow, QByteArray fast)
    {
        s.link->onWrite = [slow, fast](ScriptedLink& link, QByteArrayView bytes) {
            if (bytes == Bytes({0xAA}))
                link.Feed(link.Baud() == 19200 ? slow : fast);
        };
    }
    Scripted s;
};

TEST_F(Identification, BinaryAndTextIdentities)
{
    Answer(BinaryIdentity(6), {});
    EXPECT_EQ(s.transfer->IdentifySlow(), 6);
    EXPECT_EQ(s.link->Baud(), 19200);
    EXPECT_GE(s.link->Purges(), 1);

    const struct { QByteArray text; int code; } texts[] = {
        {QByteArray("kx340 0", 8), 1},
        {QByteArray("kx320", 6), 2},
        {QByteArray("kx340", 6), -1},
        {QByteArray("kx320 ", 7), -1},
        {QByteArray("kx3", 3), -1}, // cut short: no end before silence
        {QByteArray(32, 'k'), -1},  // 32 characters without an end
    };
    for (const auto& t : texts) {
        Answer(t.text, {});
        EXPECT_EQ(s.transfer->IdentifySlow(), t.code) << t.text.constData();
    }

    // The fast rate knows no text identity.
    Answer({}, QByteArray("kx320", 6));
    EXPECT_EQ(s.transfer->IdentifyFast(), -1);
    Answer({}, BinaryIdentity(8));
    EXPECT_EQ(s.transfer->IdentifyFast(), 8);
    EXPECT_EQ(s.link->Baud(), 115200);
}

TEST_F(Identification, BadCheckIsRetriedTenTimesThenTheFastRate)
{
    QByteArray bad = BinaryIdentity(6);
    bad[bad.size() - 1] = static_cast<char>(bad.back() ^ 0x10);
    Answer(bad, BinaryIdentity(7));
    EXPECT_EQ(s.transfer->Identify(), 7);
    EXPECT_EQ(s.link->Written(), QByteArray(11, '\xAA'));
    // The link stays at the rate the instrument answered at.
    EXPECT_EQ(s.link->Baud(), 115200);

    Answer({}, {});
    EXPECT_EQ(s.transfer->Identify(), -1);
    EXPECT_EQ(s.link->Written().size(), 11 + 20);
}

TEST_F(Identification, OnlyKnownModelsGetATranslator)
{
    for (int code : {0, 9, 0x1234}) {
        Answer(BinaryIdentity(code), {});
        int reported = -2;
        EXPECT_EQ(s.transfer->CreateTranslator(&reported), nullptr) << code;
        EXPECT_EQ(reported, code);
    }
}

// ---------------------------------------------------------------------------

class NumberedBlocks : public ::testing::Test
{
protected:
    QByteArray Block(char fill) const { return QByteArray(256, fill); }
    QByteArray Stored(int block) { return ImageBytes(t, block * 256, 256); }
    TestTranslator t{ModelCode::Kx420};
};

TEST_F(NumberedBlocks, ReadRequestAndReplyLandAtTheBlock)
{
    QByteArray data = Block('\x11');
    data[0] = static_cast<char>(0xAB); // escaped inside the reply
    data[1] = static_cast<char>(0x1B);
    // Noise before the reply start is skipped.
    Scripted s(Bytes({0x00, 0x55, 0x1B, 0x8B}) + ReadReply(3, data));
    ASSERT_TRUE(s.transfer->ReadNumberedBlock(t, 3));
    EXPECT_EQ(s.link->Written(), T::EscapeFrame(T::SealFrame(Bytes({0xAB, 3, 0}))));
    EXPECT_EQ(Stored(3), data);
    EXPECT_EQ(Stored(2), Block('\xFF'));
    EXPECT_EQ(s.link->Unread(), 0);
}

TEST_F(NumberedBlocks, BadRepliesFailTheTryAndLeaveTheImage)
{
    QByteArray corrupt = ReadReply(3, Block('\x22'));
    corrupt[10] = static_cast<char>(corrupt[10] ^ 0x01);
    const QByteArray cases[] = {
        Bytes({0xAD}) + ReadReply(3, Block('\x22')), // refusal ends the try at once
        corrupt,
        ReadReply(4, Block('\x22')),                 // another block than asked for
        ReadReply(3, Block('\x22')).left(100),       // cut short
        {},                                          // silence
    };
    for (const QByteArray& reply : cases) {
        Scripted s(reply);
        EXPECT_FALSE(s.transfer->ReadNumberedBlock(t, 3));
        EXPECT_EQ(Stored(3), Block('\xFF'));
        EXPECT_EQ(Stored(4), Block('\xFF'));
    }
    // The refusal was taken before the reply behind it.
    Scripted refused(Bytes({0xAD}) + ReadReply(3, Block('\x22')));
    refused.transfer->ReadNumberedBlock(t, 3);
    EXPECT_EQ(refused.link->Unread(), ReadReply(3, Block('\x22')).size());
}

TEST_F(NumberedBlocks, ReplyBeyondTheImageIsNotStored)
{
    // 1024 blocks of 256 bytes fill the image; block 1024 would lie past it.
    Scripted s(ReadReply(1024, Block('\x33')));
    EXPECT_FALSE(s.transfer->ReadNumberedBlock(t, 1024));
    Scripted last(ReadReply(1023, Block('\x33')));
    EXPECT_TRUE(last.transfer->ReadNumberedBlock(t, 1023));
    EXPECT_EQ(Stored(1023), Block('\x33'));
}

TEST_F(NumberedBlocks, RetryGivesUpAfterTenTries)
{
    Scripted s;
    int requests = 0;
    s.link->onWrite = [&](ScriptedLink& link, QByteArrayView) {
        ++requests;
        link.Feed(requests < 10 ? Bytes({0xAD}) : ReadReply(5, Block('\x44')));
    };
    EXPECT_TRUE(s.transfer->ReadNumberedBlockWithRetry(t, 5));
    EXPECT_EQ(requests, 10);

    requests = -100;
    EXPECT_FALSE(s.transfer->ReadNumberedBlockWithRetry(t, 6));
    EXPECT_EQ(requests, -90);
}

TEST_F(NumberedBlocks, WriteSendsTheEscapedBlockAndWantsItsAcknowledgement)
{
    QByteArray data = Block('\x10');
    data[7] = static_cast<char>(0xAC);
    data[8] = static_cast<char>(0x1B);
    t.CopyToImage(reinterpret_cast<const uint8_t*>(data.constData()), 2 * 256, 256);
    Scripted s(Bytes({0xAC}));
    ASSERT_TRUE(s.transfer->WriteNumberedBlock(t, 2));
    QByteArray body = Bytes({0xAC, 2, 0});
    body.append(data);
    const QByteArray expected = T::EscapeFrame(T::SealFrame(body));
    EXPECT_EQ(s.link->Written(), expected);
    EXPECT_EQ(expected.size(), 256 + 5 + 2); // two escaped data bytes
    // The check is over the bytes before escaping.
    EXPECT_EQ(Crc16(T::SealFrame(body)), Crc16Residue);

    for (const QByteArray& answer : {Bytes({0xAD}), Bytes({0x00, 0xAC}), QByteArray()}) {
        Scripted bad(answer);
        EXPECT_FALSE(bad.transfer->WriteNumberedBlock(t, 2));
    }
    // A block outside the image is never sent.
    Scripted outside(Bytes({0xAC}));
    EXPECT_FALSE(outside.transfer->WriteNumberedBlock(t, 1024));
    EXPECT_TRUE(outside.link->Written().isEmpty());
}

// ---------------------------------------------------------------------------

TEST(OldBlocks, StoresTheExpectedBlockAndSkipsErasedOnes)
{
    TestTranslator t(ModelCode::Kx320);
    const QByteArray data(32, '\x42');
    Scripted s(Bytes({0x7F, 0x33}) + OldBlockLine(2, data) + OldBlockLine(0xFFFF, QByteArray(32, '\x77')));
    ASSERT_TRUE(s.transfer->ReadOldBlock(t, 2));
    EXPECT_EQ(ImageBytes(t, 64, 32), data);

    const std::vector<uint8_t> before = t.GetImage();
    EXPECT_TRUE(s.transfer->ReadOldBlock(t, 3));
    EXPECT_EQ(t.GetImage(), before);

    for (const QByteArray& line : {OldBlockLine(4, data), OldBlockLine(3, data, true),
                                   OldBlockLine(3, data).left(20)}) {
        Scripted bad(line);
        EXPECT_FALSE(bad.transfer->ReadOldBlock(t, 3));
    }
    EXPECT_EQ(t.GetImage(), before);
}

TEST(OldBlocks, RetryRequestsOnceAndRepeatsTenTimes)
{
    TestTranslator t(ModelCode::Kx320);
    const QByteArray data(32, '\x42');
    Scripted s;
    int requests = 0;
    s.link->onWrite = [&](ScriptedLink& link, QByteArrayView) {
        ++requests;
        link.Feed(OldBlockLine(1, data, requests < 11));
    };
    EXPECT_TRUE(s.transfer->ReadOldBlockWithRetry(t, 1));
    EXPECT_EQ(s.link->Written(), Bytes({0xA5}) + QByteArray(10, 0x55));

    requests = -100;
    EXPECT_FALSE(s.transfer->ReadOldBlockWithRetry(t, 1));
    EXPECT_EQ(requests, -89);
}

// ---------------------------------------------------------------------------
// Whole operations on the test's own thread, against an instrument in memory.

class Operations : public ::testing::Test
{
protected:
    void SetUp() override
    {
        instrument.Attach(*s.link);
        data.AddBank(std::make_unique<InstrumentBank>(QByteArrayView("kept")));
    }
    void TearDown() override { data.Clear(); }
    QByteArray Saved(const InstrumentData& d) const
    {
        return Written([&](QIODevice& out) { d.Save(out); });
    }

    static QByteArray Pattern()
    {
        QByteArray bytes(8192, '\0');
        for (int i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>(i * 7 + i / 32);
        return bytes;
    }

    const QByteArray image = Pattern();
    ScriptedInstrument instrument{ModelCode::Kx310, image, 32};
    Scripted s;
    RecordingListener listener;
    InstrumentData data;
};

TEST_F(Operations, ReadShowsProgressPerBlockAndDecodesAfterTheLast)
{
    ASSERT_EQ(s.transfer->ReadData(data, listener), TransferResult::Success);
    EXPECT_EQ(instrument.Reads(), 252);
    EXPECT_EQ(listener.Captions(), QStringList{"Kx310.2"});
    EXPECT_TRUE(listener.Errors().empty());
    // 0 before the first block, never 100, closed at the end.
    const std::vector<int>& progress = listener.Progress();
    ASSERT_EQ(progress.size(), 253u);
    EXPECT_EQ(progress.front(), 0);
    EXPECT_EQ(progress[251], 99);
    EXPECT_EQ(progress.back(), -1);
    EXPECT_FALSE(listener.Visible());

    auto local = CreateTranslatorForModel(ModelCode::Kx310, 1);
    PutArea(*local, 0, image);
    InstrumentData expected;
    local->DecodeData(expected);
    EXPECT_EQ(Saved(data), Saved(expected));
    expected.Clear();
}

TEST_F(Operations, CancelStopsBeforeTheNextBlockAndKeepsTheData)
{
    const QByteArray before = Saved(data);
    listener.cancelWhen = [&] { return instrument.Reads() == 5; };
    EXPECT_EQ(s.transfer->ReadData(data, listener), TransferResult::Interrupted);
    EXPECT_EQ(instrument.Reads(), 5);
    EXPECT_EQ(listener.CancelTests(), 6);
    EXPECT_EQ(listener.Errors(), std::vector<TransferResult>{TransferResult::Interrupted});
    EXPECT_FALSE(listener.Visible());
    EXPECT_EQ(Saved(data), before);
}

// ---------------------------------------------------------------------------
// A device that goes away (unplugged adapter) ends every wait after the read
// that noticed it; a quiet one is asked as often as ever.

TEST(DeviceGone, EveryWaitLoopEndsAtTheFirstFailedRead)
{
    using Operation = std::function<TransferResult(InstrumentTransfer&, RecordingListener&)>;
    const Operation readData = [](InstrumentTransfer& t, RecordingListener& l) {
        InstrumentData data;
        return t.ReadData(data, l);
    };
    const Operation writeSetup = [](InstrumentTransfer& t, RecordingListener& l) {
        InstrumentSetup setup;
        return t.WriteSetup(setup, l);
    };
    const struct
    {
        const char* wait;
        QByteArray identity; // the only answer before the device goes
        Operation operation;
    } cases[] = {
        {"identification", {}, readData},
        {"numbered read", BinaryIdentity(ModelCode::Kx420), readData},
        {"numbered write", BinaryIdentity(ModelCode::Kx310), writeSetup},
        {"older protocol", QByteArray("kx320", 6), readData},
    };
    for (const auto& c : cases) {
        for (const bool gone : {true, false}) {
            Scripted s;
            s.link->onWrite = [&c, first = true](ScriptedLink& link, QByteArrayView) mutable {
                if (std::exchange(first, false))
                    link.Feed(c.identity);
            };
            if (gone)
                s.link->VanishWhenSpent();
            RecordingListener listener;
            const TransferResult result = c.operation(*s.transfer, listener);
            if (gone) {
                EXPECT_EQ(result, TransferResult::TransmissionFailed) << c.wait;
                EXPECT_EQ(s.link->ReadsPastEnd(), 1) << c.wait;
                EXPECT_EQ(listener.Errors(), std::vector<TransferResult>{TransferResult::TransmissionFailed});
                // Identified first where there was an identity: one request after it.
                EXPECT_EQ(s.link->Written().size() > 1, !c.identity.isEmpty()) << c.wait;
            } else {
                // Quiet: every try and every attempt is made.
                EXPECT_GE(s.link->ReadsPastEnd(), 10) << c.wait;
            }
        }
    }
}

TEST(DeviceGone, OldestModelStopsWaitingButAQuietLineWaitsForTheUser)
{
    InstrumentData data;
    data.AddBank(std::make_unique<InstrumentBank>(QByteArrayView("kept")));
    for (const QByteArray& input : {QByteArray(), QByteArray("zzA") + QByteArray(100, '\x01')}) {
        ScriptedLink link(input);
        link.VanishWhenSpent();
        RecordingListener listener;
        EXPECT_EQ(Kx310Old::Receive(link, listener, data), TransferResult::TransmissionFailed);
        EXPECT_EQ(link.ReadsPastEnd(), 1);
        ASSERT_EQ(data.GetCount(), 1);
        EXPECT_EQ(data.GetBank(0)->GetName(), "kept");
    }

    // A present but quiet line: only the user ends the wait, however long.
    ScriptedLink quiet;
    RecordingListener listener;
    listener.cancelWhen = [&] { return quiet.ReadsPastEnd() == 500; };
    EXPECT_EQ(Kx310Old::Receive(quiet, listener, data), TransferResult::Interrupted);
    EXPECT_EQ(quiet.ReadsPastEnd(), 500);
    data.Clear();
}
