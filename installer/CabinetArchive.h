#pragma once
// A cabinet archive read with libmspack: its members in archive order and
// the extraction of one member to a file. Only single cabinets are accepted;
// a cabinet that belongs to a set is refused.

#include <QByteArray>
#include <QString>
#include <QStringList>

struct mscab_decompressor;
struct mscabd_cabinet;

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
    // Writes member `index` to `target`, replacing it. The folder must exist.
    bool Extract(int index, const QString& target);

private:
    // libmspack keeps the name and opens the file again for every extraction.
    QByteArray m_fileName;
    Status m_status = Status::CannotOpen;
    mscab_decompressor* m_decompressor = nullptr;
    mscabd_cabinet* m_cabinet = nullptr;
};
