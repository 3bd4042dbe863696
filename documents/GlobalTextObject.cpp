#include "documents/GlobalTextObject.h"

#include "documents/StyledText.h"

namespace {

// GID and an empty text: the smallest entry of the storage record.
constexpr qint64 MinEntrySize = 4 + 4;

bool IsValidGid(int32_t gid)
{
    return gid >= 0 && gid < GlobalTextStorage::Count;
}

} // namespace

GlobalTextStorage::GlobalTextStorage() : m_texts(Count) {}

bool GlobalTextStorage::Load(QIODevice& stream)
{
    Clear();
    return LoadOver(stream);
}

bool GlobalTextStorage::LoadOver(QIODevice& stream)
{
    if (!CheckCount(stream, 1, 1 + 4))
        return false;
    ReadByte(stream); // version
    const int32_t count = ReadInt32(stream);
    // A count the stream cannot hold is damage; nothing of it is read.
    if (!CheckCount(stream, count, MinEntrySize))
        return false;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t gid = ReadInt32(stream);
        const QString text = ReadWideString(stream);
        if (IsStreamDamaged(stream))
            return false;
        SetText(gid, text);
    }
    return true;
}

void GlobalTextStorage::Save(QIODevice& stream) const
{
    int32_t count = 0;
    for (const QString& text : m_texts)
        count += text.isNull() ? 0 : 1;
    WriteByte(stream, 1);
    WriteInt32(stream, count);
    for (int32_t gid = 0; gid < Count; ++gid) {
        if (!m_texts[gid].isNull()) {
            WriteInt32(stream, gid);
            WriteWideString(stream, m_texts[gid]);
        }
    }
}

void GlobalTextStorage::WriteXml(QIODevice& out) const
{
    for (int32_t gid = 0; gid < Count; ++gid) {
        if (!m_texts[gid].isNull()) {
            WriteXmlInt(out, "GID", gid);
            WriteXmlWideText(out, "Text", m_texts[gid]);
        }
    }
}

void GlobalTextStorage::SetText(int32_t gid, const QString& text)
{
    if (!IsValidGid(gid))
        return;
    m_texts[gid] = text.isNull() ? QString() : TextUpToNul(text);
}

QString GlobalTextStorage::GetText(int32_t gid) const
{
    return IsValidGid(gid) ? m_texts[gid] : QString();
}

void GlobalTextStorage::Clear()
{
    for (QString& text : m_texts)
        text = QString();
}

GlobalTextObject::GlobalTextObject(GlobalTextStorage* storage) : m_storage(storage)
{
    Type = EditableText;
}

GlobalTextObject::GlobalTextObject(const GlobalTextObject& other)
    : TextObject(other), m_gid(other.m_gid), m_storage(other.m_storage)
{
}

GlobalTextObject::~GlobalTextObject() = default;

bool GlobalTextObject::Load(QIODevice& stream)
{
    if (!TextObject::Load(stream) || !CheckCount(stream, 1, 1 + 4))
        return false;
    ReadByte(stream); // version
    SetGID(ReadInt32(stream));
    return true;
}

void GlobalTextObject::Save(QIODevice& stream) const
{
    TextObject::Save(stream);
    WriteByte(stream, 1);
    WriteInt32(stream, m_gid);
}

void GlobalTextObject::WriteXml(QIODevice& out) const
{
    TextObject::WriteXml(out);
    WriteXmlInt(out, "GID", m_gid);
}

QString GlobalTextObject::GetText() const
{
    return m_storage ? m_storage->GetText(m_gid) : QString();
}

QString GlobalTextObject::GetDisplayText() const
{
    return GetText();
}

void GlobalTextObject::SetText(const QString& text)
{
    if (m_storage)
        m_storage->SetText(m_gid, text);
}

std::unique_ptr<AbstractFormObject> GlobalTextObject::Clone() const
{
    return std::make_unique<GlobalTextObject>(*this);
}

int32_t GlobalTextObject::GetTypeCode() const
{
    return ObjectCode::Global;
}

void GlobalTextObject::SetType(int32_t)
{
    Type = EditableText;
}

void GlobalTextObject::SetGID(int32_t gid)
{
    if (IsValidGid(gid))
        m_gid = gid;
}
