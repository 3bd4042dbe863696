#include "documents/PictureObject.h"

namespace {

// version, kind and length
constexpr qint64 PictureHeaderSize = 1 + 1 + 4;

std::unique_ptr<TGraphic> CopyOf(const TGraphic* graphic)
{
    if (!graphic)
        return nullptr;
    std::unique_ptr<TGraphic> copy = graphic->NewEmpty();
    copy->LoadFromBytes(graphic->SaveToBytes());
    return copy;
}

} // namespace

PictureObject::PictureObject() = default;

PictureObject::PictureObject(const PictureObject& other) : AbstractFormObject(other)
{
    SetGraphic(other.GetGraphic());
}

PictureObject::~PictureObject() = default;

bool PictureObject::Load(QIODevice& stream)
{
    Picture.reset();
    if (!AbstractFormObject::Load(stream) || !CheckCount(stream, 1, PictureHeaderSize))
        return false;
    ReadByte(stream); // version
    const int kind = ReadByte(stream);
    const int32_t n = ReadInt32(stream);
    if (n < 0 || n > BytesLeft(stream)) {
        MarkStreamDamaged(stream);
        return false;
    }
    QByteArray data = ReadBytes(stream, n);
    if (IsStreamDamaged(stream))
        return false;
    std::unique_ptr<TGraphic> graphic = NewGraphic(kind);
    if (graphic && n != 0) {
        // The record ends the picture with a 0 byte of its own; the picture's
        // bytes are what precedes it, so a save writes the record back as it was.
        if (data.endsWith('\0'))
            data.chop(1);
        graphic->LoadFromBytes(data);
    }
    Picture = std::move(graphic);
    return true;
}

void PictureObject::Save(QIODevice& stream) const
{
    AbstractFormObject::Save(stream);
    WriteByte(stream, 1);
    if (!Picture) {
        WriteByte(stream, 0);
        WriteInt32(stream, 0);
        return;
    }
    const QByteArray& bytes = Picture->SaveToBytes();
    WriteByte(stream, static_cast<uint8_t>(Picture->Kind()));
    WriteInt32(stream, static_cast<int32_t>(bytes.size() + 1));
    stream.write(bytes);
    WriteByte(stream, 0);
}

void PictureObject::Draw(TCanvas& canvas, const DrawContext& context) const
{
    AbstractFormObject::Draw(canvas, context);
    if (Picture)
        Picture->Draw(canvas, {Left, Top, Right, Bottom});
    canvas.SetBrushColor(GetBackColor());
    canvas.SetPenColor(GetForeColor());
}

std::unique_ptr<AbstractFormObject> PictureObject::Clone() const
{
    return std::make_unique<PictureObject>(*this);
}

int32_t PictureObject::GetTypeCode() const
{
    return ObjectCode::Picture;
}

void PictureObject::SetGraphic(const TGraphic* graphic)
{
    // Copied before the old picture goes: the graphic may be our own.
    Picture = CopyOf(graphic);
}
