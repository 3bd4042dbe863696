#pragma once
// A serial link over memory: reads hand out a prepared byte string (and then
// report silence at once, or that the device is gone), writes are recorded.
// The protocols run over it without a device or a thread.

#include "platform/SerialPort.h"

#include <QByteArray>

#include <functional>

class ScriptedLink final : public SerialLink
{
public:
    explicit ScriptedLink(QByteArray input = {}) : m_input(std::move(input)) {}

    // Called after every write with the bytes written; may append input
    // (an instrument's answer).
    std::function<void(ScriptedLink&, QByteArrayView)> onWrite;

    void Feed(QByteArrayView bytes) { m_input.append(bytes.data(), bytes.size()); }
    const QByteArray& Written() const { return m_written; }
    int Baud() const { return m_baud; }
    int Purges() const { return m_purges; }
    int ReadsPastEnd() const { return m_readsPastEnd; }
    qsizetype Unread() const { return m_input.size() - m_next; }
    void SetOpen(bool open) { m_open = open; }
    // Once the input is spent the device is gone (unplugged) instead of quiet.
    void VanishWhenSpent() { m_vanish = true; }

    bool IsOpen() const override { return m_open; }
    bool SetBaudRate(int baud) override
    {
        m_baud = baud;
        return m_open;
    }
    bool Purge() override
    {
        ++m_purges;
        m_input.clear();
        m_next = 0;
        return m_open;
    }
    bool Write(QByteArrayView bytes) override
    {
        if (!m_open)
            return false;
        m_written.append(bytes.data(), bytes.size());
        if (onWrite)
            onWrite(*this, bytes);
        return true;
    }
    int ReadByte() override
    {
        if (!m_open || m_next >= m_input.size()) {
            ++m_readsPastEnd;
            m_gone = m_vanish;
            return -1;
        }
        return static_cast<unsigned char>(m_input.at(m_next++));
    }
    bool IsGone() const override { return m_gone; }
    void SetReadTimeout(int) override {}

private:
    QByteArray m_input;
    qsizetype m_next = 0;
    QByteArray m_written;
    int m_baud = 0;
    int m_purges = 0;
    int m_readsPastEnd = 0;
    bool m_open = true;
    bool m_vanish = false;
    bool m_gone = false;
};
