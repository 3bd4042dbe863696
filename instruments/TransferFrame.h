#pragma once
// The bytes on the line, in one place: the frames of the numbered-block
// protocol (start byte, 16-bit number low byte first, payload, complemented
// CRC-16 low byte first; every byte after the start escaped) and the blocks
// of the older protocol (start byte, then number, data, check and a trailing
// byte behind their own escape).

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

namespace TransferFrame {

// ---------------------------------------------------------------- numbered blocks

constexpr uint8_t StartIdentify = 0xAA;
constexpr uint8_t StartRead = 0xAB;
constexpr uint8_t StartWrite = 0xAC;
constexpr uint8_t Refusal = 0xAD;
// After the start byte, 0xAA..0xAE and the escape itself travel as the
// escape followed by the byte XOR EscapeFlip.
constexpr uint8_t Escape = 0x1B;
constexpr uint8_t EscapeFlip = 0x20;
constexpr uint8_t FirstEscaped = 0xAA;
constexpr uint8_t LastEscaped = 0xAE;

constexpr int NumberOffset = 1;                   // 16 bits, low byte first
constexpr int HeaderSize = 3;                     // start byte and number
constexpr int CrcSize = 2;                        // the trailer
constexpr int BareFrameSize = HeaderSize + CrcSize; // identity, read request
constexpr int PayloadOffset = HeaderSize;
// A read reply or write request of one block.
constexpr int BlockFrameSize(int blockSize) { return HeaderSize + blockSize + CrcSize; }
// A text identity (ended by a NUL) is never longer.
constexpr int MaxTextIdentity = 32;

// The header of a frame: its start byte and number.
QByteArray Head(uint8_t start, int number);
// The number of a frame of at least HeaderSize bytes.
int Number(QByteArrayView frame);
bool NeedsEscape(uint8_t b);
// The frame as it travels: every byte after the first that could be taken
// for a frame start (or is the escape itself) escaped.
QByteArray EscapeFrame(QByteArrayView frame);
// `body` followed by its complemented CRC-16, low byte first.
QByteArray SealFrame(QByteArrayView body);
// The CRC over a whole frame, trailer included, leaves the fixed residue.
bool IsFrameIntact(QByteArrayView frame);

// ---------------------------------------------------------------- older blocks

constexpr uint8_t OldRequest = 0xA5;
constexpr uint8_t OldRepeat = 0x55;
constexpr uint8_t OldStart = 0x01;
// 0x01 and the escape travel as the escape followed by the byte XOR OldEscapeFlip.
constexpr uint8_t OldEscape = 0x0B;
constexpr uint8_t OldEscapeFlip = 0x80;
constexpr int OldBlockSize = 32;
// Offsets in the bytes after the start, escapes undone.
constexpr int OldNumberOffset = 0;                             // 16 bits, high byte first
constexpr int OldDataOffset = 2;
constexpr int OldCheckOffset = OldDataOffset + OldBlockSize;   // CRC-CCITT, high byte first
constexpr int OldBodySize = OldCheckOffset + 2 + 1;            // a trailing byte ends the block
// The check covers the line bytes of number and data.
constexpr int OldCheckedSize = OldCheckOffset;
// A block the instrument skips (erased memory): nothing to store.
constexpr int OldSkippedBlock = 0xFFFF;

} // namespace TransferFrame
