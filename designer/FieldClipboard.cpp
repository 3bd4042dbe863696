#include "designer/FieldClipboard.h"

#include "documents/GroupObject.h"
#include "storage/File.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

constexpr uint8_t GroupRecordVersion = 1;

} // namespace

QByteArray PackFields(std::span<AbstractFormObject* const> objects)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    // The layout of GroupObject::Save, written over objects the page keeps.
    WriteByte(buffer, GroupRecordVersion);
    WriteInt32(buffer, static_cast<int32_t>(objects.size()));
    for (const AbstractFormObject* object : objects) {
        WriteInt32(buffer, object->GetTypeCode());
        object->Save(buffer);
    }
    return buffer.data();
}

std::unique_ptr<AbstractFormObject> UnpackFields(QByteArrayView block, GlobalTextStorage* globalTexts)
{
    QByteArray bytes = block.toByteArray();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    auto group = std::make_unique<GroupObject>(globalTexts);
    if (!group->Load(buffer) || IsStreamDamaged(buffer) || !buffer.atEnd())
        return nullptr;
    if (group->GetCount() == 0)
        return nullptr;
    if (group->GetCount() == 1 && !group->GetObject(0)->IsGroup())
        return group->RemoveObject(group->GetObject(0));
    return group;
}

void PutFieldsOnClipboard(const QByteArray& block)
{
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(FieldsMimeType), block);
    QGuiApplication::clipboard()->setMimeData(data);
}

QByteArray FieldsOnClipboard()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(QString::fromLatin1(FieldsMimeType)))
        return {};
    return data->data(QString::fromLatin1(FieldsMimeType));
}
