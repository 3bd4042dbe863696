#include "instruments/InstrumentTransfer.h"

#include "instruments/Crc.h"
#include "instruments/InstrumentTranslator.h"
#include "instruments/TransferFrame.h"
#include "platform/SerialPort.h"

#include <array>

using namespace TransferFrame;

namespace {

// The most bytes a reader skips while it looks for the start of a reply; a
// line that keeps talking without ever starting one fails the try instead of
// holding the transfer forever.
constexpr int MaxSkippedBytes = 4096;

struct TextIdentity
{
    const char* text;
    int code;
};
constexpr std::array<TextIdentity, 2> TextIdentities{{{"kx340 0", 1}, {"kx320", 2}}};

// Up to Tries exchanges until one succeeds; a device that is gone ends the
// tries at once, since every further one would fail without waiting.
template <typename Exchange>
bool WithTries(const SerialLink& link, const char* what, int block, Exchange exchange)
{
    for (int i = 0; i < InstrumentTransfer::Tries; ++i) {
        if (i > 0)
            qCDebug(lcSerialLink) << "retry" << i << what << "block" << block;
        if (exchange())
            return true;
        if (link.IsGone())
            return false;
    }
    return false;
}

} // namespace

InstrumentTransfer::InstrumentTransfer(const QString& portName)
{
    auto port = std::make_unique<SerialPort>();
    if (port->Open(portName, SlowBaud))
        port->SetReadTimeout(ReadTimeout);
    m_link = std::move(port);
}

InstrumentTransfer::InstrumentTransfer(std::unique_ptr<SerialLink> link)
    : m_link(std::move(link))
{
}

InstrumentTransfer::~InstrumentTransfer() = default;

bool InstrumentTransfer::IsOpen() const
{
    return m_link && m_link->IsOpen();
}

bool InstrumentTransfer::IsLinkGone() const
{
    return m_link && m_link->IsGone();
}

bool InstrumentTransfer::SetBaudRate(int baud)
{
    return IsOpen() && m_link->SetBaudRate(baud);
}

bool InstrumentTransfer::WriteByte(uint8_t b)
{
    const char c = static_cast<char>(b);
    return IsOpen() && m_link->Write(QByteArrayView(&c, 1));
}

bool InstrumentTransfer::WriteFrame(QByteArrayView frame)
{
    qCDebug(lcSerialLink) << "sent" << frame.toByteArray().toHex(' ');
    return IsOpen() && m_link->Write(EscapeFrame(frame));
}

int InstrumentTransfer::ReadRawByte()
{
    return IsOpen() ? m_link->ReadByte() : -1;
}

int InstrumentTransfer::ReadByte()
{
    const int b = ReadRawByte();
    if (b != Escape)
        return b;
    const int next = ReadRawByte();
    return next < 0 ? -1 : next ^ EscapeFlip;
}

int InstrumentTransfer::ReadOldByte()
{
    const int b = ReadRawByte();
    if (b < 0)
        return -1;
    m_oldCrc = CrcCcittUpdate(m_oldCrc, static_cast<uint8_t>(b));
    return b;
}

int InstrumentTransfer::ReadOldDecodedByte()
{
    const int b = ReadOldByte();
    if (b != OldEscape)
        return b;
    const int next = ReadOldByte();
    return next < 0 ? -1 : next ^ OldEscapeFlip;
}

// ---------------------------------------------------------------------------
// Identification

int InstrumentTransfer::ReadIdentity(bool acceptText)
{
    const int first = ReadByte();
    if (first < 0)
        return -1;
    if (first == StartIdentify) {
        QByteArray frame(1, static_cast<char>(StartIdentify));
        for (int i = 1; i < BareFrameSize; ++i) {
            const int b = ReadByte();
            if (b < 0)
                return -1;
            frame.append(static_cast<char>(b));
        }
        qCDebug(lcSerialLink) << "received identity" << frame.toHex(' ');
        return IsFrameIntact(frame) ? Number(frame) : -1;
    }
    if (!acceptText)
        return -1;
    QByteArray text(1, static_cast<char>(first));
    while (text.back() != '\0' && text.size() < MaxTextIdentity) {
        const int b = ReadByte();
        if (b < 0)
            return -1;
        text.append(static_cast<char>(b));
    }
    if (text.back() != '\0')
        return -1; // 32 characters without an end match nothing
    text.chop(1);
    qCDebug(lcSerialLink) << "received text identity" << text;
    for (const TextIdentity& identity : TextIdentities) {
        if (text == identity.text)
            return identity.code;
    }
    return -1;
}

int InstrumentTransfer::IdentifyAt(int baud, bool acceptText)
{
    if (!SetBaudRate(baud))
        return -1;
    m_link->Purge();
    if (!WriteByte(StartIdentify))
        return -1;
    return ReadIdentity(acceptText);
}

int InstrumentTransfer::IdentifySlow()
{
    return IdentifyAt(SlowBaud, true);
}

// The fast rate knows no text identities.
int InstrumentTransfer::IdentifyFast()
{
    return IdentifyAt(FastBaud, false);
}

