// Import of the data body of the older single-stream documents.

#include "instruments/InstrumentData.h"
#include "instruments/ValueText.h"

#include <QtEndian>

#include <array>

namespace {

constexpr qint64 kTagSize = 8;
constexpr QByteArrayView kDataTag("Data    ");
constexpr QByteArrayView kHeadTag("DataHead");
constexpr QByteArrayView kItemTag("DataItem");
constexpr QByteArrayView kEndTag("DataEof ");

// The old reader's text buffer held 1032 UTF-16 units with the terminator;
// the stored length counts bytes.
constexpr int32_t kMaxTextBytes = 2 * (1032 - 1);
// Three int32 after a bank header tag, and after an item's text.
constexpr qint64 kTrailerSize = 3 * 4;
// Item kinds up to this one are plain texts; above, kind - 2 is the quantity.
constexpr int32_t kLastTextKind = 2;

// The scale letters of the old texts: case matters, and no others.
struct LegacyScale
{
    char letter;
    double factor;
};
constexpr std::array<LegacyScale, 4> kLegacyScales{{
    {'G', 1e9},
    {'M', 1e6},
    {'k', 1e3},
    {'m', 1e-3},
}};

constexpr char16_t kEsc = 0x1b;

bool IsLegacySpace(QChar c)
{
    const char16_t u = c.unicode();
    return u == ' ' || (u >= '\t' && u <= '\r');
}

QString DecodeUtf16Le(const QByteArray& bytes)
{
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(qFromLittleEndian<quint16>(bytes.constData() + 2 * i));
    const qsizetype end = text.indexOf(QChar(0));
    if (end >= 0)
        text.truncate(end);
    return text;
}

bool Damaged(QIODevice& stream)
{
    MarkStreamDamaged(stream);
    return false;
}

} // namespace

double InstrumentData::ParseLegacyValue(const QString& text, bool& over)
{
    over = false;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (IsLegacySpace(c) || c.unicode() == kEsc) {
            ++i;
            continue;
        }
        if (c.isDigit() && c.unicode() < 0x80)
            break;
        if (c == u'-')
            break;
        // A word such as a symbol: skip it with the '=' or '>' that ends it.
        while (i < text.size() && !IsLegacySpace(text[i]) && text[i] != u'=' && text[i] != u'>')
            ++i;
        if (i < text.size()) {
            if (text[i] == u'>')
                over = true;
            ++i;
        }
    }
    if (i >= text.size())
        return 0;

    // Only ASCII can belong to the number; anything else just ends it.
    QByteArray ascii = text.mid(i, ValueText::MaxChars).toLatin1();
    for (char& c : ascii) {
        if (static_cast<unsigned char>(c) >= 0x80)
            c = '?';
    }
    const ValueText::Number number = ValueText::ReadNumber(ascii);
    const qsizetype next = ValueText::SkipSpace(ascii, number.length);
    if (next < ascii.size()) {
        for (const LegacyScale& scale : kLegacyScales) {
            if (ascii[next] == scale.letter)
                return number.value * scale.factor;
        }
    }
    return number.value;
}

bool InstrumentData::ImportLegacy(QIODevice& stream, LegacyImportList& list)
{
    if (ReadBytes(stream, kTagSize) != kDataTag)
        return false;

    InstrumentBank* current = nullptr;
    for (;;) {
        // A body that ends without its end tag ends at the end of the file.
        if (BytesLeft(stream) < kTagSize)
            return Damaged(stream);
        const QByteArray tag = ReadBytes(stream, kTagSize);

        if (tag == kEndTag)
            return true;

        if (tag == kHeadTag) {
            if (BytesLeft(stream) < kTrailerSize)
                return Damaged(stream);
            ReadInt32(stream);
            const int32_t number = ReadInt32(stream);
            ReadInt32(stream);
            current = AddBank(std::make_unique<InstrumentBank>(number));
            list.emplace_back();
            continue;
        }

        if (tag == kItemTag) {
            const int32_t length = ReadInt32(stream);
            if (length < 0 || length > kMaxTextBytes || BytesLeft(stream) < length + kTrailerSize)
                return Damaged(stream);
            const QString text = DecodeUtf16Le(ReadBytes(stream, length));
            const int32_t kind = ReadInt32(stream);
            ReadInt32(stream);
            ReadInt32(stream);

            LegacyImportEntry entry;
            if (kind <= kLastTextKind) {
                entry.Text = std::make_unique<InstrumentOldItem>(text);
            } else {
                bool over = false;
                const double value = ParseLegacyValue(text, over);
                if (!current)
                    current = AddBank(std::make_unique<InstrumentBank>("-1"));
                entry.Item = current->AddItem(
                    std::make_unique<InstrumentItem>(value, kind - kLastTextKind, true, over));
            }
            list.push_back(std::move(entry));
            continue;
        }

        return Damaged(stream);
    }
}
