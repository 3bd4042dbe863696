#pragma once
// The choice field: a text field whose text lists alternatives separated by
// ";". It shows one at a time; a click in a filled form shows the next one.

#include "documents/TextObject.h"

class ChoiceObject : public TextObject
{
public:
    // The text field defaults, Index 0 and Type 0.
    ChoiceObject();
    // The text field copy, showing its first alternative.
    ChoiceObject(const ChoiceObject& other);

    bool Load(QIODevice& stream) override;
    void Save(QIODevice& stream) const override;
    ~ChoiceObject() override;
    // ESC, the style in force where the shown alternative begins, and the
    // alternative; just ESC and the style when Index is past the last one.
    QString GetDisplayText() const override;
    // Stores the text and shows its first alternative.
    void SetText(const QString& text) override;
    // Shows the next alternative, after the last one the first again.
    void Activate() override;
    bool IsFillable() const override;
    std::unique_ptr<AbstractFormObject> Clone() const override;
    int32_t GetTypeCode() const override;
    // Type stays 0.
    void SetType(int32_t type) override;
    int32_t GetExtraFlag() const override;

    int32_t GetIndex() const { return Index; }
    // 1 plus the number of ";" (style words are not separators).
    int32_t CountAlternatives() const;

private:
    int32_t Index = 0;
};
