#include "documents/ChoiceObject.h"

#include "documents/StyledText.h"

namespace {

constexpr char16_t Separator = u';';
// version byte and Index
constexpr qint64 ChoiceRecordSize = 1 + 4;

} // namespace

ChoiceObject::ChoiceObject()
{
    Type = FixedText;
}

ChoiceObject::ChoiceObject(const ChoiceObject& other) : TextObject(other)
{
    Index = 0;
    Type = FixedText;
}

ChoiceObject::~ChoiceObject() = default;

bool ChoiceObject::Load(QIODevice& stream)
{
    if (!TextObject::Load(stream) || !CheckCount(stream, 1, ChoiceRecordSize))
        return false;
    ReadByte(stream); // version
    Index = ReadInt32(stream);
    return true;
}

void ChoiceObject::Save(QIODevice& stream) const
{
    TextObject::Save(stream);
    WriteByte(stream, 1);
    WriteInt32(stream, Index);
}

QString ChoiceObject::GetDisplayText() const
{
    const QStringView text(Text);
    const qsizetype length = text.size();
    char16_t style = Style::Normal;
    qsizetype pos = 0;
    // Find the start of alternative Index and the style in force there.
    for (int32_t i = 0; i < Index && pos < length;) {
        const char16_t c = text[pos].unicode();
        if (c == Style::Esc) {
            if (pos + 1 < length)
                style = text[pos + 1].unicode();
            pos += 2;
            continue;
        }
        if (c == Separator)
            ++i;
        ++pos;
    }
    qsizetype end = std::min(pos, length);
    while (end < length && text[end] != Separator)
        end += text[end] == Style::Esc ? 2 : 1;
    end = std::min(end, length);

    QString display;
    display.reserve(end - pos + 2);
    display += QChar(Style::Esc);
    display += QChar(style);
    if (pos < end)
        display += text.mid(pos, end - pos);
    return display;
}

void ChoiceObject::SetText(const QString& text)
{
    TextObject::SetText(text);
    Index = 0;
}

int32_t ChoiceObject::CountAlternatives() const
{
    const QStringView text(Text);
    int32_t count = 1;
    for (qsizetype pos = 0; pos < text.size(); ++pos) {
        if (text[pos] == Style::Esc)
            ++pos;
        else if (text[pos] == Separator)
            ++count;
    }
    return count;
}

void ChoiceObject::Activate()
{
    // An Index read from a file may lie anywhere; past the last alternative
    // the next click starts again at the first.
    if (Index < 0 || Index >= CountAlternatives() - 1)
        Index = 0;
    else
        ++Index;
}

bool ChoiceObject::IsFillable() const
{
    return false;
}

std::unique_ptr<AbstractFormObject> ChoiceObject::Clone() const
{
    return std::make_unique<ChoiceObject>(*this);
}

int32_t ChoiceObject::GetTypeCode() const
{
    return ObjectCode::Choice;
}

void ChoiceObject::SetType(int32_t)
{
    Type = FixedText;
}

int32_t ChoiceObject::GetExtraFlag() const
{
    return 0;
}
