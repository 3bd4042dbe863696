#include "instruments/Crc.h"

#include <array>

namespace {

constexpr std::array<uint16_t, 256> MakeReflectedTable()
{
    std::array<uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned crc = i;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? (crc >> 1) ^ 0x8408 : crc >> 1;
        table[i] = static_cast<uint16_t>(crc);
    }
    return table;
}

constexpr std::array<uint16_t, 256> ReflectedTable = MakeReflectedTable();

} // namespace

uint16_t Crc16Update(uint16_t crc, uint8_t byte)
{
    return static_cast<uint16_t>((crc >> 8) ^ ReflectedTable[(crc ^ byte) & 0xFF]);
}

uint16_t Crc16(const uint8_t* data, std::size_t length)
{
    uint16_t crc = Crc16Initial;
    for (std::size_t i = 0; i < length; ++i)
        crc = Crc16Update(crc, data[i]);
    return crc;
}

uint16_t Crc16(QByteArrayView data)
{
    return Crc16(reinterpret_cast<const uint8_t*>(data.data()), static_cast<std::size_t>(data.size()));
}

void Crc16CheckBytes(QByteArrayView data, uint8_t& low, uint8_t& high)
{
    const uint16_t check = static_cast<uint16_t>(~Crc16(data));
    low = static_cast<uint8_t>(check & 0xFF);
    high = static_cast<uint8_t>(check >> 8);
}

uint16_t CrcCcittUpdate(uint16_t crc, uint8_t byte)
{
    unsigned value = crc ^ (static_cast<unsigned>(byte) << 8);
    for (int bit = 0; bit < 8; ++bit)
        value = (value & 0x8000) ? (value << 1) ^ 0x1021 : value << 1;
    return static_cast<uint16_t>(value);
}

uint16_t CrcCcitt(const uint8_t* data, std::size_t length, uint16_t initial)
{
    uint16_t crc = initial;
    for (std::size_t i = 0; i < length; ++i)
        crc = CrcCcittUpdate(crc, data[i]);
    return crc;
}

uint16_t CrcCcitt(QByteArrayView data, uint16_t initial)
{
    return CrcCcitt(reinterpret_cast<const uint8_t*>(data.data()), static_cast<std::size_t>(data.size()),
                    initial);
}
