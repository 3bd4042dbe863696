#include "platform/SerialPort.h"

#include <QDeadlineTimer>
#include <QMutex>
#include <QMutexLocker>
#include <QSerialPort>
#include <QSerialPortInfo>

#include <algorithm>
#include <atomic>

Q_LOGGING_CATEGORY(lcSerialLink, "quillfen.serial", QtWarningMsg)

namespace {

constexpr int PortCount = 20;
// Writes may take this long per byte plus once more, as the instruments'
// original link allowed.
constexpr int WriteTimeoutPerByte = 200;
constexpr int WriteTimeoutConstant = 200;

QMutex& MapMutex()
{
    static QMutex mutex;
    return mutex;
}

QHash<QString, QString>& TestMap()
{
    static QHash<QString, QString> map;
    return map;
}

std::atomic<int> TimeoutCap{0};

// "ttyS10" after "ttyS9": the digits at the end compare as a number.
bool DevicePathLess(const QString& a, const QString& b)
{
    auto split = [](const QString& s) {
        qsizetype i = s.size();
        while (i > 0 && s.at(i - 1).isDigit())
            --i;
        return std::pair<QString, qlonglong>(s.left(i), i < s.size() ? s.mid(i).toLongLong() : -1);
    };
    return split(a) < split(b);
}

QString MachineDevice(int index)
{
    QStringList paths;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : ports)
        paths.append(info.systemLocation());
    std::sort(paths.begin(), paths.end(), DevicePathLess);
    return index < paths.size() ? paths.at(index) : QString();
}

QString FromEnvironmentMap(const QString& portName)
{
    const QString map = qEnvironmentVariable("QUILLFEN_PORTS");
    const QStringList entries = map.split(u';', Qt::SkipEmptyParts);
    for (const QString& entry : entries) {
        const qsizetype eq = entry.indexOf(u'=');
        if (eq > 0 && entry.left(eq).trimmed().compare(portName, Qt::CaseInsensitive) == 0)
            return entry.mid(eq + 1).trimmed();
    }
    return {};
}

} // namespace

QStringList SerialPortNames()
{
    QStringList names;
    for (int i = 1; i <= PortCount; ++i)
        names.append(QStringLiteral("COM%1").arg(i));
    return names;
}

void SetSerialPortMap(const QHash<QString, QString>& map)
{
    QMutexLocker lock(&MapMutex());
    TestMap() = map;
}

QString SerialDevicePath(const QString& portName)
{
    const QString upper = portName.toUpper();
    {
        QMutexLocker lock(&MapMutex());
        if (!TestMap().isEmpty())
            return TestMap().value(upper);
    }
#ifdef Q_OS_WIN
    return portName;
#else
    const QString single = qEnvironmentVariable(("QUILLFEN_PORT_" + upper).toLatin1().constData());
    if (!single.isEmpty())
        return single;
    const QString mapped = FromEnvironmentMap(upper);
    if (!mapped.isEmpty())
        return mapped;
    const int index = SerialPortNames().indexOf(upper);
    return index < 0 ? QString() : MachineDevice(index);
#endif
}

bool ProbeSerialPort(const QString& portName)
{
    const QString device = SerialDevicePath(portName);
    if (device.isEmpty())
        return false;
    QSerialPort port;
    port.setPortName(device);
    if (!port.open(QIODevice::ReadWrite))
        return false;
    port.close();
    return true;
}

void SetSerialTimeoutCap(int milliseconds)
{
    TimeoutCap = std::max(0, milliseconds);
}

SerialPort::SerialPort()
{
    SetReadTimeout(m_readTimeout);
}

SerialPort::~SerialPort()
{
    Close();
}

bool SerialPort::Open(const QString& portName, int baud)
{
    Close();
    const QString device = SerialDevicePath(portName);
    if (device.isEmpty())
        return false;
    auto port = std::make_unique<QSerialPort>();
    port->setPortName(device);
    port->setBaudRate(baud);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
    port->setFlowControl(QSerialPort::NoFlowControl);
    if (!port->open(QIODevice::ReadWrite))
        return false;
    // Pseudo terminals and some adapters have no modem lines; the
    // instruments do not need them, so a refusal is not an error.
    port->setDataTerminalReady(true);
    port->setRequestToSend(false);
    port->clearError();
    m_port = std::move(port);
    m_gone = false;
    return true;
}

void SerialPort::Close()
{
    if (m_port)
        m_port->close();
    m_port.reset();
    m_pending.clear();
    m_next = 0;
}

bool SerialPort::IsOpen() const
{
    return m_port && m_port->isOpen();
}

bool SerialPort::SetBaudRate(int baud)
{
    if (!IsOpen())
        return false;
    const bool ok = m_port->setBaudRate(baud);
    m_port->clearError();
    return ok;
}

bool SerialPort::Purge()
{
    if (!IsOpen())
        return false;
    m_pending.clear();
    m_next = 0;
    const bool ok = m_port->clear(QSerialPort::AllDirections);
    m_port->clearError();
    return ok;
}

bool SerialPort::Write(QByteArrayView bytes)
{
    if (!IsOpen())
        return false;
    if (m_gone)
        return false;
    if (m_port->write(bytes.data(), bytes.size()) != bytes.size()) {
        TakeHardError();
        return false;
    }
    QDeadlineTimer deadline(WriteTimeoutConstant + WriteTimeoutPerByte * bytes.size());
    while (m_port->bytesToWrite() > 0) {
        if (deadline.hasExpired() || !m_port->waitForBytesWritten(int(deadline.remainingTime()))) {
            if (TakeHardError())
                return false;
            return m_port->bytesToWrite() == 0;
        }
    }
    return true;
}

bool SerialPort::TakeHardError()
{
    const QSerialPort::SerialPortError error = m_port->error();
    const QString text = m_port->errorString();
    m_port->clearError();
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError)
        return false;
    if (!m_gone)
        qCInfo(lcSerialLink) << "device gone:" << m_port->portName() << text;
    m_gone = true;
    return true;
}

bool SerialPort::WaitForInput(int milliseconds)
{
    QDeadlineTimer deadline(milliseconds);
    while (m_port->bytesAvailable() == 0) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0)
            return false;
        // A device that went away fails at once; it is remembered so that
        // the protocols stop instead of asking again and again.
        if (!m_port->waitForReadyRead(int(left)) && TakeHardError())
            return false;
    }
    return true;
}

int SerialPort::ReadByte()
{
    if (m_next < m_pending.size())
        return static_cast<unsigned char>(m_pending.at(m_next++));
    if (!IsOpen() || m_gone)
        return -1;
    if (!WaitForInput(m_readTimeout)) {
        if (!m_gone)
            qCDebug(lcSerialLink) << "read time-out after" << m_readTimeout << "ms";
        return -1;
    }
    m_pending = m_port->readAll();
    m_next = 0;
    if (m_pending.isEmpty())
        return -1;
    return static_cast<unsigned char>(m_pending.at(m_next++));
}

void SerialPort::SetReadTimeout(int milliseconds)
{
    const int cap = TimeoutCap;
    m_readTimeout = cap > 0 ? std::min(cap, milliseconds) : milliseconds;
}
