#include "documents/QuillfenSelection.h"

#include "documents/GlobalTextObject.h"
#include "documents/GroupObject.h"
#include "documents/MeasureObject.h"
#include "documents/PictureObject.h"
#include "documents/TextObject.h"

#include <algorithm>

namespace {

using Objects = std::vector<AbstractFormObject*>;

// The selected objects of one kind (subclasses included), in list order.
template <typename Kind, typename Fn>
void ForEach(const Objects& objects, Fn fn)
{
    for (AbstractFormObject* object : objects)
        if (auto* kind = dynamic_cast<Kind*>(object))
            fn(*kind);
}

template <typename Kind>
Kind* FirstOf(const Objects& objects)
{
    for (AbstractFormObject* object : objects)
        if (auto* kind = dynamic_cast<Kind*>(object))
            return kind;
    return nullptr;
}

// The value every selected object of the kind shares; Mixed when they
// differ or there is none.
template <typename Kind, typename Get>
int32_t CommonValue(const Objects& objects, Get get)
{
    std::optional<int32_t> common;
    bool mixed = false;
    ForEach<Kind>(objects, [&](const Kind& object) {
        const int32_t value = get(object);
        if (!common)
            common = value;
        else if (*common != value)
            mixed = true;
    });
    return mixed ? QuillfenSelection::Mixed : common.value_or(QuillfenSelection::Mixed);
}

int32_t CommonRectValue(const Objects& objects, int64_t (*get)(const TRect&))
{
    return CommonValue<AbstractFormObject>(
        objects, [get](const AbstractFormObject& o) { return ClampToInt32(get(o.GetRect())); });
}

} // namespace

QuillfenSelection::QuillfenSelection() = default;

QuillfenSelection::~QuillfenSelection() = default;

AbstractFormObject* QuillfenSelection::GetObject(int index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_objects[static_cast<size_t>(index)];
}

void QuillfenSelection::AddObject(AbstractFormObject* object)
{
    if (object && !Contains(object))
        m_objects.push_back(object);
}

void QuillfenSelection::AddGroupObjects(const GroupObject& group)
{
    for (int i = 0; i < group.GetCount(); ++i)
        AddObject(group.GetObject(i));
}

void QuillfenSelection::Clear()
{
    m_objects.clear();
}

bool QuillfenSelection::Contains(const AbstractFormObject* object) const
{
    return std::find(m_objects.begin(), m_objects.end(), object) != m_objects.end();
}

// --- Geometry ---------------------------------------------------------------------

TRect QuillfenSelection::GetBounds() const
{
    if (m_objects.empty())
        return {};
    TRect bounds = m_objects.front()->GetRect();
    for (const AbstractFormObject* object : m_objects) {
        const TRect r = object->GetRect();
        bounds.Left = std::min(bounds.Left, r.Left);
        bounds.Top = std::min(bounds.Top, r.Top);
        bounds.Right = std::max(bounds.Right, r.Right);
        bounds.Bottom = std::max(bounds.Bottom, r.Bottom);
    }
    return bounds;
}

void QuillfenSelection::MoveTo(int32_t x, int32_t y)
{
    if (m_objects.empty())
        return;
    const TRect bounds = GetBounds();
    const int64_t dx = int64_t(x) - bounds.Left;
    const int64_t dy = int64_t(y) - bounds.Top;
    for (AbstractFormObject* object : m_objects) {
        const TRect r = object->GetRect();
        object->MoveLeft(ClampToInt32(r.Left + dx));
        object->MoveTop(ClampToInt32(r.Top + dy));
    }
}

bool QuillfenSelection::ContainsPoint(int32_t x, int32_t y) const
{
    if (m_objects.empty())
        return false;
    const TRect b = GetBounds();
    return b.Left < x && x < b.Right && b.Top < y && y < b.Bottom;
}

int32_t QuillfenSelection::GetLeft() const
{
    return CommonRectValue(m_objects, [](const TRect& r) -> int64_t { return r.Left; });
}

int32_t QuillfenSelection::GetTop() const
{
    return CommonRectValue(m_objects, [](const TRect& r) -> int64_t { return r.Top; });
}

int32_t QuillfenSelection::GetRight() const
{
    return CommonRectValue(m_objects, [](const TRect& r) -> int64_t { return r.Right; });
}

int32_t QuillfenSelection::GetBottom() const
{
    return CommonRectValue(m_objects, [](const TRect& r) -> int64_t { return r.Bottom; });
}

