#include "instruments/TransferFrame.h"

#include "instruments/Crc.h"

namespace TransferFrame {

QByteArray Head(uint8_t start, int number)
{
    QByteArray head(1, static_cast<char>(start));
    head.append(static_cast<char>(number & 0xFF));
    head.append(static_cast<char>((number >> 8) & 0xFF));
    return head;
}

int Number(QByteArrayView frame)
{
    return static_cast<uint8_t>(frame[NumberOffset]) | static_cast<uint8_t>(frame[NumberOffset + 1]) << 8;
}

bool NeedsEscape(uint8_t b)
{
    return (b >= FirstEscaped && b <= LastEscaped) || b == Escape;
}

QByteArray EscapeFrame(QByteArrayView frame)
{
    QByteArray out;
    out.reserve(frame.size() * 2);
    for (qsizetype i = 0; i < frame.size(); ++i) {
        const auto b = static_cast<uint8_t>(frame[i]);
        if (i > 0 && NeedsEscape(b)) {
            out.append(static_cast<char>(Escape));
            out.append(static_cast<char>(b ^ EscapeFlip));
        } else {
            out.append(static_cast<char>(b));
        }
    }
    return out;
}

QByteArray SealFrame(QByteArrayView body)
{
    QByteArray frame(body.data(), body.size());
    uint8_t low = 0;
    uint8_t high = 0;
    Crc16CheckBytes(body, low, high);
    frame.append(static_cast<char>(low));
    frame.append(static_cast<char>(high));
    return frame;
}

bool IsFrameIntact(QByteArrayView frame)
{
    return Crc16(frame) == Crc16Residue;
}

} // namespace TransferFrame
