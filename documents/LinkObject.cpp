#include "documents/LinkObject.h"

#include "platform/Shell.h"

LinkObject::LinkObject()
{
    Type = FixedText;
}

LinkObject::LinkObject(const LinkObject& other) = default;

LinkObject::~LinkObject() = default;

QString LinkObject::GetDisplayText() const
{
    const qsizetype separator = Text.indexOf(u';');
    return separator < 0 ? Text : Text.mid(separator + 1);
}

QString LinkObject::GetTarget() const
{
    const qsizetype separator = Text.indexOf(u';');
    return separator < 0 ? Text : Text.left(separator);
}

void LinkObject::Activate()
{
    // The whole target goes to the desktop, however long: a cut path would
    // open the wrong file. The handler reports failures itself.
    OpenTarget(GetTarget());
}

bool LinkObject::IsFillable() const
{
    return false;
}

std::unique_ptr<AbstractFormObject> LinkObject::Clone() const
{
    return std::make_unique<LinkObject>(*this);
}

int32_t LinkObject::GetTypeCode() const
{
    return ObjectCode::Link;
}

void LinkObject::SetType(int32_t)
{
    Type = FixedText;
}
