#include "dataprocessing/QuillfenTransferForm.h"

#include "dataprocessing/RecordLookup.h"
#include "revisionlist/AnsiText.h"
#include "revisionlist/RevisionTableRow.h"

#include "documents/BarcodeObject.h"
#include "documents/MeasureObject.h"
#include "documents/TextObject.h"
#include "platform/Canvas.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

MeasureObject* AsMeasure(AbstractFormObject* object)
{
    return object && object->GetTypeCode() == ObjectCode::Measure ? static_cast<MeasureObject*>(object)
                                                                   : nullptr;
}

GroupObject* AsGroup(AbstractFormObject* object)
{
    return object && object->IsGroup() ? static_cast<GroupObject*>(object) : nullptr;
}

// The measure fields among a group's direct children, in child order.
std::vector<MeasureObject*> MeasureChildren(const GroupObject& group)
{
    std::vector<MeasureObject*> fields;
    for (int i = 0; i < group.GetCount(); ++i)
        if (MeasureObject* field = AsMeasure(group.GetObject(i)))
            fields.push_back(field);
    return fields;
}

// A record number as the revision list stores it: whole numbers without a
// fraction or exponent.
QString NumberItemId(const InstrumentItem& item)
{
    return FloatToStr(item.GetValue());
}

// Searches the plain text fields of Type 3 through nested groups.
bool HoldsMatchingId(const GroupObject& group, const QString& pattern)
{
    for (int i = 0; i < group.GetCount(); ++i) {
        AbstractFormObject* child = group.GetObject(i);
        if (const GroupObject* inner = AsGroup(child)) {
            if (HoldsMatchingId(*inner, pattern))
                return true;
        } else if (child->GetTypeCode() == ObjectCode::Text
                   && static_cast<TextObject*>(child)->GetType() == QuillfenTransferForm::IdType
                   && QuillfenTransferForm::MatchesIdPattern(child->GetDisplayText(), pattern)) {
            return true;
        }
    }
    return false;
}

int32_t Tenths(double millimetres)
{
    return static_cast<int32_t>(std::clamp(millimetres * 10, -2e9, 2e9));
}

} // namespace

RecordFilling LookupFilling(const RecordLookup* records, std::function<bool()> autoFill)
{
    return {std::move(autoFill), [records](const QString& id) -> RecordFields {
                const RevisionTableRow* row = records ? records->FindRowById(id) : nullptr;
                if (!row)
                    return {};
                return [row](int field) { return row->GetField(field); };
            }};
}

QuillfenTransferForm::QuillfenTransferForm(QuillfenZoom::PanelResizer panel)
    : QuillfenForm(panel, DefaultWidth, DefaultHeight), Panel(std::move(panel))
{
}

bool QuillfenTransferForm::IsNumberItem(const InstrumentItem& item)
{
    return item.GetQuantity() == NumberQuantity || item.GetQuantity() == BankNumberQuantity;
}

AbstractFormObject* QuillfenTransferForm::ChildAt(int x, int y) const
{
    const PageObject* page = GetCurrentPage();
    if (!page)
        return nullptr;
    return page->FindObjectAt(GetZoom().ScreenToModel(x), GetZoom().ScreenToModel(y));
}

AbstractFormObject* QuillfenTransferForm::FieldAt(int x, int y) const
{
    const PageObject* page = GetCurrentPage();
    if (!page)
        return nullptr;
    return page->FindObjectAtDeep(GetZoom().ScreenToModel(x), GetZoom().ScreenToModel(y));
}

bool QuillfenTransferForm::FillsFromRecords() const
{
    return Filling.FindRow && Filling.AutoFill && Filling.AutoFill();
}

void QuillfenTransferForm::FillFromRecord(const QString& id, GroupObject& group)
{
    if (!FillsFromRecords())
        return;
    if (const RecordFields row = Filling.FindRow(id))
        group.FillFromRevisionRow(row);
}

