#include "documents/BarcodeObject.h"

#include "documents/Interleaved25.h"
#include "documents/StyledText.h"

#include <array>

namespace {

enum class Band { None, Top, Bottom, Left, Right };

// The side of the digits' band for each alignment code.
constexpr std::array<Band, 18> BandOfAlign = {
    Band::Top,  Band::None, Band::Bottom, // 0 1 2
    Band::Top,  Band::None, Band::Bottom, // 3 4 5
    Band::Top,  Band::None, Band::Bottom, // 6 7 8
    Band::Left, Band::Left, Band::Left,   // 9 10 11
    Band::None, Band::None, Band::None,   // 12 13 14
    Band::Right, Band::Right, Band::Right, // 15 16 17
};

Band BandFor(int32_t align)
{
    return align >= 0 && align < static_cast<int32_t>(BandOfAlign.size()) ? BandOfAlign[align] : Band::None;
}

TRect MakeRect(int64_t l, int64_t t, int64_t r, int64_t b)
{
    return {ClampToInt32(l), ClampToInt32(t), ClampToInt32(r), ClampToInt32(b)};
}

// The inner rectangle cut in two along the band's edge: the digits' band
// (empty when they are not drawn) and the bars' area beside it.
struct Split
{
    TRect band;
    TRect bars;
};

Split SplitInner(const TRect& in, Band band, int64_t size)
{
    switch (band) {
    case Band::Top:
        return {MakeRect(in.Left, in.Top, in.Right, in.Top + size),
                MakeRect(in.Left, in.Top + size, in.Right, in.Bottom)};
    case Band::Bottom:
        return {MakeRect(in.Left, in.Bottom - size, in.Right, in.Bottom),
                MakeRect(in.Left, in.Top, in.Right, in.Bottom - size)};
    case Band::Left:
        return {MakeRect(in.Left, in.Top, in.Left + size, in.Bottom),
                MakeRect(in.Left + size, in.Top, in.Right, in.Bottom)};
    case Band::Right:
        return {MakeRect(in.Right - size, in.Top, in.Right, in.Bottom),
                MakeRect(in.Left, in.Top, in.Right - size, in.Bottom)};
    case Band::None:
        break;
    }
    return {{}, in};
}

} // namespace

BarcodeObject::BarcodeObject()
{
    BarcodeObject::SetText(QStringLiteral("00000000"));
}

BarcodeObject::BarcodeObject(const BarcodeObject& other) = default;

BarcodeObject::~BarcodeObject() = default;

void BarcodeObject::SetRect(int32_t a, int32_t b, int32_t c, int32_t d)
{
    TextObject::SetRect(a, b, c, d);
}

TRect BarcodeObject::GetTextBand() const
{
    return SplitInner(GetInnerRect(), BandFor(Align), Size).band;
}

TRect BarcodeObject::GetBarArea() const
{
    return SplitInner(GetInnerRect(), BandFor(Align), Size).bars;
}

void BarcodeObject::Draw(TCanvas& canvas, const DrawContext& context) const
{
    AbstractFormObject::Draw(canvas, context);
    const Band band = BandFor(Align);
    const Split split = SplitInner(GetInnerRect(), band, Size);
    if (band != Band::None)
        DrawTextBox(canvas, split.band, GetDisplayText());

    const TRect& area = split.bars;
    canvas.SetBrushColor(ForeColor);
    canvas.SetPenColor(ForeColor);
    canvas.SetPenWidth(1);
    for (const BarcodeBar& bar : Interleaved25Bars(Text, area.Left, area.Right))
        canvas.Rectangle({bar.left, area.Top, bar.right, area.Bottom});
    canvas.SetBrushColor(BackColor);
}

void BarcodeObject::SetText(const QString& text)
{
    const QString source = TextUpToNul(text);
    QString digits;
    for (QChar c : QStringView(source).left(MaxDigits))
        if (c >= u'0' && c <= u'9')
            digits += c;
    if (digits.size() % 2 != 0)
        digits += u'0';
    TextObject::SetText(digits);
}

std::unique_ptr<AbstractFormObject> BarcodeObject::Clone() const
{
    return std::make_unique<BarcodeObject>(*this);
}

int32_t BarcodeObject::GetTypeCode() const
{
    return ObjectCode::Barcode;
}

void BarcodeObject::SetType(int32_t type)
{
    Type = type != 0 ? 1 : 0;
}
