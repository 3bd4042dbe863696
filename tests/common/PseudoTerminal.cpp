#include "common/PseudoTerminal.h"

#include <array>
#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

struct BaudCode
{
    speed_t code;
    int baud;
};
constexpr std::array<BaudCode, 8> BaudCodes{{{B1200, 1200},
                                             {B2400, 2400},
                                             {B9600, 9600},
                                             {B19200, 19200},
                                             {B38400, 38400},
                                             {B57600, 57600},
                                             {B115200, 115200},
                                             {B230400, 230400}}};

} // namespace

PseudoTerminal::PseudoTerminal(bool nonBlocking)
{
    const int blocking = nonBlocking ? O_NONBLOCK : 0;
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | blocking);
    if (m_master < 0)
        return;
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        ::close(m_master);
        m_master = -1;
        return;
    }
    m_slavePath = QString::fromLocal8Bit(::ptsname(m_master));
    // Set through the master, the raw mode applies to the line.
    termios t{};
    ::tcgetattr(m_master, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(m_master, TCSANOW, &t);
    m_keeper = ::open(m_slavePath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | blocking);
}

PseudoTerminal::~PseudoTerminal()
{
    for (int fd : {m_keeper, m_master}) {
        if (fd >= 0)
            ::close(fd);
    }
}

int PseudoTerminal::LineBaud() const
{
    termios t{};
    if (::tcgetattr(m_master, &t) != 0)
        return 0;
    const speed_t speed = ::cfgetospeed(&t);
    for (const BaudCode& c : BaudCodes) {
        if (c.code == speed)
            return c.baud;
    }
    return 0;
}

void PseudoTerminal::CloseMaster()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}