int32_t QuillfenSelection::GetWidth() const
{
    return CommonRectValue(m_objects, [](const TRect& r) { return r.Width(); });
}

int32_t QuillfenSelection::GetHeight() const
{
    return CommonRectValue(m_objects, [](const TRect& r) { return r.Height(); });
}

void QuillfenSelection::SetLeft(int32_t value)
{
    ForEach<AbstractFormObject>(m_objects, [=](AbstractFormObject& o) { o.MoveLeft(value); });
}

void QuillfenSelection::SetTop(int32_t value)
{
    ForEach<AbstractFormObject>(m_objects, [=](AbstractFormObject& o) { o.MoveTop(value); });
}

void QuillfenSelection::SetRight(int32_t value)
{
    ForEach<AbstractFormObject>(m_objects, [=](AbstractFormObject& o) { o.MoveRight(value); });
}

void QuillfenSelection::SetBottom(int32_t value)
{
    ForEach<AbstractFormObject>(m_objects, [=](AbstractFormObject& o) { o.MoveBottom(value); });
}

void QuillfenSelection::SetWidth(int32_t value)
{
    ForEach<AbstractFormObject>(m_objects, [=](AbstractFormObject& o) { o.SetWidth(value); });
}

void QuillfenSelection::SetHeight(int32_t value)
{
    ForEach<AbstractFormObject>(m_objects, [=](AbstractFormObject& o) { o.SetHeight(value); });
}

// --- Borders and colours ------------------------------------------------------------

int32_t QuillfenSelection::GetLeftBorder() const
{
    return CommonValue<AbstractFormObject>(m_objects, [](const auto& o) { return o.GetLeftBorder(); });
}

int32_t QuillfenSelection::GetTopBorder() const
{
    return CommonValue<AbstractFormObject>(m_objects, [](const auto& o) { return o.GetTopBorder(); });
}

int32_t QuillfenSelection::GetRightBorder() const
{
    return CommonValue<AbstractFormObject>(m_objects, [](const auto& o) { return o.GetRightBorder(); });
}

int32_t QuillfenSelection::GetBottomBorder() const
{
    return CommonValue<AbstractFormObject>(m_objects, [](const auto& o) { return o.GetBottomBorder(); });
}

void QuillfenSelection::SetLeftBorder(int32_t width)
{
    ForEach<AbstractFormObject>(m_objects, [=](AbstractFormObject& o) { o.SetLeftBorder(width); });
}

void QuillfenSelection::SetTopBorder(int32_t width)
{
    ForEach<AbstractFormObject>(m_objects, [=](AbstractFormObject& o) { o.SetTopBorder(width); });
}

void QuillfenSelection::SetRightBorder(int32_t width)
{
    ForEach<AbstractFormObject>(m_objects, [=](AbstractFormObject& o) { o.SetRightBorder(width); });
}

void QuillfenSelection::SetBottomBorder(int32_t width)
{
    ForEach<AbstractFormObject>(m_objects, [=](AbstractFormObject& o) { o.SetBottomBorder(width); });
}

TColor QuillfenSelection::GetForeColor() const
{
    return m_objects.empty() ? 0 : m_objects.front()->GetStoredForeColor();
}

TColor QuillfenSelection::GetBackColor() const
{
    return m_objects.empty() ? 0 : m_objects.front()->GetStoredBackColor();
}

void QuillfenSelection::SetForeColor(TColor color)
{
    ForEach<AbstractFormObject>(m_objects, [=](AbstractFormObject& o) { o.SetForeColor(color); });
}

void QuillfenSelection::SetBackColor(TColor color)
{
    ForEach<AbstractFormObject>(m_objects, [=](AbstractFormObject& o) { o.SetBackColor(color); });
}

// --- Text properties --------------------------------------------------------------------

bool QuillfenSelection::HasTextObject() const
{
    return GetFirstTextObject() != nullptr;
}

TextObject* QuillfenSelection::GetFirstTextObject() const
{
    return FirstOf<TextObject>(m_objects);
}

std::optional<QByteArray> QuillfenSelection::GetFontName() const
{
    std::optional<QByteArray> common;
    bool mixed = false;
    ForEach<TextObject>(m_objects, [&](const TextObject& o) {
        const QByteArray name = o.GetFontName();
        if (!common)
            common = name;
        else if (*common != name)
            mixed = true;
    });
    return mixed ? std::nullopt : common;
}