bool QuillfenTransferForm::FillGroup(const InstrumentBank& bank, GroupObject& group)
{
    // The working list: the bank's items in order, each taken at most once.
    const int count = bank.GetCount();
    std::vector<bool> taken(static_cast<size_t>(count), false);
    const std::vector<MeasureObject*> fields = MeasureChildren(group);

    bool numberPlaced = false;
    for (MeasureObject* field : fields) {
        // A field that restricts nothing takes nothing here (second pass).
        if (field->GetValue() || field->HasNoSymbols())
            continue;
        for (int i = 0; i < count; ++i) {
            const InstrumentItem* item = bank.GetItem(i);
            if (taken[size_t(i)] || !field->HasSymbol(item->GetQuantity()))
                continue;
            field->SetValue(item);
            taken[size_t(i)] = true;
            numberPlaced = numberPlaced || IsNumberItem(*item);
            SetModified();
            break;
        }
    }
    int next = 0;
    for (MeasureObject* field : fields) {
        if (field->GetValue() || !field->HasNoSymbols())
            continue;
        // Number items met on the way are dropped from the list.
        while (next < count && (taken[size_t(next)] || IsNumberItem(*bank.GetItem(next))))
            ++next;
        if (next == count)
            break;
        field->SetValue(bank.GetItem(next));
        taken[size_t(next++)] = true;
        SetModified();
    }
    // A bank is named by the instrument's 8-bit bytes: the ID the upload
    // wrote into it in the list's code page. Decoded only when it is looked
    // up, as a long transfer fills thousands of groups.
    if (FillsFromRecords())
        FillFromRecord(FromAnsi(bank.GetName()), group);
    return numberPlaced;
}

bool QuillfenTransferForm::HasFilledMeasureField(const GroupObject& group)
{
    const std::vector<MeasureObject*> fields = MeasureChildren(group);
    return fields.empty()
           || std::any_of(fields.begin(), fields.end(), [](const MeasureObject* f) { return f->GetValue(); });
}

void QuillfenTransferForm::FillNextGroup(const InstrumentBank& bank)
{
    PageObject* page = GetCurrentPage();
    if (!page)
        return;
    for (int i = 0; i < page->GetCount(); ++i) {
        GroupObject* group = AsGroup(page->GetObject(i));
        if (group && !HasFilledMeasureField(*group)) {
            if (!FillGroup(bank, *group))
                FillNumberField(bank);
            return;
        }
    }
    FillGroup(bank, *page);
}

void QuillfenTransferForm::FillNumberField(const InstrumentBank& bank)
{
    const PageObject* page = GetCurrentPage();
    if (!page)
        return;
    for (MeasureObject* field : MeasureChildren(*page)) {
        if (field->GetType() != MeasureObject::NumberField)
            continue;
        for (int i = 0; i < bank.GetCount(); ++i) {
            if (field->HasSymbol(bank.GetItem(i)->GetQuantity())) {
                field->SetValue(bank.GetItem(i));
                SetModified();
                return;
            }
        }
    }
}

void QuillfenTransferForm::DropData(const InstrumentAbstract* value, int x, int y)
{
    PageObject* page = GetCurrentPage();
    if (!value || !page)
        return;
    SetModified();
    AbstractFormObject* child = ChildAt(x, y);
    if (const auto* bank = dynamic_cast<const InstrumentBank*>(value)) {
        if (!child)
            FillGroup(*bank, *page);
        else if (GroupObject* group = AsGroup(child))
            FillGroup(*bank, *group);
        return;
    }
    const auto* item = dynamic_cast<const InstrumentItem*>(value);
    if (!item || !child)
        return;
    GroupObject* group = AsGroup(child);
    AbstractFormObject* target = group ? group->FindObjectAtDeep(GetZoom().ScreenToModel(x),
                                                                 GetZoom().ScreenToModel(y))
                                       : child;
    if (!target)
        return;
    target->Fill(item);
    if (IsNumberItem(*item))
        FillFromRecord(NumberItemId(*item), group ? *group : *page);
}

void QuillfenTransferForm::RemoveDataFromGroupAt(int x, int y)
{
    AbstractFormObject* child = ChildAt(x, y);
    if (GroupObject* group = AsGroup(child)) {
        group->ClearMeasuredValues();
        SetModified();
    } else if (MeasureObject* field = AsMeasure(child)) {
        field->SetValue(nullptr);
        SetModified();
    }
}

void QuillfenTransferForm::RemoveDataFromFieldAt(int x, int y)
{
    if (MeasureObject* field = AsMeasure(FieldAt(x, y))) {
        field->SetValue(nullptr);
        SetModified();
    }
}

void QuillfenTransferForm::RemoveDataFromPage()
{
    if (PageObject* page = GetCurrentPage())
        page->ClearMeasuredValues();
}

// --- Find ID -----------------------------------------------------------------

