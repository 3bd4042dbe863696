#pragma once
// The text field: a styled text placed in its box by one of 18 alignment
// codes, and the base of every field that shows text.

#include "documents/AbstractFormObject.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>

class TextObject : public AbstractFormObject
{
public:
    // The font name slot of the record: at most 31 characters and a NUL.
    static constexpr int FontNameSize = 32;
    // Type: 0 fixed text, 1 editable (typed or filled from a measured item),
    // 2..11 a column of the revision record.
    static constexpr int32_t FixedText = 0;
    static constexpr int32_t EditableText = 1;

    TextObject();
    // The base copy, Size and Align, the text through other.GetText() (so a
    // global field's copy holds the shared text), the font name and Type.
    TextObject(const TextObject& other);

    bool Load(QIODevice& stream) override;
    void Save(QIODevice& stream) const override;
    void WriteXml(QIODevice& out) const override;
    ~TextObject() override;
    void Draw(TCanvas& canvas, const DrawContext& context) const override;
    QString GetText() const override;
    QString GetDisplayText() const override;
    // A copy up to the first NUL; a null text gives an empty one.
    void SetText(const QString& text) override;
    void Fill(const InstrumentItem* item) override;
    bool IsFillable() const override;
    std::unique_ptr<AbstractFormObject> Clone() const override;
    int32_t GetTypeCode() const override;
    void SetType(int32_t type) override;

    int32_t GetAlign() const { return Align; }
    // Codes of 18 and more (and negative ones) keep the old alignment.
    void SetAlign(int32_t align);
    int32_t GetSize() const { return Size; }
    void SetSize(int32_t size) { Size = size; }
    QByteArray GetFontName() const;
    // Copies at most 31 bytes, up to a NUL, and pads the slot with NULs.
    void SetFontName(QByteArrayView name);
    int32_t GetType() const { return Type; }
    // Empties the text of a filled field (Type not 0).
    void ClearFilledText();

protected:
    // Draws `text` in `box` with this field's alignment, size, font and
    // colours; the canvas's font is restored afterwards. The barcode field
    // draws its digits with it in a band of its box.
    void DrawTextBox(TCanvas& canvas, const TRect& box, const QString& text) const;

    int32_t Align = 4;
    QString Text;
    int32_t Size = 40;
    std::array<char, FontNameSize> FontName{};
    int32_t Type = FixedText;
};
