#include <gtest/gtest.h>

#include "instruments/Crc.h"

#include <QByteArray>

namespace {

QByteArray WithCheckBytes(QByteArray frame)
{
    uint8_t low = 0;
    uint8_t high = 0;
    Crc16CheckBytes(frame, low, high);
    frame.append(static_cast<char>(low));
    frame.append(static_cast<char>(high));
    return frame;
}

} // namespace

TEST(Crc16Test, MatchesTheX25CheckValueAndResidue)
{
    const QByteArray check("123456789");
    // The published check value is the complemented register.
    EXPECT_EQ(static_cast<uint16_t>(~Crc16(check)), 0x906E);
    EXPECT_EQ(Crc16(QByteArray()), Crc16Initial);

    // A received frame with its check bytes leaves the residue whatever its length.
    for (int length : {1, 2, 5, 37, 261}) {
        QByteArray frame;
        for (int i = 0; i < length; ++i)
            frame.append(static_cast<char>((i * 73 + length) & 0xFF));
        EXPECT_EQ(Crc16(WithCheckBytes(frame)), Crc16Residue) << length;
    }
}

TEST(Crc16Test, EverySingleBitErrorBreaksTheResidue)
{
    const QByteArray frame = WithCheckBytes(QByteArray::fromHex("ab0100ffaa1b00"));
    for (int byte = 0; byte < frame.size(); ++byte)
        for (int bit = 0; bit < 8; ++bit) {
            QByteArray damaged = frame;
            damaged[byte] = static_cast<char>(damaged[byte] ^ (1 << bit));
            EXPECT_NE(Crc16(damaged), Crc16Residue) << byte << ":" << bit;
        }
}

TEST(Crc16Test, CheckBytesAreTheComplementLowByteFirst)
{
    const QByteArray frame = QByteArray::fromHex("aa0600");
    const uint16_t crc = Crc16(frame);
    uint8_t low = 0;
    uint8_t high = 0;
    Crc16CheckBytes(frame, low, high);
    EXPECT_EQ(low, static_cast<uint8_t>(~crc & 0xFF));
    EXPECT_EQ(high, static_cast<uint8_t>((~crc >> 8) & 0xFF));
}

TEST(CrcCcittTest, MostSignificantBitFirstWithoutReflection)
{
    // CRC-16/XMODEM: polynomial 0x1021, start 0, no reflection, no complement.
    EXPECT_EQ(CrcCcitt(QByteArray("123456789")), 0x31C3);
    // The register carries on from any start value, byte by byte.
    uint16_t crc = 0;
    for (char c : QByteArray("1234"))
        crc = CrcCcittUpdate(crc, static_cast<uint8_t>(c));
    EXPECT_EQ(CrcCcitt(QByteArray("56789"), crc), 0x31C3);
    EXPECT_EQ(CrcCcitt(QByteArray()), 0);
    EXPECT_EQ(CrcCcittUpdate(0, 0x01), 0x1021);
}