bool QuillfenTransferForm::MatchesIdPattern(const QString& text, const QString& pattern)
{
    if (text.size() < pattern.size())
        return false;
    for (qsizetype i = 0; i < pattern.size(); ++i)
        if (pattern[i] != u'?' && pattern[i].toCaseFolded() != text[i].toCaseFolded())
            return false;
    return true;
}

bool QuillfenTransferForm::FindId(const QString& pattern)
{
    SelectPage(GetCurrentPageIndex() + 1);
    for (int i = GetCurrentPageIndex(); i < GetPageCount(); ++i) {
        if (HoldsMatchingId(*GetPage(i), pattern)) {
            SelectPage(i);
            return true;
        }
    }
    return false;
}

// --- Label sheets --------------------------------------------------------------

AbstractFormObject* QuillfenTransferForm::FindLabelBarcode(AbstractFormObject* label)
{
    if (!label)
        return nullptr;
    if (label->GetTypeCode() == ObjectCode::Barcode)
        return label;
    if (const GroupObject* group = AsGroup(label))
        for (int i = group->GetCount() - 1; i >= 0; --i)
            if (group->GetObject(i)->GetTypeCode() == ObjectCode::Barcode)
                return group->GetObject(i);
    return nullptr;
}

void QuillfenTransferForm::TakeBarcodeTexts(std::vector<LabelNumber>& numbers)
{
    for (LabelNumber& entry : numbers) {
        const AbstractFormObject* barcode = FindLabelBarcode(entry.Label);
        if (barcode && barcode->GetText() != entry.Text)
            entry.Text = barcode->GetText();
    }
}

std::vector<LabelNumber> QuillfenTransferForm::ListLabelNumbers() const
{
    std::vector<LabelNumber> numbers;
    for (int p = 0; p < GetPageCount(); ++p) {
        const PageObject* page = GetPage(p);
        for (int i = 0; i < page->GetCount(); ++i)
            if (const AbstractFormObject* barcode = FindLabelBarcode(page->GetObject(i)))
                numbers.push_back({barcode->GetText(), page->GetObject(i)});
    }
    return numbers;
}

void QuillfenTransferForm::ForgetRemovedLabels(std::vector<LabelNumber>& numbers) const
{
    for (LabelNumber& entry : numbers) {
        bool onPage = false;
        for (int p = 0; p < GetPageCount() && !onPage; ++p) {
            const PageObject* page = GetPage(p);
            for (int i = 0; i < page->GetCount() && !onPage; ++i)
                onPage = page->GetObject(i) == entry.Label;
        }
        if (!onPage)
            entry.Label = nullptr;
    }
}

void QuillfenTransferForm::BuildLabelSheet(const LabelSheetLayout& layout, std::vector<LabelNumber>& numbers,
                                           const AbstractFormObject& labelTemplate)
{
    LabelSheet = true;
    const int32_t width = Tenths(layout.Width);
    const int32_t height = Tenths(layout.Height);
    const int32_t left = Tenths(layout.LeftMargin);
    const int32_t top = Tenths(layout.TopMargin);
    const int32_t hSpace = Tenths(layout.HorizontalSpace);
    const int32_t vSpace = Tenths(layout.VerticalSpace);
    const int across = std::max(1, layout.Across);
    const int down = std::max(1, layout.Down);

    // The old pages' objects; labels of entries are taken back out of them,
    // the rest are destroyed when this goes out of scope.
    std::vector<std::unique_ptr<AbstractFormObject>> old = Clear();
    auto takeBack = [&old](const AbstractFormObject* label) -> std::unique_ptr<AbstractFormObject> {
        for (auto& object : old)
            if (object.get() == label)
                return std::move(object);
        return nullptr;
    };

    int c = 0;
    int r = 0;
    for (LabelNumber& entry : numbers) {
        const int64_t x = int64_t(width + hSpace) * c + left;
        const int64_t y = int64_t(height + vSpace) * r + top;
        std::unique_ptr<AbstractFormObject> label = takeBack(entry.Label);
        if (!label) {
            label = labelTemplate.Clone();
            if (GroupObject* group = AsGroup(label.get())) {
                if (Filling.FindRow) {
                    if (const RecordFields row = Filling.FindRow(entry.Text)) {
                        const QString name = row(0).left(MaxLabelNameLength);
                        for (int i = 0; i < group->GetCount(); ++i) {
                            auto* text = dynamic_cast<TextObject*>(group->GetObject(i));
                            if (text && text->GetType() == NameType)
                                text->SetText(name);
                        }
                    }
                }
            }
        }
        entry.Label = GetCurrentPage()->AddObject(std::move(label));
        entry.Label->SetRect(ClampToInt32(x), ClampToInt32(y), ClampToInt32(x + width),
                             ClampToInt32(y + height));
        // A template without a barcode makes labels without a number.
        if (AbstractFormObject* barcode = FindLabelBarcode(entry.Label))
            barcode->SetText(entry.Text.left(MaxLabelNumberLength));

        if (c < across - 1) {
            ++c;
        } else {
            c = 0;
            if (r < down - 1) {
                ++r;
            } else {
                AddPage();
                r = 0;
            }
        }
    }
}