void QuillfenSelection::SetFontName(QByteArrayView name)
{
    ForEach<TextObject>(m_objects, [=](TextObject& o) { o.SetFontName(name); });
}

int32_t QuillfenSelection::GetSize() const
{
    return CommonValue<TextObject>(m_objects, [](const TextObject& o) { return o.GetSize(); });
}

void QuillfenSelection::SetSize(int32_t size)
{
    ForEach<TextObject>(m_objects, [=](TextObject& o) { o.SetSize(size); });
}

int32_t QuillfenSelection::GetAlign() const
{
    return CommonValue<TextObject>(m_objects, [](const TextObject& o) { return o.GetAlign(); });
}

void QuillfenSelection::SetAlign(int32_t align)
{
    ForEach<TextObject>(m_objects, [=](TextObject& o) { o.SetAlign(align); });
}

int32_t QuillfenSelection::GetType() const
{
    return CommonValue<TextObject>(m_objects, [](const TextObject& o) { return o.GetType(); });
}

void QuillfenSelection::SetType(int32_t type)
{
    ForEach<TextObject>(m_objects, [=](TextObject& o) { o.SetType(type); });
}

// --- Kind-specific properties ---------------------------------------------------------------

bool QuillfenSelection::HasGlobalTextObject() const
{
    return FirstOf<GlobalTextObject>(m_objects) != nullptr;
}

bool QuillfenSelection::HasMeasureObject() const
{
    return GetFirstMeasureObject() != nullptr;
}

bool QuillfenSelection::HasPictureObject() const
{
    return FirstOf<PictureObject>(m_objects) != nullptr;
}

int32_t QuillfenSelection::GetGID() const
{
    return CommonValue<GlobalTextObject>(m_objects, [](const GlobalTextObject& o) { return o.GetGID(); });
}

void QuillfenSelection::SetGID(int32_t gid)
{
    ForEach<GlobalTextObject>(m_objects, [=](GlobalTextObject& o) { o.SetGID(gid); });
}

MeasureObject* QuillfenSelection::GetFirstMeasureObject() const
{
    return FirstOf<MeasureObject>(m_objects);
}

int32_t QuillfenSelection::GetFormat() const
{
    return CommonValue<MeasureObject>(m_objects, [](const MeasureObject& o) { return o.GetFormat(); });
}

void QuillfenSelection::SetFormat(int32_t format)
{
    ForEach<MeasureObject>(m_objects, [=](MeasureObject& o) { o.SetFormat(format); });
}

int32_t QuillfenSelection::GetDecimalPosition() const
{
    return CommonValue<MeasureObject>(m_objects,
                                      [](const MeasureObject& o) { return o.GetDecimalPosition(); });
}

void QuillfenSelection::SetDecimalPosition(int32_t position)
{
    ForEach<MeasureObject>(m_objects, [=](MeasureObject& o) { o.SetDecimalPosition(position); });
}

const MeasureLimit* QuillfenSelection::GetLimit() const
{
    const MeasureLimit* limit = nullptr;
    ForEach<MeasureObject>(m_objects, [&](const MeasureObject& o) {
        if (!limit)
            limit = o.GetLimit();
    });
    return limit;
}

void QuillfenSelection::SetLimit(const MeasureLimit* limit)
{
    ForEach<MeasureObject>(m_objects, [=](MeasureObject& o) { o.SetLimit(limit); });
}

std::vector<bool> QuillfenSelection::CheckSymbols(int itemCount) const
{
    std::vector<bool> checked(static_cast<size_t>(std::max(itemCount, 0)), false);
    ForEach<MeasureObject>(m_objects, [&](const MeasureObject& o) {
        for (int slot = 0; slot < MeasureObject::SymbolCount; ++slot) {
            const int32_t code = o.GetSymbol(slot);
            if (code >= 0 && code < itemCount)
                checked[static_cast<size_t>(code)] = true;
        }
    });
    return checked;
}

void QuillfenSelection::AddSymbol(int32_t quantity)
{
    ForEach<MeasureObject>(m_objects, [=](MeasureObject& o) { o.AddSymbol(quantity); });
}

void QuillfenSelection::RemoveSymbol(int32_t quantity)
{
    ForEach<MeasureObject>(m_objects, [=](MeasureObject& o) { o.RemoveSymbol(quantity); });
}

void QuillfenSelection::SetPicture(const TGraphic* graphic)
{
    ForEach<PictureObject>(m_objects, [=](PictureObject& o) { o.SetGraphic(graphic); });
}
