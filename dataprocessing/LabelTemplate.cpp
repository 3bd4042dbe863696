#include "dataprocessing/LabelTemplate.h"

#include "documents/BarcodeObject.h"
#include "documents/GlobalTextObject.h"
#include "documents/LabelObject.h"
#include "documents/PageObject.h"
#include "documents/QuillfenForm.h"

namespace {

constexpr char DefaultBarcodeText[] = "1234";
// Version byte, page width and height.
constexpr qint64 SectionHeadSize = 1 + 4 + 4;

} // namespace

std::unique_ptr<AbstractFormObject> MakeDefaultLabelTemplate()
{
    auto barcode = std::make_unique<BarcodeObject>();
    barcode->SetType(TextObject::EditableText);
    barcode->SetText(QString::fromLatin1(DefaultBarcodeText));
    return barcode;
}

TemplateRead ReadTemplateDocument(FileReader& reader, GlobalTextStorage& globalTexts,
                                  std::unique_ptr<GroupObject>& result)
{
    if (!reader.SeekSection(QuillfenForm::SectionTag))
        return TemplateRead::NoFormSection;
    QIODevice& stream = reader.GetStream();
    if (!CheckCount(stream, 1, SectionHeadSize))
        return TemplateRead::Damaged;
    ReadByte(stream); // version
    const int32_t width = ReadInt32(stream);
    const int32_t height = ReadInt32(stream);
    GlobalTextStorage texts;
    if (!texts.Load(stream) || !CheckCount(stream, 1, sizeof(int32_t)))
        return TemplateRead::Damaged;
    const int32_t pageCount = ReadInt32(stream);

    // The fields are made on the store they will share once the read succeeded.
    PageObject page(&globalTexts);
    if (pageCount > 0 && !page.Load(stream))
        return TemplateRead::Damaged;

    auto group = std::make_unique<GroupObject>(&globalTexts);
    auto frame = std::make_unique<LabelObject>();
    frame->SetRect(0, 0, width, height);
    group->AddObject(std::move(frame));
    for (auto& field : page.Clear())
        group->AddObject(std::move(field));
    globalTexts = std::move(texts);
    result = std::move(group);
    return TemplateRead::Read;
}
