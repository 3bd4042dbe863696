// Port names and the serial port on a pseudo terminal.

#include <gtest/gtest.h>

#include "common/PseudoTerminal.h"
#include "common/ScopedGuards.h"
#include "platform/SerialPort.h"

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

// How long the far end waits for bytes before it gives up: only a bound
// against hanging, far beyond any real delay.
constexpr int FarEndPatienceMs = 10000;

// A bare pseudo terminal: the test plays the far end itself.
struct Pty : PseudoTerminal
{
    Pty() : PseudoTerminal(false) {}
    void Send(const QByteArray& bytes) const
    {
        ASSERT_EQ(::write(Master(), bytes.constData(), size_t(bytes.size())), bytes.size());
    }
    QByteArray Receive(int count) const
    {
        QByteArray out(count, 0);
        int done = 0;
        while (done < count) {
            pollfd p{Master(), POLLIN, 0};
            if (::poll(&p, 1, FarEndPatienceMs) <= 0)
                break;
            const ssize_t n = ::read(Master(), out.data() + done, size_t(count - done));
            if (n <= 0)
                break;
            done += int(n);
        }
        return out.left(done);
    }
};

class SerialPortTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!pty.IsReady())
            GTEST_SKIP() << "no pseudo terminal";
        ports.Map(QStringLiteral("COM3"), pty.SlavePath());
    }
    Pty pty;
    ScopedSerialPorts ports;
};

} // namespace

TEST(SerialPortNames, TableAndMapPrecedence)
{
    const QStringList names = SerialPortNames();
    ASSERT_EQ(names.size(), 20);
    EXPECT_EQ(names.front(), "COM1");
    EXPECT_EQ(names.back(), "COM20");

    ScopedEnv port4("QUILLFEN_PORT_COM4", "/dev/ttyQF4");
    ScopedEnv ports("QUILLFEN_PORTS", "COM5=/dev/ttyQF5; com4=/dev/ignored ;COM6=/dev/ttyQF6");
    EXPECT_EQ(SerialDevicePath("COM4"), "/dev/ttyQF4"); // its own variable wins
    EXPECT_EQ(SerialDevicePath("com5"), "/dev/ttyQF5");
    EXPECT_EQ(SerialDevicePath("COM6"), "/dev/ttyQF6");
    EXPECT_EQ(SerialDevicePath("LPT1"), QString());

    // A map set directly replaces everything else.
    {
        ScopedSerialPorts map({{QStringLiteral("COM7"), QStringLiteral("/dev/ttyQF7")}});
        EXPECT_EQ(SerialDevicePath("COM7"), "/dev/ttyQF7");
        EXPECT_EQ(SerialDevicePath("COM4"), QString());
    }
    EXPECT_EQ(SerialDevicePath("COM4"), "/dev/ttyQF4");
}

TEST_F(SerialPortTest, OpensExclusivelyWithTheRequestedRate)
{
    SerialPort port;
    ASSERT_TRUE(port.Open("COM3", 19200)) << "modem-line refusals must not fail the open";
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(pty.LineBaud(), 19200);
    ASSERT_TRUE(port.SetBaudRate(1200));
    EXPECT_EQ(pty.LineBaud(), 1200);

    SerialPort second;
    EXPECT_FALSE(second.Open("COM3", 19200));
    EXPECT_FALSE(ProbeSerialPort("COM3"));
    port.Close();
    EXPECT_TRUE(ProbeSerialPort("COM3"));
    EXPECT_TRUE(second.Open("COM3", 19200));
}

// How fast a missing port gives up is measured in bench/SerialPortBench.
TEST_F(SerialPortTest, MissingPortFails)
{
    SerialPort port;
    ports.Map(QStringLiteral("COM8"), NoDevicePath);
    EXPECT_FALSE(port.Open("COM8", 19200));
    EXPECT_FALSE(port.Open("COM9", 19200));
    EXPECT_FALSE(port.Open("COM3x", 19200));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.ReadByte(), -1);
    EXPECT_FALSE(port.Write("x"));
    EXPECT_FALSE(port.Purge());
    EXPECT_FALSE(ProbeSerialPort("COM8"));
    EXPECT_FALSE(ProbeSerialPort("COM9"));
}

TEST_F(SerialPortTest, BytesBothWaysAndSilenceTimeOut)
{
    SerialPort port;
    ASSERT_TRUE(port.Open("COM3", 115200));
    ASSERT_TRUE(port.Write(QByteArray("\xAA\x00\x1B", 3)));
    EXPECT_EQ(pty.Receive(3), QByteArray("\xAA\x00\x1B", 3));

    pty.Send(QByteArray("\x01\xFF\x80", 3));
    EXPECT_EQ(port.ReadByte(), 0x01);
    EXPECT_EQ(port.ReadByte(), 0xFF);
    EXPECT_EQ(port.ReadByte(), 0x80);

    // A silent line ends the read with -1; a byte that comes within the
    // time-out is still read. (How long the silence lasts is measured in
    // bench/SerialPortBench.)
    port.SetReadTimeout(30);
    EXPECT_EQ(port.ReadByte(), -1);
    port.SetReadTimeout(FarEndPatienceMs);
    std::thread late([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        pty.Send("L");
    });
    EXPECT_EQ(port.ReadByte(), 'L');
    late.join();

    // A cap shortens every silence of ports configured afterwards.
    SetSerialTimeoutCap(20);
    port.SetReadTimeout(400);
    EXPECT_EQ(port.ReadTimeout(), 20);
}

TEST_F(SerialPortTest, PurgeDropsWhatWaitsUnread)
{
    SerialPort port;
    ASSERT_TRUE(port.Open("COM3", 19200));
    port.SetReadTimeout(50);
    pty.Send("stale");
    EXPECT_EQ(port.ReadByte(), 's'); // the rest sits in the port's buffer now
    ASSERT_TRUE(port.Purge());
    EXPECT_EQ(port.ReadByte(), -1);
    pty.Send("N");
    EXPECT_EQ(port.ReadByte(), 'N');
}

TEST_F(SerialPortTest, FarEndGoingAwayIsAHardErrorNotSilence)
{
    SerialPort port;
    ASSERT_TRUE(port.Open("COM3", 19200));
    port.SetReadTimeout(20);
    EXPECT_EQ(port.ReadByte(), -1);
    EXPECT_FALSE(port.IsGone()); // merely quiet
    pty.CloseMaster();
    EXPECT_EQ(port.ReadByte(), -1);
    EXPECT_TRUE(port.IsGone());
    EXPECT_EQ(port.ReadByte(), -1);
    EXPECT_FALSE(port.Write("x"));
}
