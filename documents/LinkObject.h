#pragma once
// The link field: a text field whose text is a target (a file, a folder or
// an address), a ";" and a caption. The form shows the caption; a click in a
// filled form opens the target with the desktop's handler.

#include "documents/TextObject.h"

class LinkObject : public TextObject
{
public:
    // The text field defaults with Type 0.
    LinkObject();
    LinkObject(const LinkObject& other);

    ~LinkObject() override;
    // The caption: what follows the first ";", or the whole text without one.
    QString GetDisplayText() const override;
    // Opens the target.
    void Activate() override;
    bool IsFillable() const override;
    std::unique_ptr<AbstractFormObject> Clone() const override;
    int32_t GetTypeCode() const override;
    // Type stays 0.
    void SetType(int32_t type) override;

    // What precedes the first ";", or the whole text without one.
    QString GetTarget() const;
};
