#pragma once
// The content of a label: the wizard's default barcode, or the first page
// of a template document.

#include "storage/File.h"

#include <memory>

class AbstractFormObject;
class GlobalTextStorage;
class GroupObject;

// A barcode field of Type 1 with the text "1234".
std::unique_ptr<AbstractFormObject> MakeDefaultLabelTemplate();

enum class TemplateRead { Read, NoFormSection, Damaged };

// The first page of a template document as a label template: a frame of the
// page's size followed by the page's fields. The document's global texts
// replace those of `globalTexts`, which the template's fields share. On
// anything but Read, `globalTexts` and `result` are left as they were.
TemplateRead ReadTemplateDocument(FileReader& reader, GlobalTextStorage& globalTexts,
                                  std::unique_ptr<GroupObject>& result);
