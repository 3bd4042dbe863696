#include "documents/GroupObject.h"

#include "documents/BarcodeObject.h"
#include "documents/ChoiceObject.h"
#include "documents/GlobalTextObject.h"
#include "documents/LabelObject.h"
#include "documents/LinkObject.h"
#include "documents/MeasureObject.h"
#include "documents/PictureObject.h"
#include "documents/StyledText.h"
#include "documents/TextObject.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace {

using Creator = std::unique_ptr<AbstractFormObject> (*)(GlobalTextStorage*);

template <typename T>
std::unique_ptr<AbstractFormObject> Make(GlobalTextStorage*)
{
    return std::make_unique<T>();
}

template <typename T>
std::unique_ptr<AbstractFormObject> MakeOnStore(GlobalTextStorage* globalTexts)
{
    return std::make_unique<T>(globalTexts);
}

// The kinds of object a group record holds: the type code, how the object
// is made, and the element that wraps its XML (a group writes its own).
struct Kind
{
    int32_t code;
    Creator create;
    const char* element;
};

constexpr Kind Kinds[] = {
    {ObjectCode::Group, MakeOnStore<GroupObject>, nullptr},
    {ObjectCode::Barcode, Make<BarcodeObject>, "Barcode"},
    {ObjectCode::Global, MakeOnStore<GlobalTextObject>, "Global"},
    {ObjectCode::Choice, Make<ChoiceObject>, "Choice"},
    {ObjectCode::Link, Make<LinkObject>, "Link"},
    {ObjectCode::Label, Make<LabelObject>, "Label"},
    {ObjectCode::Measure, Make<MeasureObject>, "Measure"},
    {ObjectCode::Picture, Make<PictureObject>, "Picture"},
    {ObjectCode::Text, Make<TextObject>, "Text"},
};

const Kind* FindKind(int32_t code)
{
    for (const Kind& kind : Kinds)
        if (kind.code == code)
            return &kind;
    return nullptr;
}

// The record column a text field's Type (low four bits) is filled from; -1
// for none. File name, modification time and location never go into a form.
constexpr std::array<int, 16> RowColumnOfType = {-1, -1, 0, 1, 2, 3, 6, 7, 8, 9, 10, -1, -1, -1, -1, -1};

// Version byte and child count.
constexpr qint64 GroupRecordMinSize = 1 + 4;

// One axis of the proportional resize: the old union's start and extent onto
// the new ones. A union of no extent cannot be scaled; it keeps its extent
// and only moves.
struct Scale
{
    Scale(int32_t oldStart, int64_t oldExtent, int32_t newStart, int64_t newExtent)
        : from(oldStart), to(newStart),
          factor(oldExtent == 0 ? 1.0f : static_cast<float>(double(newExtent) / double(oldExtent)))
    {
    }
    int32_t operator()(int32_t value) const
    {
        const double scaled = std::trunc((double(value) - from) * double(factor) + to);
        return static_cast<int32_t>(std::clamp(scaled, double(INT32_MIN), double(INT32_MAX)));
    }
    int32_t FontSize(int32_t size) const
    {
        const double scaled = std::trunc(double(size) * double(factor));
        return static_cast<int32_t>(std::clamp(scaled, 1.0, double(INT32_MAX)));
    }

    int32_t from;
    int32_t to;
    float factor;
};

// Points on an edge belong to no object.
bool StrictlyInside(const TRect& r, int32_t x, int32_t y)
{
    return r.Left < x && x < r.Right && r.Top < y && y < r.Bottom;
}

// Text aligned 9 and above runs upward: its height follows the width.
constexpr int32_t FirstRotatedAlign = 9;

} // namespace

std::unique_ptr<AbstractFormObject> CreateFormObject(int32_t typeCode, GlobalTextStorage* globalTexts)
{
    const Kind* kind = FindKind(typeCode);
    return kind ? kind->create(globalTexts) : nullptr;
}

GroupObject::GroupObject(GlobalTextStorage* globalTexts) : m_globalTexts(globalTexts) {}

GroupObject::GroupObject(const GroupObject& other) : AbstractFormObject(other), m_globalTexts(other.m_globalTexts)
{
    m_items.reserve(other.m_items.size());
    for (const auto& item : other.m_items)
        m_items.push_back(item->Clone());
}

GroupObject::~GroupObject()
{
    DeleteAll();
}

bool GroupObject::Load(QIODevice& stream)
{
    return LoadNested(stream, 0);
}