int InstrumentTransfer::Identify()
{
    if (!IsOpen())
        return -1;
    for (const auto identify : {&InstrumentTransfer::IdentifySlow, &InstrumentTransfer::IdentifyFast}) {
        for (int i = 0; i < Tries; ++i) {
            const int code = (this->*identify)();
            if (code != -1)
                return code;
            if (IsLinkGone())
                return -1;
        }
    }
    return -1;
}

std::unique_ptr<InstrumentTranslator> InstrumentTransfer::CreateTranslator(int* modelCode)
{
    const int code = Identify();
    if (modelCode)
        *modelCode = code;
    if (code < 0)
        return nullptr;
    return CreateTranslatorForModel(code, m_groupSameNumber);
}

// ---------------------------------------------------------------------------
// Numbered blocks

bool InstrumentTransfer::ReadNumberedBlock(InstrumentTranslator& t, int block)
{
    const int size = t.GetBlockSize();
    if (!WriteFrame(SealFrame(Head(StartRead, block))))
        return false;

    for (int skipped = 0;; ++skipped) {
        const int b = ReadRawByte();
        if (b < 0 || b == Refusal || skipped >= MaxSkippedBytes)
            return false;
        if (b == StartRead)
            break;
    }
    QByteArray reply(1, static_cast<char>(StartRead));
    reply.reserve(BlockFrameSize(size));
    for (int i = 1; i < BlockFrameSize(size); ++i) {
        const int b = ReadByte();
        if (b < 0)
            return false;
        reply.append(static_cast<char>(b));
    }
    qCDebug(lcSerialLink) << "received" << reply.toHex(' ');
    if (!IsFrameIntact(reply))
        return false;
    // A reply for another block than the one asked for is a confused line,
    // not data to keep: placing it would overwrite a block already read (or
    // land past the end of the image).
    const int replied = Number(reply);
    if (replied != (block & 0xFFFF))
        return false;
    const qint64 offset = qint64(replied) * size;
    return offset + size <= t.GetImageSize()
           && t.CopyToImage(reinterpret_cast<const uint8_t*>(reply.constData() + PayloadOffset),
                            int(offset), size);
}

bool InstrumentTransfer::ReadNumberedBlockWithRetry(InstrumentTranslator& t, int block)
{
    return WithTries(*m_link, "read", block, [&] { return ReadNumberedBlock(t, block); });
}

bool InstrumentTransfer::WriteNumberedBlock(InstrumentTranslator& t, int block)
{
    const int size = t.GetBlockSize();
    const qint64 offset = qint64(block) * size;
    if (block < 0 || offset + size > t.GetImageSize())
        return false;
    QByteArray request = Head(StartWrite, block);
    request.resize(PayloadOffset + size, '\0');
    if (!t.CopyFromImage(reinterpret_cast<uint8_t*>(request.data() + PayloadOffset), int(offset), size))
        return false;
    if (!WriteFrame(SealFrame(request)))
        return false;
    const int answer = ReadByte();
    qCDebug(lcSerialLink) << "received acknowledgement" << answer;
    return answer == StartWrite;
}

bool InstrumentTransfer::WriteNumberedBlockWithRetry(InstrumentTranslator& t, int block)
{
    return WithTries(*m_link, "write", block, [&] { return WriteNumberedBlock(t, block); });
}

// ---------------------------------------------------------------------------
// The older block protocol

bool InstrumentTransfer::ReadOldBlock(InstrumentTranslator& t, int expected)
{
    for (int skipped = 0;; ++skipped) {
        const int b = ReadOldByte();
        if (b < 0 || skipped >= MaxSkippedBytes)
            return false;
        if (b == OldStart)
            break;
    }
    m_oldCrc = 0;
    std::array<uint8_t, OldBodySize> bytes{};
    uint16_t crc = 0;
    for (int i = 0; i < OldBodySize; ++i) {
        const int b = ReadOldDecodedByte();
        if (b < 0)
            return false;
        bytes[i] = static_cast<uint8_t>(b);
        if (i == OldCheckedSize - 1)
            crc = m_oldCrc;
    }
    qCDebug(lcSerialLink) << "received older block"
                           << QByteArrayView(bytes.data(), qsizetype(bytes.size())).toByteArray().toHex(' ');
    if (crc != (bytes[OldCheckOffset] << 8 | bytes[OldCheckOffset + 1]))
        return false;
    const int number = bytes[OldNumberOffset] << 8 | bytes[OldNumberOffset + 1];
    if (number == OldSkippedBlock)
        return true;
    if (number != expected)
        return false;
    const qint64 offset = qint64(expected) * OldBlockSize;
    return expected >= 0 && offset + OldBlockSize <= t.GetImageSize()
           && t.CopyToImage(bytes.data() + OldDataOffset, int(offset), OldBlockSize);
}

bool InstrumentTransfer::ReadOldBlockWithRetry(InstrumentTranslator& t, int expected)
{
    if (!WriteByte(OldRequest))
        return false;
    for (int repeats = 0;; ++repeats) {
        if (ReadOldBlock(t, expected))
            return true;
        if (repeats >= Tries || IsLinkGone() || !WriteByte(OldRepeat))
            return false;
        qCDebug(lcSerialLink) << "repeat" << repeats + 1 << "older block" << expected;
    }
}
