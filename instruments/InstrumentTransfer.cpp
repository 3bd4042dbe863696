#include "instruments/InstrumentTransfer.h"

#include "instruments/Crc.h"
#include "instruments/InstrumentTranslator.h"
#include "platform/SerialPort.h"

#include <array>

namespace {

// The most bytes a reader skips while it looks for the start of a reply; a
// line that keeps talking without ever starting one fails the try instead of
// holding the transfer forever.
constexpr int MaxSkippedBytes = 4096;
constexpr int MaxTextIdentity = 32;

bool NeedsEscape(uint8_t b)
{
    return (b >= 0xAA && b <= 0xAE) || b == InstrumentTransfer::Escape;
}

struct TextIdentity
{
    const char* text;
    int code;
};
constexpr std::array<TextIdentity, 2> TextIdentities{{{"kx340 0", 1}, {"kx320", 2}}};

// Every numbered frame opens with its start byte and a 16-bit number, low
// byte first: the model code of an identity, the block of a read or write.
QByteArray FrameHead(uint8_t start, int number)
{
    QByteArray head(1, static_cast<char>(start));
    head.append(static_cast<char>(number & 0xFF));
    head.append(static_cast<char>((number >> 8) & 0xFF));
    return head;
}

int FrameNumber(QByteArrayView frame)
{
    return static_cast<uint8_t>(frame[1]) | static_cast<uint8_t>(frame[2]) << 8;
}

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

QByteArray InstrumentTransfer::EscapeFrame(QByteArrayView frame)
{
    QByteArray out;
    out.reserve(frame.size() * 2);
    for (qsizetype i = 0; i < frame.size(); ++i) {
        const auto b = static_cast<uint8_t>(frame[i]);
        if (i > 0 && NeedsEscape(b)) {
            out.append(static_cast<char>(Escape));
            out.append(static_cast<char>(b ^ 0x20));
        } else {
            out.append(static_cast<char>(b));
        }
    }
    return out;
}

QByteArray InstrumentTransfer::SealFrame(QByteArrayView body)
{
    QByteArray frame(body.data(), body.size());
    uint8_t low = 0;
    uint8_t high = 0;
    Crc16CheckBytes(body, low, high);
    frame.append(static_cast<char>(low));
    frame.append(static_cast<char>(high));
    return frame;
}

bool InstrumentTransfer::IsFrameIntact(QByteArrayView frame)
{
    return Crc16(frame) == Crc16Residue;
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
    return next < 0 ? -1 : next ^ 0x20;
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
    return next < 0 ? -1 : next ^ 0x80;
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
        for (int i = 0; i < 4; ++i) {
            const int b = ReadByte();
            if (b < 0)
                return -1;
            frame.append(static_cast<char>(b));
        }
        qCDebug(lcSerialLink) << "received identity" << frame.toHex(' ');
        return IsFrameIntact(frame) ? FrameNumber(frame) : -1;
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
    if (!WriteFrame(SealFrame(FrameHead(StartRead, block))))
        return false;

    for (int skipped = 0;; ++skipped) {
        const int b = ReadRawByte();
        if (b < 0 || b == Refusal || skipped >= MaxSkippedBytes)
            return false;
        if (b == StartRead)
            break;
    }
    QByteArray reply(1, static_cast<char>(StartRead));
    reply.reserve(size + 5);
    for (int i = 0; i < size + 4; ++i) {
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
    const int replied = FrameNumber(reply);
    if (replied != (block & 0xFFFF))
        return false;
    const qint64 offset = qint64(replied) * size;
    return offset + size <= t.GetImageSize()
           && t.CopyToImage(reinterpret_cast<const uint8_t*>(reply.constData() + 3), int(offset),
                            size);
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
    QByteArray request = FrameHead(StartWrite, block);
    request.resize(3 + size, '\0');
    if (!t.CopyFromImage(reinterpret_cast<uint8_t*>(request.data() + 3), int(offset), size))
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
    std::array<uint8_t, 37> bytes{};
    uint16_t crc = 0;
    for (int i = 0; i < int(bytes.size()); ++i) {
        const int b = ReadOldDecodedByte();
        if (b < 0)
            return false;
        bytes[i] = static_cast<uint8_t>(b);
        if (i == 33)
            crc = m_oldCrc;
    }
    qCDebug(lcSerialLink) << "received older block"
                           << QByteArrayView(bytes.data(), qsizetype(bytes.size())).toByteArray().toHex(' ');
    if (crc != (bytes[34] << 8 | bytes[35]))
        return false;
    const int number = bytes[0] << 8 | bytes[1];
    if (number == 0xFFFF)
        return true;
    if (number != expected)
        return false;
    const qint64 offset = qint64(expected) * OldBlockSize;
    return expected >= 0 && offset + OldBlockSize <= t.GetImageSize()
           && t.CopyToImage(bytes.data() + 2, int(offset), OldBlockSize);
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
