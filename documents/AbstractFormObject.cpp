#include "documents/AbstractFormObject.h"

#include <algorithm>

AbstractFormObject::AbstractFormObject() = default;

AbstractFormObject::AbstractFormObject(const AbstractFormObject& other)
    : PropertiesAbstract(other),
      LeftBorder(other.LeftBorder),
      TopBorder(other.TopBorder),
      RightBorder(other.RightBorder),
      BottomBorder(other.BottomBorder),
      ForeColor(other.ForeColor),
      BackColor(other.BackColor)
{
    const TRect r = other.GetRect();
    // Qualified: a subclass's SetRect is not constructed yet.
    AbstractFormObject::SetRect(r.Left, r.Top, r.Right, r.Bottom);
}

AbstractFormObject::~AbstractFormObject() = default;

bool AbstractFormObject::Load(QIODevice& stream)
{
    if (!CheckCount(stream, 1, BaseRecordSize))
        return false;
    ReadByte(stream); // version
    Left = ReadInt32(stream);
    Top = ReadInt32(stream);
    Right = ReadInt32(stream);
    Bottom = ReadInt32(stream);
    LeftBorder = ReadSignedByte(stream);
    TopBorder = ReadSignedByte(stream);
    RightBorder = ReadSignedByte(stream);
    BottomBorder = ReadSignedByte(stream);
    ForeColor = ReadInt32(stream);
    BackColor = ReadInt32(stream);
    return true;
}

void AbstractFormObject::Save(QIODevice& stream) const
{
    WriteByte(stream, 1);
    WriteInt32(stream, Left);
    WriteInt32(stream, Top);
    WriteInt32(stream, Right);
    WriteInt32(stream, Bottom);
    WriteByte(stream, static_cast<uint8_t>(LeftBorder));
    WriteByte(stream, static_cast<uint8_t>(TopBorder));
    WriteByte(stream, static_cast<uint8_t>(RightBorder));
    WriteByte(stream, static_cast<uint8_t>(BottomBorder));
    WriteInt32(stream, ForeColor);
    WriteInt32(stream, BackColor);
}

void AbstractFormObject::WriteXml(QIODevice& out) const
{
    WriteXmlDouble(out, "Left", Left * 0.1);
    WriteXmlDouble(out, "Top", Top * 0.1);
    WriteXmlDouble(out, "Right", Right * 0.1);
    WriteXmlDouble(out, "Bottom", Bottom * 0.1);
    WriteXmlDouble(out, "LeftBorder", LeftBorder * 0.1);
    WriteXmlDouble(out, "TopBorder", TopBorder * 0.1);
    WriteXmlDouble(out, "RightBorder", RightBorder * 0.1);
    WriteXmlDouble(out, "BottomBorder", BottomBorder * 0.1);
    WriteXmlInt(out, "ForeColor", ForeColor);
    WriteXmlInt(out, "BackColor", BackColor);
}

TColor AbstractFormObject::GetForeColor() const
{
    return ForeColor;
}

TColor AbstractFormObject::GetBackColor() const
{
    return BackColor;
}

void AbstractFormObject::SetRect(int32_t a, int32_t b, int32_t c, int32_t d)
{
    const TRect r = NormalizedRect(a, b, c, d);
    Left = r.Left;
    Top = r.Top;
    Right = r.Right;
    Bottom = r.Bottom;
}

TRect AbstractFormObject::NormalizedRect(int32_t a, int32_t b, int32_t c, int32_t d)
{
    int64_t left = std::min(a, c);
    int64_t right = std::max(a, c);
    int64_t top = std::min(b, d);
    int64_t bottom = std::max(b, d);
    // Pushed back onto the page, keeping the size.
    if (left < 0) {
        right -= left;
        left = 0;
    }
    if (top < 0) {
        bottom -= top;
        top = 0;
    }
    return {ClampToInt32(left), ClampToInt32(top), ClampToInt32(right), ClampToInt32(bottom)};
}

TRect AbstractFormObject::GetRect() const
{
    return {Left, Top, Right, Bottom};
}

void AbstractFormObject::Draw(TCanvas& canvas, const DrawContext&) const
{
    canvas.SetPenColor(GetBackColor());
    canvas.SetBrushColor(GetBackColor());
    canvas.Rectangle({Left, Top, Right, Bottom});

    canvas.SetPenColor(clBlack);
    canvas.SetBrushColor(clBlack);
    const int64_t l = Left, t = Top, r = Right, b = Bottom;
    const auto bar = [&canvas](int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
        canvas.Rectangle({ClampToInt32(x0), ClampToInt32(y0), ClampToInt32(x1), ClampToInt32(y1)});
    };
    if (LeftBorder != 0)
        bar(l, t, l + LeftBorder, b);
    if (TopBorder != 0)
        bar(l, t, r, t + TopBorder);
    if (RightBorder != 0)
        bar(r - RightBorder, t, r, b);
    if (BottomBorder != 0)
        bar(l, b - BottomBorder, r, b);
}

