#pragma once
// A simulated instrument at the far end of a pseudo terminal. It serves a
// memory image through identification, numbered block reads and writes, the
// older block protocol and the oldest model's unasked dump, and can be told
// to misbehave. It runs in a thread of its own; point a port name at
// DevicePath() (SetSerialPortMap) and talk to it like to a real instrument.
//
// Like a real instrument it only understands the line at its own speed: a
// request that arrives at any other baud rate goes unanswered.

#include "common/PseudoTerminal.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// An older-protocol block as it travels: 0x01, then number, data, check and a
// trailing byte, where 0x01 and 0x0B are escaped and the check covers the
// escaped line bytes of number and data. `corrupt` flips a bit of the check.
QByteArray OldBlockLine(int number, QByteArrayView data, bool corrupt = false);

class InstrumentSimulator
{
public:
    enum class Fault {
        CorruptCrc,  // one bit of the check flipped
        Refuse,      // 0xAD instead of the reply or acknowledgement
        NoReply,     // the request goes unanswered
        WrongBlock,  // a reply for another block (WrongBlockNumber)
        Noise,       // stray bytes before the reply
    };
    // Which requests a fault applies to.
    enum class Scope { Any, Identify, Read, Write, Old };

    struct Request
    {
        uint8_t kind = 0; // 0xAA identify, 0xAB read, 0xAC write, 0xA5 / 0x55 older protocol
        int block = -1;   // read and write requests
        int baud = 0;     // line speed when the request arrived
        bool intact = true; // frame check of read and write requests
    };

    InstrumentSimulator();
    ~InstrumentSimulator();
    InstrumentSimulator(const InstrumentSimulator&) = delete;
    InstrumentSimulator& operator=(const InstrumentSimulator&) = delete;

    // False when no pseudo terminal could be had (the tests then skip).
    bool IsReady() const { return m_pty.IsReady(); }
    QString DevicePath() const { return m_pty.SlavePath(); }

    // Answers identification with a binary identity (model code) or a text
    // identity, at `baud`; every other request is also served only at that rate.
    void SetModel(int modelCode, int baud);
    void SetTextModel(const QByteArray& text, int baud);
    void SetImage(const QByteArray& image, int blockSize);
    QByteArray Image() const;
    // The older protocol answers with block number 0xFFFF for blocks that are
    // all 0xFF.
    void SetOldSkipsErased(bool skip);

    // The next `count` replies within `scope` misbehave as `fault`.
    void InjectFault(Fault fault, int count = 1, Scope scope = Scope::Any);
    // Every reply about `block` misbehaves, `count` times.
    void FailBlock(int block, Fault fault, int count);
    void SetWrongBlockNumber(int block);
    // A silent instrument answers nothing at all.
    void SetSilent(bool silent);

    // Sends `bytes` unasked, once the line runs at `baud` (the oldest model's dump).
    void SendWhenAt(int baud, const QByteArray& bytes);
    bool DumpSent() const;

    // Runs on the simulator's thread for every request before it is answered.
    void SetRequestHook(std::function<void(const Request&)> hook);
    std::vector<Request> Requests() const;
    int CountRequests(uint8_t kind) const;
    void ClearRequests();

private:
    void Run();
    void Handle(const Request& request, const QByteArray& payload);
    void Reply(QByteArray bytes);
    bool TakeFault(Scope scope, int block, Fault& fault);
    void ServeRead(const Request& request);
    void ServeWrite(const Request& request, const QByteArray& payload);
    void ServeOld(const Request& request);
    QByteArray OldBlock(int number, bool corrupt);
    void Consume(uint8_t b);

    PseudoTerminal m_pty;
    int m_wake[2] = {-1, -1};
    std::thread m_thread;

    mutable std::mutex m_mutex;
    int m_modelCode = -1;
    QByteArray m_textModel;
    int m_baud = 19200;
    QByteArray m_image;
    int m_blockSize = 32;
    bool m_oldSkipsErased = false;
    bool m_silent = false;
    int m_wrongBlock = -1;
    struct Pending { Fault fault; int count; Scope scope; };
    std::deque<Pending> m_faults;
    std::map<int, std::pair<Fault, int>> m_blockFaults;
    std::function<void(const Request&)> m_hook;
    std::vector<Request> m_requests;
    QByteArray m_dump;
    int m_dumpBaud = 0;
    bool m_dumpSent = false;
    int m_oldNext = 0;
    int m_oldLast = 0;

    // Frame being received (thread only).
    QByteArray m_frame;
    bool m_escaped = false;
};
