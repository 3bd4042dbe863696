#include "dataprocessing/OldLabelFile.h"

#include "documents/BarcodeObject.h"
#include "documents/GlobalTextObject.h"
#include "documents/GroupObject.h"
#include "documents/LabelObject.h"

#include <algorithm>
#include <initializer_list>

namespace {

constexpr qint64 DescriptionSize = 100;
constexpr qint64 ReservedSize = 2;
// The description field's text, a global text shared by every label.
constexpr char DescriptionText[] = "popis";
constexpr int32_t DescriptionAlign = 1;
constexpr int32_t DigitsBelowAlign = 5;
constexpr int32_t DigitsAboveAlign = 4;
constexpr char BarcodeText[] = "12345678";
// The digits' font is a fifth of the barcode's height.
constexpr int32_t FontSizeDivisor = 5;

void ClearBorders(AbstractFormObject& object)
{
    object.SetLeftBorder(0);
    object.SetTopBorder(0);
    object.SetRightBorder(0);
    object.SetBottomBorder(0);
}

} // namespace

OldLabelRead ReadOldLabelFile(QIODevice& stream, OldLabelFile& file)
{
    // The header is checked whole before any field is taken from it; a file
    // too short for the magic word is not recognised as a label file at all.
    if (BytesLeft(stream) < static_cast<qint64>(sizeof(int32_t)))
        return OldLabelRead::NotLabelFile;
    if (ReadInt32(stream) != OldLabelFile::Magic)
        return OldLabelRead::NotLabelFile;
    if (BytesLeft(stream) < OldLabelFile::HeaderSize - static_cast<qint64>(sizeof(int32_t)))
        return OldLabelRead::Damaged;

    OldLabelFile read;
    for (int32_t* field : {&read.PageWidth, &read.PageHeight, &read.Across, &read.Down, &read.TopMargin,
                           &read.VerticalSpace, &read.LeftMargin, &read.HorizontalSpace, &read.LabelWidth,
                           &read.LabelHeight, &read.BarcodeWidth, &read.BarcodeHeight})
        *field = ReadInt32(stream);
    read.HasDescription = ReadBytes(stream, DescriptionSize).front() != '\0';
    read.FrameFlag = ReadByte(stream);
    read.TextPosition = ReadByte(stream);
    ReadBytes(stream, ReservedSize);

    // Nothing can be laid out with these at zero or less, and the automatic
    // counts and the preview divide by them.
    for (int32_t size : {read.PageWidth, read.PageHeight, read.Across, read.Down, read.LabelWidth,
                         read.LabelHeight, read.BarcodeWidth, read.BarcodeHeight})
        if (size <= 0)
            return OldLabelRead::Damaged;

    const qint64 count = std::min<qint64>(BytesLeft(stream) / sizeof(int32_t), OldLabelFile::MaxNumbers);
    read.Numbers.reserve(count);
    for (qint64 i = 0; i < count; ++i)
        read.Numbers.push_back(ReadInt32(stream));
    file = std::move(read);
    return OldLabelRead::Read;
}

std::unique_ptr<GroupObject> MakeOldLabelTemplate(const OldLabelFile& file, GlobalTextStorage* globalTexts)
{
    auto group = std::make_unique<GroupObject>(globalTexts);

    auto frame = std::make_unique<LabelObject>();
    frame->SetRect(0, 0, file.LabelWidth, file.LabelHeight);
    group->AddObject(std::move(frame));

    // Centred on the label.
    const int32_t x0 = ClampToInt32((int64_t(file.LabelWidth) - file.BarcodeWidth) / 2);
    const int32_t y0 = ClampToInt32((int64_t(file.LabelHeight) - file.BarcodeHeight) / 2);
    const int32_t x1 = ClampToInt32(int64_t(x0) + file.BarcodeWidth);
    const int32_t fontSize = file.BarcodeHeight / FontSizeDivisor;
    int32_t barsTop = y0;

    if (file.HasDescription) {
        auto description = std::make_unique<GlobalTextObject>(globalTexts);
        barsTop = ClampToInt32(int64_t(y0) + fontSize);
        description->SetRect(x0, y0, x1, barsTop);
        description->SetText(QString::fromLatin1(DescriptionText));
        description->SetSize(fontSize);
        description->SetAlign(DescriptionAlign);
        ClearBorders(*description);
        group->AddObject(std::move(description));
    }

    auto barcode = std::make_unique<BarcodeObject>();
    barcode->SetType(TextObject::EditableText);
    barcode->SetAlign(file.TextPosition != 0 ? DigitsBelowAlign : DigitsAboveAlign);
    ClearBorders(*barcode);
    barcode->SetText(QString::fromLatin1(BarcodeText));
    barcode->SetSize(fontSize);
    barcode->SetRect(x0, barsTop, x1, ClampToInt32(int64_t(y0) + file.BarcodeHeight));
    group->AddObject(std::move(barcode));
    return group;
}