void AbstractFormObject::DrawSelected(TCanvas& canvas, const DrawContext& context) const
{
    const TRect rect = GetRect();
    Draw(canvas, context);
    canvas.SetPenColor(clRed);
    canvas.SetBrushColor(clRed);
    canvas.SetPenWidth(0);
    const int64_t l = rect.Left, t = rect.Top, r = rect.Right, b = rect.Bottom;
    const auto handle = [&canvas](int64_t x0, int64_t y0) {
        canvas.Rectangle({ClampToInt32(x0), ClampToInt32(y0), ClampToInt32(x0 + 10), ClampToInt32(y0 + 10)});
    };
    handle(l, t);
    handle(r - 10, t);
    handle(l, b - 10);
    handle(r - 10, b - 10);
    canvas.SetBrushColor(clWhite);
}

QString AbstractFormObject::GetText() const
{
    return {};
}

QString AbstractFormObject::GetDisplayText() const
{
    return {};
}

void AbstractFormObject::SetText(const QString&) {}

void AbstractFormObject::Activate() {}

void AbstractFormObject::Fill(const InstrumentItem*) {}

bool AbstractFormObject::IsFillable() const
{
    return false;
}

bool AbstractFormObject::IsGroup() const
{
    return false;
}

std::unique_ptr<AbstractFormObject> AbstractFormObject::Clone() const
{
    return std::make_unique<AbstractFormObject>(*this);
}

int32_t AbstractFormObject::GetTypeCode() const
{
    return ObjectCode::Base;
}

void AbstractFormObject::SetType(int32_t) {}

int32_t AbstractFormObject::GetExtraFlag() const
{
    return 0;
}

TRect AbstractFormObject::GetInnerRect() const
{
    return {ClampToInt32(int64_t(Left) + LeftBorder), ClampToInt32(int64_t(Top) + TopBorder),
            ClampToInt32(int64_t(Right) - RightBorder), ClampToInt32(int64_t(Bottom) - BottomBorder)};
}

int AbstractFormObject::HitCorner(int32_t x, int32_t y) const
{
    const TRect r = GetRect();
    const bool nearRight = int64_t(r.Right) - x <= 9;
    const bool nearLeft = int64_t(x) - r.Left <= 9;
    const bool nearBottom = int64_t(r.Bottom) - y <= 9;
    const bool nearTop = int64_t(y) - r.Top <= 9;
    if (nearRight && nearBottom)
        return 4;
    if (nearLeft && nearBottom)
        return 3;
    if (nearLeft && nearTop)
        return 1;
    if (nearRight && nearTop)
        return 2;
    return 0;
}

void AbstractFormObject::MoveLeft(int32_t x)
{
    const TRect r = GetRect();
    SetRect(x, r.Top, ClampToInt32(x + r.Width()), r.Bottom);
}

void AbstractFormObject::MoveTop(int32_t y)
{
    const TRect r = GetRect();
    SetRect(r.Left, y, r.Right, ClampToInt32(y + r.Height()));
}

void AbstractFormObject::MoveRight(int32_t x)
{
    const TRect r = GetRect();
    const int64_t w = r.Width();
    if (w < x)
        SetRect(ClampToInt32(x - w), r.Top, x, r.Bottom);
    else
        SetRect(0, r.Top, ClampToInt32(w), r.Bottom);
}

void AbstractFormObject::MoveBottom(int32_t y)
{
    const TRect r = GetRect();
    const int64_t h = r.Height();
    if (h < y)
        SetRect(r.Left, ClampToInt32(y - h), r.Right, y);
    else
        SetRect(r.Left, 0, r.Right, ClampToInt32(h));
}

void AbstractFormObject::SetWidth(int32_t w)
{
    const TRect r = GetRect();
    SetRect(r.Left, r.Top, ClampToInt32(int64_t(r.Left) + w), r.Bottom);
}

void AbstractFormObject::SetHeight(int32_t h)
{
    const TRect r = GetRect();
    SetRect(r.Left, r.Top, r.Right, ClampToInt32(int64_t(r.Top) + h));
}
