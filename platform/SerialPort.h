#pragma once
// The serial line the instrument protocols run on.
//
// `SerialLink` is the byte-level contract the protocols need: one byte in
// with a silence time-out, a block of bytes out, a baud rate and a purge.
// `SerialPort` implements it on a real device through QSerialPort; tests and
// fuzz targets implement it over memory.
//
// Port names are the program's "COM1" to "COM20"; `SerialDevicePath` maps
// them to the machine's devices (see there).
//
// The logging category "quillfen.serial" (off by default) records the
// frames sent and received, retries, time-outs and a device that went away:
// QT_LOGGING_RULES="quillfen.serial.debug=true".

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QLoggingCategory>
#include <QString>
#include <QStringList>

#include <memory>

class QSerialPort;

Q_DECLARE_LOGGING_CATEGORY(lcSerialLink)

class SerialLink
{
public:
    virtual ~SerialLink() = default;
    virtual bool IsOpen() const = 0;
    // 8 data bits, no parity, one stop bit at `baud`.
    virtual bool SetBaudRate(int baud) = 0;
    // Drops whatever is queued in both directions.
    virtual bool Purge() = 0;
    // True when every byte went out.
    virtual bool Write(QByteArrayView bytes) = 0;
    // The next byte (0..255), or -1 when the line stayed silent for the read
    // time-out, the link is closed or the device is gone.
    virtual int ReadByte() = 0;
    // True once the device has reported a hard error (a USB adapter pulled
    // out, the far end of a pseudo terminal closed): every read fails at once
    // from then on, so waiting for the instrument is pointless. A merely
    // quiet line is not gone; its reads each wait out the time-out.
    virtual bool IsGone() const = 0;
    // The longest silence a single-byte read waits for.
    virtual void SetReadTimeout(int milliseconds) = 0;
};

// The program's port names, "COM1" to "COM20", in table order.
QStringList SerialPortNames();

// The device a port name stands for, or an empty text when there is none.
// In order of precedence:
//  1. the map set by SetSerialPortMap (tests);
//  2. the environment variable QUILLFEN_PORT_<NAME> (QUILLFEN_PORT_COM3=/dev/pts/7);
//  3. the environment variable QUILLFEN_PORTS, "COM3=/dev/pts/7;COM4=/dev/ttyUSB1";
//  4. the machine's serial devices sorted by their paths (names with numbers in
//     numeric order), the first being COM1, the second COM2 and so on.
// On Windows the names are the system's own and pass unchanged.
QString SerialDevicePath(const QString& portName);

// Replaces rules 2 to 4 above by `map` (port name -> device path); an empty
// map restores them. For tests.
void SetSerialPortMap(const QHash<QString, QString>& map);

// Whether the port can be opened for exclusive use right now; closes it again.
bool ProbeSerialPort(const QString& portName);

// Caps every silence time-out of the serial ports opened afterwards (0: no
// cap). Tests that make an instrument fall silent use it so that giving up
// costs milliseconds instead of the instruments' real time-outs.
void SetSerialTimeoutCap(int milliseconds);

class SerialPort final : public SerialLink
{
public:
    SerialPort();
    ~SerialPort() override;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens the device of `portName` for exclusive use, 8N1 at `baud`, no
    // flow control, DTR on and RTS off. Devices without modem lines (pseudo
    // terminals) are accepted as they are. False leaves the port closed.
    bool Open(const QString& portName, int baud);
    void Close();

    bool IsOpen() const override;
    bool SetBaudRate(int baud) override;
    bool Purge() override;
    bool Write(QByteArrayView bytes) override;
    int ReadByte() override;
    bool IsGone() const override { return m_gone; }
    void SetReadTimeout(int milliseconds) override;

    int ReadTimeout() const { return m_readTimeout; }

private:
    bool WaitForInput(int milliseconds);
    // Takes the port's error and remembers a hard one; true for a hard one.
    bool TakeHardError();

    std::unique_ptr<QSerialPort> m_port;
    // Bytes already taken from the device and not yet handed out; reading in
    // chunks keeps a 256-byte block from costing 256 system calls.
    QByteArray m_pending;
    qsizetype m_next = 0;
    int m_readTimeout = 400;
    bool m_gone = false;
};
