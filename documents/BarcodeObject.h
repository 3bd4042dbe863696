#pragma once
// The barcode field: a text field whose text is an even number of digits,
// drawn as an Interleaved 2 of 5 barcode with the digits in a band along the
// side that the alignment code names.

#include "documents/TextObject.h"

class BarcodeObject : public TextObject
{
public:
    static constexpr int MaxDigits = 30;

    // The text field defaults with the text "00000000".
    BarcodeObject();
    BarcodeObject(const BarcodeObject& other);

    ~BarcodeObject() override;
    void SetRect(int32_t a, int32_t b, int32_t c, int32_t d) override;
    void Draw(TCanvas& canvas, const DrawContext& context) const override;
    // Keeps the digits among the first 30 characters and pads an odd count
    // with one "0".
    void SetText(const QString& text) override;
    std::unique_ptr<AbstractFormObject> Clone() const override;
    int32_t GetTypeCode() const override;
    // 1 for any non-zero value: a barcode is plain or filled from data.
    void SetType(int32_t type) override;

    // Where the digits go for the current alignment (empty when they are not
    // drawn) and where the bars go, both within the inner rectangle.
    TRect GetTextBand() const;
    TRect GetBarArea() const;
};