// --- Zoom steps ----------------------------------------------------------------

namespace ZoomSteps {

constexpr double InFactor = 1.41;
constexpr double OutFactor = 0.709219858156028409;
// The margin the whole-page zoom leaves below the page, in pixels.
constexpr int32_t WholePageMargin = 20;

int32_t ZoomIn(int32_t zoom)
{
    return static_cast<int32_t>(zoom * InFactor);
}

int32_t ZoomOut(int32_t zoom)
{
    return static_cast<int32_t>(zoom * OutFactor);
}

int32_t WholePage(int32_t clientHeight, int32_t pageHeight, int32_t current)
{
    if (pageHeight <= 0)
        return current;
    return static_cast<int32_t>(int64_t(clientHeight - WholePageMargin) * QuillfenZoom::MaxZoom / pageHeight);
}

int32_t FromText(const QString& text)
{
    qsizetype end = 0;
    while (end < text.size() && end < 9 && text[end].isDigit() && text[end].unicode() < 0x80)
        ++end;
    const int32_t zoom = text.left(end).toInt();
    return zoom == 0 ? QuillfenZoom::DefaultZoom : zoom;
}

} // namespace ZoomSteps

// --- Demonstration data --------------------------------------------------------

namespace {

constexpr char AccessCode[] = "kvzq";
constexpr uint32_t AccessWord = uint32_t('k') << 24 | uint32_t('v') << 16 | uint32_t('z') << 8 | uint32_t('q');

struct DemoItem
{
    double value;
    int quantity;
    bool primary;
    const char* note;
};

void AddDemoBank(InstrumentData& data, std::unique_ptr<InstrumentBank> bank, std::initializer_list<DemoItem> items,
                 double sign = 1)
{
    for (const DemoItem& item : items)
        bank->AddItem(std::make_unique<InstrumentItem>(item.value == 0 ? 0.0 : sign * item.value, item.quantity,
                                                       QByteArrayView(item.note ? item.note : ""),
                                                       item.primary, false));
    data.AddBank(std::move(bank));
}

} // namespace

bool DemonstrationKeys::Type(QChar key)
{
    if (key.unicode() != 0 && key.unicode() < 0x80 && std::strchr(AccessCode, char(key.unicode())))
        Accumulator = Accumulator * 256 + key.unicode();
    else
        Accumulator = 0;
    return Accumulator == AccessWord;
}

void DemonstrationKeys::AddBanks(InstrumentData& data)
{
    AddDemoBank(data, std::make_unique<InstrumentBank>(QByteArrayView("3")),
                {{3.0, 0, false, nullptr}, {230.5, 1, true, nullptr}, {120.3, 2, true, nullptr}});
    AddDemoBank(data, std::make_unique<InstrumentBank>(QByteArrayView("2")),
                {{2.0, 0, false, nullptr},
                 {100000000.0, 15, true, "50V"},
                 {15500000.0, 15, true, "50V"},
                 {12300000000.0, 15, true, "250V"}});
    for (const double sign : {1.0, -1.0}) {
        const int number = sign > 0 ? 12345678 : 12345679;
        AddDemoBank(data, std::make_unique<InstrumentNumber>(number),
                    {{12345678.0, 30, false, nullptr},
                     {0.0012, 19, true, nullptr},
                     {0.0, 5, true, nullptr},
                     {0.5, 20, true, nullptr},
                     {0.05, 20, true, nullptr},
                     {0.005, 20, true, nullptr},
                     {0.0005, 20, true, nullptr},
                     {0.00005, 20, true, nullptr},
                     {0.000005, 20, true, nullptr},
                     {0.0000005, 20, true, nullptr}},
                    sign);
    }
}
