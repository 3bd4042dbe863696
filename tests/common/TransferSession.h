#pragma once
// A conversation with an instrument as the program saw it: the answer that
// followed each request it wrote. Recorded from the simulated instrument, it
// replays over a scripted link without a pseudo terminal, and as bytes it
// seeds the fuzz targets that play the instrument's side of whole operations.
//
// As bytes, each answer is a 16-bit little-endian length and that many bytes;
// a length cut short by the end takes what is there.

#include "RecordBytes.h"
#include "ScriptedLink.h"
#include "instruments/InstrumentSetup.h"

#include <QByteArray>
#include <QList>

#include <algorithm>
#include <cstring>
#include <memory>

inline QByteArray EncodeSession(const QList<QByteArray>& answers)
{
    QByteArray bytes;
    for (const QByteArray& answer : answers) {
        const qsizetype length = std::min<qsizetype>(answer.size(), 0xFFFF);
        bytes.append(static_cast<char>(length & 0xFF));
        bytes.append(static_cast<char>(length >> 8));
        bytes.append(answer.left(length));
    }
    return bytes;
}

inline QList<QByteArray> DecodeSession(QByteArrayView bytes)
{
    QList<QByteArray> answers;
    qsizetype at = 0;
    while (at + 2 <= bytes.size()) {
        const qsizetype length = static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8;
        at += 2;
        const qsizetype take = std::min(length, bytes.size() - at);
        answers.append(bytes.sliced(at, take).toByteArray());
        at += take;
    }
    return answers;
}

// The instrument of a recorded session: after each write the next answer
// arrives; once they are spent the line stays quiet. Counts the writes.
class SessionPlayer
{
public:
    explicit SessionPlayer(QList<QByteArray> answers) : m_answers(std::move(answers)) {}
    void Attach(ScriptedLink& link)
    {
        link.onWrite = [this](ScriptedLink& l, QByteArrayView) {
            if (m_writes++ < m_answers.size())
                l.Feed(m_answers.at(m_writes - 1));
        };
    }
    int Writes() const { return m_writes; }

private:
    QList<QByteArray> m_answers;
    int m_writes = 0;
};

// Records a session on the way: passes everything to `inner` and gathers the
// bytes read after each write as that write's answer.
class RecordingLink final : public SerialLink
{
public:
    explicit RecordingLink(std::unique_ptr<SerialLink> inner, QList<QByteArray>& answers)
        : m_inner(std::move(inner)), m_answers(answers)
    {
    }
    bool IsOpen() const override { return m_inner->IsOpen(); }
    bool SetBaudRate(int baud) override { return m_inner->SetBaudRate(baud); }
    bool Purge() override { return m_inner->Purge(); }
    bool Write(QByteArrayView bytes) override
    {
        m_answers.append(QByteArray());
        m_written.append(bytes.data(), bytes.size());
        return m_inner->Write(bytes);
    }
    int ReadByte() override
    {
        const int b = m_inner->ReadByte();
        if (b >= 0 && !m_answers.isEmpty())
            m_answers.last().append(static_cast<char>(b));
        return b;
    }
    bool IsGone() const override { return m_inner->IsGone(); }
    void SetReadTimeout(int milliseconds) override { m_inner->SetReadTimeout(milliseconds); }
    const QByteArray& Written() const { return m_written; }

private:
    std::unique_ptr<SerialLink> m_inner;
    QByteArray m_written;
    QList<QByteArray>& m_answers;
};

// A settings description as bytes (groups, items, values, choices), to tell
// whether an operation changed it.
inline QByteArray SetupBytes(const InstrumentSetup& setup)
{
    QByteArray bytes;
    for (int b = 0; b < setup.GetCount(); ++b) {
        const InstrumentSetupBank& bank = *setup.GetBank(b);
        bytes += Le32(bank.GetId()) + Le32(bank.GetCount());
        for (int i = 0; i < bank.GetCount(); ++i) {
            const InstrumentSetupItem& item = *bank.GetItem(i);
            bytes += Le32(item.GetKind()) + Le32(item.GetId());
            if (item.GetKind() == InstrumentSetupAbstract::KindNumber) {
                const float value = static_cast<const InstrumentSetupItemNumber&>(item).GetValue();
                int32_t bits = 0;
                std::memcpy(&bits, &value, sizeof bits);
                bytes += Le32(bits);
            } else {
                bytes += Le32(static_cast<const InstrumentSetupItemChoice&>(item).GetSelected());
            }
        }
    }
    return bytes;
}