bool GroupObject::LoadNested(QIODevice& stream, int depth)
{
    DeleteAll();
    if (depth > MaxNestingDepth) {
        MarkStreamDamaged(stream);
        return false;
    }
    if (!CheckCount(stream, 1, GroupRecordMinSize))
        return false;
    ReadByte(stream); // version
    const int32_t count = ReadInt32(stream);
    if (count < 0) {
        MarkStreamDamaged(stream);
        return false;
    }
    // The count is not trusted: every child costs at least its type code, so
    // the bytes left end a count that is too large.
    for (int32_t i = 0; i < count; ++i) {
        if (!CheckCount(stream, 1, 4))
            return false;
        const int32_t code = ReadInt32(stream);
        if (code == 0)
            break;
        std::unique_ptr<AbstractFormObject> object = CreateFormObject(code, m_globalTexts);
        // Records carry no length: an unknown one cannot be passed over.
        if (!object) {
            MarkStreamDamaged(stream);
            return false;
        }
        auto* group = dynamic_cast<GroupObject*>(object.get());
        const bool loaded = group ? group->LoadNested(stream, depth + 1) : object->Load(stream);
        if (!loaded) {
            MarkStreamDamaged(stream);
            return false;
        }
        m_items.push_back(std::move(object));
    }
    return !IsStreamDamaged(stream);
}

void GroupObject::Save(QIODevice& stream) const
{
    WriteByte(stream, 1);
    WriteInt32(stream, GetCount());
    for (const auto& item : m_items) {
        WriteInt32(stream, item->GetTypeCode());
        item->Save(stream);
    }
}

void GroupObject::WriteXml(QIODevice& out) const
{
    const char* element = GetTypeCode() == ObjectCode::Page ? "Page" : "Group";
    WriteXmlOpenTag(out, element);
    WriteXmlInt(out, "Count", GetCount());
    for (const auto& item : m_items) {
        const Kind* kind = FindKind(item->GetTypeCode());
        const char* wrapper = kind ? kind->element : nullptr;
        if (wrapper)
            WriteXmlOpenTag(out, wrapper);
        item->WriteXml(out);
        if (wrapper)
            WriteXmlCloseTag(out, wrapper);
    }
    WriteXmlCloseTag(out, element);
}

void GroupObject::SetRect(int32_t a, int32_t b, int32_t c, int32_t d)
{
    if (m_items.empty()) {
        AbstractFormObject::SetRect(a, b, c, d);
        return;
    }
    // A drag past the opposite corner gives the corners swapped: taken as
    // they come they would mirror the children and zero their fonts.
    const TRect target = NormalizedRect(a, b, c, d);
    const TRect old = GetRect();
    const Scale sx(old.Left, old.Width(), target.Left, target.Width());
    const Scale sy(old.Top, old.Height(), target.Top, target.Height());
    for (const auto& item : m_items) {
        const TRect r = item->GetRect();
        item->SetRect(sx(r.Left), sy(r.Top), sx(r.Right), sy(r.Bottom));
        if (auto* text = dynamic_cast<TextObject*>(item.get())) {
            const Scale& along = text->GetAlign() >= FirstRotatedAlign ? sx : sy;
            text->SetSize(along.FontSize(text->GetSize()));
        }
    }
}

TRect GroupObject::GetRect() const
{
    if (m_items.empty())
        return AbstractFormObject::GetRect();
    // Each child once: nested groups would otherwise be measured twice per
    // level, which doubles the work with every level of nesting.
    TRect result = m_items.front()->GetRect();
    for (auto it = std::next(m_items.begin()); it != m_items.end(); ++it) {
        const TRect r = (*it)->GetRect();
        result.Left = std::min(result.Left, r.Left);
        result.Top = std::min(result.Top, r.Top);
        result.Right = std::max(result.Right, r.Right);
        result.Bottom = std::max(result.Bottom, r.Bottom);
    }
    return result;
}

FontSpec GroupObject::FieldNumberFont()
{
    return FontSpec{14, 0, 400, false, QByteArrayLiteral("Arial")};
}

void GroupObject::Draw(TCanvas& canvas, const DrawContext& context) const
{
    if (context.FieldNumberPrefix.isEmpty()) {
        for (const auto& item : m_items)
            item->Draw(canvas, context);
        return;
    }
    // Each child is drawn under its own number, so its children (when it is
    // a group) are numbered below it.
    DrawContext inner = context;
    for (size_t i = 0; i < m_items.size(); ++i) {
        inner.FieldNumberPrefix = QStringLiteral("%1:%2").arg(context.FieldNumberPrefix).arg(i + 1);
        m_items[i]->Draw(canvas, inner);
        const TRect r = m_items[i]->GetRect();
        canvas.SetFont(FieldNumberFont());
        canvas.TextOut(r.Left, r.Top, inner.FieldNumberPrefix);
    }
}

