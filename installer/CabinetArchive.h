#pragma once
// A cabinet archive read with libmspack: its members in archive order and
// the extraction of one member to a file. Only single cabinets are accepted;
// a cabinet that belongs to a set is refused.
//
// Files go through plain system calls rather than libmspack's stdio, so that
// a write that fails when the file is closed (a full disk) is not lost, and
// so that the reason the system gave can be shown to the user.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

struct mscab_decompressor;
struct mscabd_cabinet;
struct CabinetSystem;

class CabinetArchive
{
public:
    enum class Status { Open, CannotOpen, PartOfSet };

    explicit CabinetArchive(const QString& path);
    ~CabinetArchive();
    CabinetArchive(const CabinetArchive&) = delete;
    CabinetArchive& operator=(const CabinetArchive&) = delete;

    Status GetStatus() const { return m_status; }
    // Member names as stored (they may hold "\" between folders).
    QStringList MemberNames() const;
    // Writes member `index` to `target`, replacing it (a link at `target` is
    // not followed). The folder must exist. `goOn`, when given, is asked
    // before every block written: a member of any size can be held or stopped
    // on its way; false stops the extraction (see Stopped).
    bool Extract(int index, const QString& target, const std::function<bool()>& goOn = {});
    // True when the last extraction ended because `goOn` said so.
    bool Stopped() const { return m_stopped; }

    // Why the last open or extraction failed: the system's error number of
    // the file operation that failed, or 0 when the archive's own contents
    // were at fault (see Damaged).
    int SystemError() const;
    // True when the last failure came from the archive's contents (a
    // truncated or corrupted cabinet) rather than from the system.
    bool Damaged() const { return m_damaged; }

private:
    void NoteFailure();

    // libmspack keeps the name and opens the file again for every extraction.
    QByteArray m_fileName;
    Status m_status = Status::CannotOpen;
    bool m_damaged = false;
    bool m_stopped = false;
    std::unique_ptr<CabinetSystem> m_system;
    mscab_decompressor* m_decompressor = nullptr;
    mscabd_cabinet* m_cabinet = nullptr;
};
