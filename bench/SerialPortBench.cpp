// How long the serial port takes to give up: opening a port whose device does
// not exist (the transfer window probes every port name this way), and a read
// on a silent line against the time-out it was given. Prints milliseconds.

#include "platform/SerialPort.h"

#include "common/PseudoTerminal.h"
#include "common/ScopedGuards.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int OpenAttempts = 200;
constexpr int SilentReads = 5;
constexpr int SilenceMs = 150;

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    PseudoTerminal line(false);
    if (!line.IsReady()) {
        std::printf("no pseudo terminal\n");
        return 1;
    }
    ScopedSerialPorts ports({{QStringLiteral("COM1"), NoDevicePath},
                             {QStringLiteral("COM3"), line.SlavePath()}});

    SerialPort port;
    QElapsedTimer timer;
    timer.start();
    bool refused = true;
    for (int i = 0; i < OpenAttempts; ++i)
        refused = !port.Open(QStringLiteral("COM1"), 19200) && refused;
    const double perOpen = double(timer.nsecsElapsed()) / 1e6 / OpenAttempts;

    bool silent = port.Open(QStringLiteral("COM3"), 19200);
    port.SetReadTimeout(SilenceMs);
    qint64 shortest = -1, longest = -1;
    for (int i = 0; i < SilentReads && silent; ++i) {
        timer.restart();
        silent = port.ReadByte() == -1;
        const qint64 ms = timer.elapsed();
        shortest = shortest < 0 ? ms : std::min(shortest, ms);
        longest = std::max(longest, ms);
    }

    const bool ok = refused && silent;
    std::printf("missing port refused in %.3f ms (mean of %d)\n", perOpen, OpenAttempts);
    std::printf("silent read with a %d ms time-out: %lld to %lld ms (%d reads)\n%s\n", SilenceMs,
                static_cast<long long>(shortest), static_cast<long long>(longest), SilentReads,
                ok ? "ok" : "FAILED");
    return ok ? 0 : 1;
}
