#pragma once
// A pseudo-terminal pair standing in for a serial line: the test holds the
// master end, the program opens the slave path as its port. The line starts
// raw, so nothing is echoed or translated before the program configures the
// port, and a slave kept open lets the line survive the program closing it.

#include <QString>

class PseudoTerminal
{
public:
    // `nonBlocking`: reads and writes on the master end return at once.
    explicit PseudoTerminal(bool nonBlocking);
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // False when no pseudo terminal could be had (the tests then skip).
    bool IsReady() const { return m_master >= 0; }
    int Master() const { return m_master; }
    QString SlavePath() const { return m_slavePath; }
    // The speed the program has set the line to; 0 for one not listed.
    int LineBaud() const;
    // The far end goes away, as an unplugged adapter does: the program's
    // reads and writes fail from then on.
    void CloseMaster();

private:
    int m_master = -1;
    int m_keeper = -1;
    QString m_slavePath;
};
