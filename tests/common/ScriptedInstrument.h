#pragma once
// An instrument played in memory over a scripted link: it identifies as a
// model and serves numbered block reads and writes of an image, answering
// each request as it is written. For operations tested without a thread or
// a pseudo terminal.

#include "common/ScriptedLink.h"
#include "instruments/TransferFrame.h"

#include <QByteArray>

#include <memory>

class ScriptedInstrument
{
public:
    ScriptedInstrument(int modelCode, QByteArray image, int blockSize)
        : m_code(modelCode), m_image(std::move(image)), m_blockSize(blockSize)
    {
    }

    // Makes `link` talk to this instrument (which must outlive it).
    void Attach(ScriptedLink& link)
    {
        link.onWrite = [this](ScriptedLink& l, QByteArrayView bytes) { Answer(l, bytes); };
    }
    const QByteArray& Image() const { return m_image; }
    int Reads() const { return m_reads; }
    int Writes() const { return m_writes; }

private:

    static QByteArray Unescaped(QByteArrayView line)
    {
        QByteArray frame;
        for (qsizetype i = 0; i < line.size(); ++i) {
            const auto b = static_cast<uint8_t>(line[i]);
            if (i > 0 && b == TransferFrame::Escape && i + 1 < line.size())
                frame.append(static_cast<char>(static_cast<uint8_t>(line[++i]) ^ TransferFrame::EscapeFlip));
            else
                frame.append(static_cast<char>(b));
        }
        return frame;
    }

    void Answer(ScriptedLink& link, QByteArrayView bytes)
    {
        const QByteArray frame = Unescaped(bytes);
        if (frame.isEmpty())
            return;
        const auto kind = static_cast<uint8_t>(frame[0]);
        if (kind == TransferFrame::StartIdentify) {
            const char body[] = {char(TransferFrame::StartIdentify), char(m_code & 0xFF), char(m_code >> 8)};
            link.Feed(TransferFrame::EscapeFrame(TransferFrame::SealFrame(QByteArrayView(body, 3))));
            return;
        }
        if (frame.size() < 5 || !TransferFrame::IsFrameIntact(frame))
            return;
        const int block = static_cast<uint8_t>(frame[1]) | static_cast<uint8_t>(frame[2]) << 8;
        const qsizetype offset = qsizetype(block) * m_blockSize;
        if (offset + m_blockSize > m_image.size()) {
            link.Feed(QByteArray(1, char(TransferFrame::Refusal)));
            return;
        }
        if (kind == TransferFrame::StartRead) {
            ++m_reads;
            QByteArray reply = frame.left(3);
            reply.append(m_image.mid(offset, m_blockSize));
            link.Feed(TransferFrame::EscapeFrame(TransferFrame::SealFrame(reply)));
        } else if (kind == TransferFrame::StartWrite && frame.size() == m_blockSize + 5) {
            ++m_writes;
            m_image.replace(offset, m_blockSize, frame.mid(3, m_blockSize));
            link.Feed(QByteArray(1, char(TransferFrame::StartWrite)));
        }
    }

    int m_code;
    QByteArray m_image;
    int m_blockSize;
    int m_reads = 0;
    int m_writes = 0;
};
