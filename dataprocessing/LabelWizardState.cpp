#include "dataprocessing/LabelWizardState.h"

#include "dataprocessing/LabelTemplate.h"
#include "dataprocessing/OldLabelFile.h"
#include "dataprocessing/RecordLookup.h"
#include "documents/GroupObject.h"
#include "platform/NumberText.h"

LabelWizardState::LabelWizardState() : m_template(MakeDefaultLabelTemplate()) {}

LabelWizardState::~LabelWizardState() = default;

void LabelWizardState::SetGlobalTexts(GlobalTextStorage* globalTexts)
{
    m_globalTexts = globalTexts ? globalTexts : &m_ownGlobalTexts;
}

void LabelWizardState::SetPageSize(int32_t width, int32_t height)
{
    m_pageWidth = width;
    m_pageHeight = height;
}

void LabelWizardState::SetPreviewSize(int width, int height)
{
    m_previewWidth = width;
    m_previewHeight = height;
}

void LabelWizardState::SetTemplate(const AbstractFormObject& object)
{
    InstallTemplate(object.Clone());
}

void LabelWizardState::InstallTemplate(std::unique_ptr<AbstractFormObject> object)
{
    // A preview of no size (or a template of none) would squash the template
    // to nothing for good: it then keeps its own rectangle.
    if (const std::optional<TRect> fitted = FitIntoPreview(object->GetRect(), m_previewWidth, m_previewHeight))
        object->SetRect(fitted->Left, fitted->Top, fitted->Right, fitted->Bottom);
    m_template = std::move(object);
}

bool LabelWizardState::UpdateCounts()
{
    if (!m_automatic)
        return false;
    const std::optional<LabelCounts> counts = AutomaticCounts(m_pageWidth, m_pageHeight, m_layout);
    if (!counts)
        return false;
    m_layout.Across = counts->Across;
    m_layout.Down = counts->Down;
    return true;
}

void LabelWizardState::AddRecordIds(const RecordLookup& records)
{
    const QStringList ids = records.ListRowIds();
    m_numbers.AddAll(std::vector<QString>(ids.begin(), ids.end()));
}

LabelWizardState::FileImport LabelWizardState::ImportTemplateDocument(const QString& fileName)
{
    try {
        FileReader reader(fileName);
        if (!reader.IsQuillfenFile())
            return FileImport::NotQuillfen;
        std::unique_ptr<GroupObject> group;
        switch (ReadTemplateDocument(reader, *m_globalTexts, group)) {
        case TemplateRead::Read:
            InstallTemplate(std::move(group));
            return FileImport::Imported;
        case TemplateRead::NoFormSection:
            return FileImport::Unchanged;
        case TemplateRead::Damaged:
            return FileImport::Damaged;
        }
    } catch (const EFOpenError& error) {
        return error.NotRegularFile() ? FileImport::NotRegularFile : FileImport::CannotOpen;
    }
    return FileImport::Unchanged;
}

LabelWizardState::FileImport LabelWizardState::ImportOldLabelFile(const QString& fileName)
{
    ReadOnlyFile file(fileName);
    if (!file.OpenForReading())
        return file.IsNotRegularFile() ? FileImport::NotRegularFile : FileImport::CannotOpen;
    OldLabelFile label;
    switch (ReadOldLabelFile(file, label)) {
    case OldLabelRead::NotLabelFile: {
        // Another of the product's files is simply not taken; anything else
        // is worth telling the user about.
        file.seek(0);
        return IsQuillfenMagic(ReadInt32(file)) ? FileImport::Unchanged : FileImport::NotQuillfen;
    }
    case OldLabelRead::Damaged:
        return FileImport::Damaged;
    case OldLabelRead::Read:
        break;
    }

    m_pageWidth = label.PageWidth;
    m_pageHeight = label.PageHeight;
    std::vector<QString> numbers;
    numbers.reserve(label.Numbers.size());
    for (int32_t number : label.Numbers)
        numbers.push_back(FormatLabelNumber(number));
    m_numbers.Clear();
    m_numbers.AddAll(std::move(numbers));

    // The edits show each length as its shortest text; the layout holds what
    // that text reads back as, as it would after the user typed it.
    const std::pair<LayoutValue, int32_t> lengths[] = {
        {LayoutValue::Width, label.LabelWidth},           {LayoutValue::Height, label.LabelHeight},
        {LayoutValue::LeftMargin, label.LeftMargin},      {LayoutValue::TopMargin, label.TopMargin},
        {LayoutValue::HorizontalSpace, label.HorizontalSpace}, {LayoutValue::VerticalSpace, label.VerticalSpace},
    };
    for (const auto& [which, tenths] : lengths) {
        double millimetres = tenths * 0.1;
        TryStrToFloat(FloatToStr(millimetres), millimetres);
        LayoutLength(m_layout, which) = millimetres;
    }
    m_automatic = false;
    m_layout.Across = label.Across;
    m_layout.Down = label.Down;

    InstallTemplate(MakeOldLabelTemplate(label, m_globalTexts));
    return FileImport::Imported;
}
