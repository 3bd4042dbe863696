#include "common/InstrumentSimulator.h"

#include "instruments/Crc.h"
#include "instruments/TransferFrame.h"

#include <array>
#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace {

// Bytes that can never start a reply or hide one.
const QByteArray NoiseBytes("\x00\x13\x7F\x42\x99", 5);

void WriteAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno == EAGAIN) {
            pollfd p{fd, POLLOUT, 0};
            ::poll(&p, 1, 50);
        } else if (n < 0 && errno != EINTR) {
            return;
        }
    }
}

} // namespace

InstrumentSimulator::InstrumentSimulator()
    : m_pty(true)
{
    if (!m_pty.IsReady())
        return;
    if (::pipe(m_wake) != 0) {
        m_wake[0] = m_wake[1] = -1;
    }
    m_thread = std::thread([this] { Run(); });
}

InstrumentSimulator::~InstrumentSimulator()
{
    if (m_thread.joinable()) {
        const char stop = 'q';
        [[maybe_unused]] auto n = ::write(m_wake[1], &stop, 1);
        m_thread.join();
    }
    for (int fd : m_wake) {
        if (fd >= 0)
            ::close(fd);
    }
}

void InstrumentSimulator::SetModel(int modelCode, int baud)
{
    std::lock_guard lock(m_mutex);
    m_modelCode = modelCode;
    m_textModel.clear();
    m_baud = baud;
}

void InstrumentSimulator::SetTextModel(const QByteArray& text, int baud)
{
    std::lock_guard lock(m_mutex);
    m_modelCode = -1;
    m_textModel = text;
    m_baud = baud;
}

void InstrumentSimulator::SetImage(const QByteArray& image, int blockSize)
{
    std::lock_guard lock(m_mutex);
    m_image = image;
    m_blockSize = blockSize;
}

QByteArray InstrumentSimulator::Image() const
{
    std::lock_guard lock(m_mutex);
    return m_image;
}

void InstrumentSimulator::SetOldSkipsErased(bool skip)
{
    std::lock_guard lock(m_mutex);
    m_oldSkipsErased = skip;
}

void InstrumentSimulator::InjectFault(Fault fault, int count, Scope scope)
{
    std::lock_guard lock(m_mutex);
    m_faults.push_back({fault, count, scope});
}

void InstrumentSimulator::FailBlock(int block, Fault fault, int count)
{
    std::lock_guard lock(m_mutex);
    m_blockFaults[block] = {fault, count};
}

void InstrumentSimulator::SetWrongBlockNumber(int block)
{
    std::lock_guard lock(m_mutex);
    m_wrongBlock = block;
}

void InstrumentSimulator::SetSilent(bool silent)
{
    std::lock_guard lock(m_mutex);
    m_silent = silent;
}

void InstrumentSimulator::SendWhenAt(int baud, const QByteArray& bytes)
{
    {
        std::lock_guard lock(m_mutex);
        m_dump = bytes;
        m_dumpBaud = baud;
        m_dumpSent = false;
    }
    const char wake = 'w';
    [[maybe_unused]] auto n = ::write(m_wake[1], &wake, 1);
}

bool InstrumentSimulator::DumpSent() const
{
    std::lock_guard lock(m_mutex);
    return m_dumpSent;
}

void InstrumentSimulator::SetRequestHook(std::function<void(const Request&)> hook)
{
    std::lock_guard lock(m_mutex);
    m_hook = std::move(hook);
}

std::vector<InstrumentSimulator::Request> InstrumentSimulator::Requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

int InstrumentSimulator::CountRequests(uint8_t kind) const
{
    std::lock_guard lock(m_mutex);
    int n = 0;
    for (const Request& r : m_requests)
        n += r.kind == kind;
    return n;
}

void InstrumentSimulator::ClearRequests()
{
    std::lock_guard lock(m_mutex);
    m_requests.clear();
}

