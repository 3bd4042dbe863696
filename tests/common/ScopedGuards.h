#pragma once
// Scoped changes of process-wide state for tests. Each guard puts back what it
// changed when it goes out of scope, also when an assertion ends the test early.

#include "platform/DateTime.h"
#include "platform/SerialPort.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QString>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <memory>
#include <utility>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// A device path that cannot exist: a port mapped to it means "no instrument
// here", and the port never falls through to the machine's own serial ports
// or to the QUILLFEN_PORT... variables.
inline const QString NoDevicePath = QStringLiteral("/nonexistent/quillfen-no-device");

// The clock of platform/DateTime; the system clock again afterwards.
class ScopedClock
{
public:
    explicit ScopedClock(const QDateTime& now) { SetClock([now] { return now; }); }
    explicit ScopedClock(std::function<QDateTime()> clock) { SetClock(std::move(clock)); }
    ~ScopedClock() { SetClock(nullptr); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;
};

// The port-name map of platform/SerialPort and the silence time-out cap;
// both are cleared again afterwards.
class ScopedSerialPorts
{
public:
    explicit ScopedSerialPorts(const QHash<QString, QString>& map = {}) : m_map(map)
    {
        SetSerialPortMap(m_map);
    }
    ~ScopedSerialPorts()
    {
        SetSerialPortMap({});
        SetSerialTimeoutCap(0);
    }
    ScopedSerialPorts(const ScopedSerialPorts&) = delete;
    ScopedSerialPorts& operator=(const ScopedSerialPorts&) = delete;

    // Points `portName` at `devicePath` (NoDevicePath: at nothing) from now on.
    void Map(const QString& portName, const QString& devicePath)
    {
        m_map.insert(portName, devicePath);
        SetSerialPortMap(m_map);
    }

private:
    QHash<QString, QString> m_map;
};

// One environment variable set (or removed) for the guard's life; its former
// value, or its absence, comes back afterwards.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const QByteArray& value) : m_name(name)
    {
        Save();
        qputenv(m_name, value);
    }
    explicit ScopedEnv(const char* name) : m_name(name)
    {
        Save();
        qunsetenv(m_name);
    }
    ~ScopedEnv()
    {
        if (m_wasSet)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void Save()
    {
        m_wasSet = qEnvironmentVariableIsSet(m_name);
        m_old = qgetenv(m_name);
    }
    const char* m_name;
    bool m_wasSet = false;
    QByteArray m_old;
};

// Files of this process may not grow past `limit` bytes while it lives: the
// system then takes part of a write, as on a full disk, and refuses the rest.
class ScopedFileSizeLimit
{
public:
    explicit ScopedFileSizeLimit(rlim_t limit)
    {
        m_oldSignal = signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_oldLimit);
        rlimit small = m_oldLimit;
        small.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~ScopedFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_oldLimit);
        signal(SIGXFSZ, m_oldSignal);
    }
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

private:
    rlimit m_oldLimit{};
    void (*m_oldSignal)(int) = nullptr;
};

// SIGXFSZ at its default action (ending the process) while it lives, so that
// a test sees what the code under test makes of it.
class ScopedDefaultFileSizeSignal
{
public:
    ScopedDefaultFileSizeSignal()
    {
        struct sigaction fallback = {};
        fallback.sa_handler = SIG_DFL;
        sigaction(SIGXFSZ, &fallback, &m_old);
    }
    ~ScopedDefaultFileSizeSignal() { sigaction(SIGXFSZ, &m_old, nullptr); }
    ScopedDefaultFileSizeSignal(const ScopedDefaultFileSizeSignal&) = delete;
    ScopedDefaultFileSizeSignal& operator=(const ScopedDefaultFileSizeSignal&) = delete;

    static bool Ignored()
    {
        struct sigaction now = {};
        sigaction(SIGXFSZ, nullptr, &now);
        return now.sa_handler == SIG_IGN;
    }

private:
    struct sigaction m_old = {};
};

// Makes saves fail while it lives: the folder turns read-only or, where that
// binds nobody (the super-user), files may not grow past a few bytes, as on a
// full disk.
class SaveFault
{
public:
    explicit SaveFault(const QString& dir) : m_dir(QFile::encodeName(dir))
    {
        if (m_root)
            m_limit = std::make_unique<ScopedFileSizeLimit>(FileSizeLimit);
        else
            chmod(m_dir.constData(), ReadOnlyFolder);
    }
    ~SaveFault()
    {
        if (!m_root)
            chmod(m_dir.constData(), WritableFolder);
    }
    SaveFault(const SaveFault&) = delete;
    SaveFault& operator=(const SaveFault&) = delete;

    // The system's words for the step that fails.
    QString Reason() const
    {
        return QString::fromLocal8Bit(std::strerror(m_root ? EFBIG : EACCES));
    }

private:
    static constexpr mode_t ReadOnlyFolder = 0500;
    static constexpr mode_t WritableFolder = 0700;
    static constexpr rlim_t FileSizeLimit = 16;
    const bool m_root = geteuid() == 0;
    QByteArray m_dir;
    std::unique_ptr<ScopedFileSizeLimit> m_limit;
};
