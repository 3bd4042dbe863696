#include "installer/CabinetArchive.h"

#include <QFile>

#include <mspack.h>

namespace {
mscabd_file* MemberAt(mscabd_cabinet* cabinet, int index)
{
    mscabd_file* file = cabinet ? cabinet->files : nullptr;
    for (; file && index > 0; --index)
        file = file->next;
    return index == 0 ? file : nullptr;
}
} // namespace

CabinetArchive::CabinetArchive(const QString& path) : m_fileName(QFile::encodeName(path))
{
    m_decompressor = mspack_create_cab_decompressor(nullptr);
    if (!m_decompressor)
        return;
    m_cabinet = m_decompressor->open(m_decompressor, m_fileName.constData());
    if (!m_cabinet)
        return;
    const bool inSet = (m_cabinet->flags & (MSCAB_HDR_PREVCAB | MSCAB_HDR_NEXTCAB)) != 0
                       || m_cabinet->next || m_cabinet->prevcab || m_cabinet->nextcab;
    m_status = inSet ? Status::PartOfSet : Status::Open;
}

CabinetArchive::~CabinetArchive()
{
    if (m_cabinet)
        m_decompressor->close(m_decompressor, m_cabinet);
    if (m_decompressor)
        mspack_destroy_cab_decompressor(m_decompressor);
}

QStringList CabinetArchive::MemberNames() const
{
    QStringList names;
    if (m_status != Status::Open)
        return names;
    for (mscabd_file* file = m_cabinet->files; file; file = file->next) {
        const QByteArray name(file->filename);
        names << ((file->attribs & MSCAB_ATTRIB_UTF_NAME) ? QString::fromUtf8(name)
                                                          : QString::fromLatin1(name));
    }
    return names;
}

bool CabinetArchive::Extract(int index, const QString& target)
{
    mscabd_file* file = m_status == Status::Open ? MemberAt(m_cabinet, index) : nullptr;
    return file
           && m_decompressor->extract(m_decompressor, file, QFile::encodeName(target).constData())
                  == MSPACK_ERR_OK;
}