void InstrumentSimulator::Run()
{
    std::array<char, 4096> buffer{};
    for (;;) {
        bool dumpWaiting;
        {
            std::lock_guard lock(m_mutex);
            dumpWaiting = !m_dump.isEmpty() && !m_dumpSent;
        }
        if (dumpWaiting) {
            QByteArray dump;
            {
                std::lock_guard lock(m_mutex);
                if (m_pty.LineBaud() == m_dumpBaud) {
                    dump = m_dump;
                    m_dumpSent = true;
                }
            }
            if (!dump.isEmpty())
                WriteAll(m_pty.Master(), dump);
        }
        pollfd fds[2] = {{m_pty.Master(), POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        // While a dump waits for the program to set the line speed, look
        // again every few milliseconds; otherwise sleep until input.
        const int r = ::poll(fds, 2, dumpWaiting ? 2 : -1);
        if (r < 0 && errno != EINTR)
            return;
        if (fds[1].revents & POLLIN) {
            char c = 0;
            if (::read(m_wake[0], &c, 1) == 1 && c == 'q')
                return;
        }
        if (fds[0].revents & POLLIN) {
            const ssize_t n = ::read(m_pty.Master(), buffer.data(), buffer.size());
            for (ssize_t i = 0; i < n; ++i)
                Consume(static_cast<uint8_t>(buffer[size_t(i)]));
        }
    }
}

void InstrumentSimulator::Consume(uint8_t b)
{
    namespace T = TransferFrame;
    if (b == T::StartIdentify || b == T::StartRead || b == T::StartWrite) {
        // Only a frame start travels unescaped as one of these values.
        m_frame = QByteArray(1, static_cast<char>(b));
        m_escaped = false;
        if (b == T::StartIdentify) {
            Request request{b, -1, m_pty.LineBaud(), true};
            m_frame.clear();
            Handle(request, {});
        }
        return;
    }
    if (m_frame.isEmpty()) {
        if (b == T::OldRequest || b == T::OldRepeat)
            Handle(Request{b, -1, m_pty.LineBaud(), true}, {});
        return;
    }
    if (b == T::Escape && !m_escaped) {
        m_escaped = true;
        return;
    }
    m_frame.append(static_cast<char>(m_escaped ? b ^ 0x20 : b));
    m_escaped = false;

    int blockSize;
    {
        std::lock_guard lock(m_mutex);
        blockSize = m_blockSize;
    }
    const auto kind = static_cast<uint8_t>(m_frame[0]);
    const qsizetype full = kind == T::StartRead ? 5 : blockSize + 5;
    if (m_frame.size() < full)
        return;
    Request request{kind,
                    static_cast<uint8_t>(m_frame[1]) | static_cast<uint8_t>(m_frame[2]) << 8,
                    m_pty.LineBaud(), T::IsFrameIntact(m_frame)};
    const QByteArray payload = m_frame.mid(3, full - 5);
    m_frame.clear();
    Handle(request, payload);
}

void InstrumentSimulator::Handle(const Request& request, const QByteArray& payload)
{
    std::function<void(const Request&)> hook;
    {
        std::lock_guard lock(m_mutex);
        m_requests.push_back(request);
        hook = m_hook;
    }
    if (hook)
        hook(request);
    int baud;
    bool silent;
    {
        std::lock_guard lock(m_mutex);
        baud = m_baud;
        silent = m_silent;
    }
    if (silent || request.baud != baud)
        return;

    namespace T = TransferFrame;
    switch (request.kind) {
    case T::StartIdentify: {
        Fault fault;
        QByteArray reply;
        bool binary;
        {
            std::lock_guard lock(m_mutex);
            if (m_modelCode >= 0) {
                reply.append(static_cast<char>(T::StartIdentify));
                reply.append(static_cast<char>(m_modelCode & 0xFF));
                reply.append(static_cast<char>(m_modelCode >> 8));
                reply = T::EscapeFrame(T::SealFrame(reply));
            } else {
                reply = m_textModel + QByteArray(1, '\0');
            }
            binary = m_modelCode >= 0;
            m_oldNext = 0;
        }
        if (TakeFault(Scope::Identify, -1, fault)) {
            if (fault == Fault::NoReply)
                return;
            if (fault == Fault::CorruptCrc && binary)
                reply[reply.size() - 1] = static_cast<char>(reply.back() ^ 0x01);
            if (fault == Fault::Noise)
                reply.prepend(NoiseBytes);
        }
        Reply(reply);
        break;
    }
    case T::StartRead:
        ServeRead(request);
        break;
    case T::StartWrite:
        ServeWrite(request, payload);
        break;
    default:
        ServeOld(request);
        break;
    }
}

void InstrumentSimulator::Reply(QByteArray bytes)
{
    WriteAll(m_pty.Master(), bytes);
}

bool InstrumentSimulator::TakeFault(Scope scope, int block, Fault& fault)
{
    std::lock_guard lock(m_mutex);
    if (block >= 0) {
        auto it = m_blockFaults.find(block);
        if (it != m_blockFaults.end() && it->second.second > 0) {
            fault = it->second.first;
            --it->second.second;
            return true;
        }
    }
    for (auto it = m_faults.begin(); it != m_faults.end(); ++it) {
        if (it->scope != Scope::Any && it->scope != scope)
            continue;
        if (scope == Scope::Identify && it->scope == Scope::Any)
            continue; // "any" means any block exchange
        fault = it->fault;
        if (--it->count <= 0)
            m_faults.erase(it);
        return true;
    }
    return false;
}

void InstrumentSimulator::ServeRead(const Request& request)
{
    namespace T = TransferFrame;
    if (!request.intact)
        return;
    QByteArray body(1, static_cast<char>(T::StartRead));
    int number = request.block;
    Fault fault;
    const bool faulty = TakeFault(Scope::Read, request.block, fault);
    {
        std::lock_guard lock(m_mutex);
        const qint64 offset = qint64(request.block) * m_blockSize;
        if (offset + m_blockSize > m_image.size()) {
            body.clear();
        } else {
            if (faulty && fault == Fault::WrongBlock)
                number = m_wrongBlock >= 0 ? m_wrongBlock : request.block + 1;
            body.append(static_cast<char>(number & 0xFF));
            body.append(static_cast<char>((number >> 8) & 0xFF));
            body.append(m_image.mid(offset, m_blockSize));
        }
    }
    if (body.isEmpty() || (faulty && fault == Fault::Refuse)) {
        Reply(QByteArray(1, static_cast<char>(T::Refusal)));
        return;
    }
    if (faulty && fault == Fault::NoReply)
        return;
    QByteArray frame = T::SealFrame(body);
    if (faulty && fault == Fault::CorruptCrc)
        frame[frame.size() - 2] = static_cast<char>(frame[frame.size() - 2] ^ 0x04);
    QByteArray line = T::EscapeFrame(frame);
    if (faulty && fault == Fault::Noise)
        line.prepend(NoiseBytes);
    Reply(line);
}

void InstrumentSimulator::ServeWrite(const Request& request, const QByteArray& payload)
{
    namespace T = TransferFrame;
    if (!request.intact)
        return;
    Fault fault;
    const bool faulty = TakeFault(Scope::Write, request.block, fault);
    if (faulty && fault == Fault::NoReply)
        return;
    if (faulty && fault == Fault::Refuse) {
        Reply(QByteArray(1, static_cast<char>(T::Refusal)));
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        const qint64 offset = qint64(request.block) * m_blockSize;
        if (offset + payload.size() > m_image.size()) {
            Reply(QByteArray(1, static_cast<char>(T::Refusal)));
            return;
        }
        m_image.replace(offset, payload.size(), payload);
    }
    QByteArray ack(1, static_cast<char>(T::StartWrite));
    if (faulty && fault == Fault::Noise)
        ack.prepend(NoiseBytes);
    Reply(ack);
}

QByteArray OldBlockLine(int number, QByteArrayView data, bool corrupt)
{
    auto escaped = [](uint8_t b) {
        return b == 0x01 || b == 0x0B ? QByteArray{"\x0B"} + char(b ^ 0x80) : QByteArray(1, char(b));
    };
    QByteArray line;
    line += escaped(uint8_t(number >> 8));
    line += escaped(uint8_t(number & 0xFF));
    for (char c : data)
        line += escaped(static_cast<uint8_t>(c));
    uint16_t crc = CrcCcitt(line);
    if (corrupt)
        crc ^= 1;
    line += escaped(uint8_t(crc >> 8));
    line += escaped(uint8_t(crc & 0xFF));
    line += escaped(0x5A);
    return QByteArray(1, '\x01') + line;
}

QByteArray InstrumentSimulator::OldBlock(int number, bool corrupt)
{
    namespace T = TransferFrame;
    QByteArray data;
    {
        std::lock_guard lock(m_mutex);
        const int block = number == 0xFFFF ? m_oldLast : number;
        data = m_image.mid(qint64(block) * T::OldBlockSize, T::OldBlockSize);
    }
    data.resize(T::OldBlockSize, char(0xFF));
    return OldBlockLine(number, data, corrupt);
}

void InstrumentSimulator::ServeOld(const Request& request)
{
    namespace T = TransferFrame;
    int block;
    bool erased = false;
    {
        std::lock_guard lock(m_mutex);
        if (request.kind == T::OldRequest)
            m_oldLast = m_oldNext++;
        block = m_oldLast;
        const QByteArray data = m_image.mid(qint64(block) * T::OldBlockSize, T::OldBlockSize);
        erased = m_oldSkipsErased && data.count(char(0xFF)) == data.size();
    }
    Fault fault;
    const bool faulty = TakeFault(Scope::Old, block, fault);
    if (faulty && (fault == Fault::NoReply || fault == Fault::Refuse))
        return;
    int number = erased ? 0xFFFF : block;
    if (faulty && fault == Fault::WrongBlock) {
        std::lock_guard lock(m_mutex);
        number = m_wrongBlock >= 0 ? m_wrongBlock : block + 1;
    }
    QByteArray line = OldBlock(number, faulty && fault == Fault::CorruptCrc);
    if (faulty && fault == Fault::Noise)
        line.prepend(NoiseBytes);
    Reply(line);
}
