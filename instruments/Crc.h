#pragma once
// The two 16-bit checksums the instruments speak.
//
// Crc16 is the HDLC frame check sequence (CRC-16/X-25 register: reflected
// polynomial 0x8408, start 0xFFFF) returned WITHOUT the final complement.
// A sender appends ~Crc16(frame) low byte first; a receiver runs Crc16 over
// the whole frame including those two bytes and accepts it when the result is
// Crc16Residue. The setup areas of the instruments store the same complement.
//
// CrcCcitt is the older block protocol's check: polynomial 0x1021, most
// significant bit first, fed with the bytes exactly as they arrive.

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

constexpr uint16_t Crc16Initial = 0xFFFF;
constexpr uint16_t Crc16Residue = 0xF0B8;

// One byte into the running Crc16 register.
uint16_t Crc16Update(uint16_t crc, uint8_t byte);
// The register after `length` bytes, starting from Crc16Initial.
uint16_t Crc16(const uint8_t* data, std::size_t length);
uint16_t Crc16(QByteArrayView data);
// The two check bytes a sender appends (complement, low byte first).
void Crc16CheckBytes(QByteArrayView data, uint8_t& low, uint8_t& high);

// One byte into the running CRC-CCITT register (only the low 16 bits count).
uint16_t CrcCcittUpdate(uint16_t crc, uint8_t byte);
uint16_t CrcCcitt(const uint8_t* data, std::size_t length, uint16_t initial = 0);
uint16_t CrcCcitt(QByteArrayView data, uint16_t initial = 0);