bool GroupObject::IsGroup() const
{
    return true;
}

std::unique_ptr<AbstractFormObject> GroupObject::Clone() const
{
    return std::make_unique<GroupObject>(*this);
}

int32_t GroupObject::GetTypeCode() const
{
    return ObjectCode::Group;
}

AbstractFormObject* GroupObject::GetObject(int index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_items[static_cast<size_t>(index)].get();
}

AbstractFormObject* GroupObject::AddObject(std::unique_ptr<AbstractFormObject> object)
{
    if (!object)
        return nullptr;
    m_items.push_back(std::move(object));
    return m_items.back().get();
}

int GroupObject::IndexOf(const AbstractFormObject* object) const
{
    if (!object)
        return -1;
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].get() == object)
            return static_cast<int>(i);
    return -1;
}

void GroupObject::DeleteObject(const AbstractFormObject* object)
{
    RemoveObject(object);
}

std::unique_ptr<AbstractFormObject> GroupObject::RemoveObject(const AbstractFormObject* object)
{
    const int index = IndexOf(object);
    if (index < 0)
        return nullptr;
    std::unique_ptr<AbstractFormObject> removed = std::move(m_items[static_cast<size_t>(index)]);
    m_items.erase(m_items.begin() + index);
    return removed;
}

std::vector<std::unique_ptr<AbstractFormObject>> GroupObject::Clear()
{
    return std::exchange(m_items, {});
}

void GroupObject::DeleteAll()
{
    while (!m_items.empty())
        m_items.pop_back();
}

std::unique_ptr<AbstractFormObject> GroupObject::ReplaceObject(const AbstractFormObject* old,
                                                               std::unique_ptr<AbstractFormObject> replacement)
{
    const int index = IndexOf(old);
    if (index < 0 || !replacement)
        return replacement;
    m_items[static_cast<size_t>(index)] = std::move(replacement);
    return nullptr;
}

AbstractFormObject* GroupObject::FindObjectAt(int32_t x, int32_t y) const
{
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
        if (StrictlyInside((*it)->GetRect(), x, y))
            return it->get();
    }
    return nullptr;
}

AbstractFormObject* GroupObject::FindObjectAtDeep(int32_t x, int32_t y) const
{
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
        if (const auto* group = dynamic_cast<const GroupObject*>(it->get()))
            if (AbstractFormObject* inner = group->FindObjectAtDeep(x, y))
                return inner;
        if (StrictlyInside((*it)->GetRect(), x, y))
            return it->get();
    }
    return nullptr;
}

void GroupObject::ClearFilledTexts()
{
    for (const auto& item : m_items) {
        if (auto* group = dynamic_cast<GroupObject*>(item.get()))
            group->ClearFilledTexts();
        else if (auto* text = dynamic_cast<TextObject*>(item.get()))
            text->ClearFilledText();
    }
}

void GroupObject::ClearMeasuredValues()
{
    for (const auto& item : m_items) {
        if (auto* group = dynamic_cast<GroupObject*>(item.get()))
            group->ClearMeasuredValues();
        else if (auto* measure = dynamic_cast<MeasureObject*>(item.get()))
            measure->SetValue(nullptr);
    }
}

void GroupObject::FillFromRevisionRow(const std::function<QString(int field)>& field)
{
    if (!field)
        return;
    for (const auto& item : m_items) {
        auto* text = dynamic_cast<TextObject*>(item.get());
        if (!text)
            continue;
        const int column = RowColumnOfType[static_cast<size_t>(text->GetType() & 15)];
        if (column < 0)
            continue;
        const QString value = field(column);
        if (!value.isEmpty())
            text->SetText(value);
    }
}

void GroupObject::SaveFilledValues(QIODevice& stream) const
{
    const int32_t code = GetTypeCode();
    WriteInt32(stream, code);
    for (const auto& item : m_items) {
        if (const auto* group = dynamic_cast<const GroupObject*>(item.get())) {
            group->SaveFilledValues(stream);
        } else if (const auto* text = dynamic_cast<const TextObject*>(item.get())) {
            if (text->GetType() <= TextObject::EditableText)
                continue;
            const QString value = TextUpToNul(text->GetDisplayText());
            if (value.isEmpty())
                continue;
            WriteInt32(stream, ObjectCode::Text);
            WriteInt32(stream, text->GetType());
            WriteWideString(stream, value);
        }
    }
    WriteInt32(stream, code == ObjectCode::Page ? ObjectCode::EndPage : ObjectCode::EndGroup);
}
