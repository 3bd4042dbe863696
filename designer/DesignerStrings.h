#pragma once
// Language ids of the designer's texts.

#include <array>
#include <cstddef>

namespace DesignerString {
constexpr int Open = 8;
constexpr int SaveAs = 9;
constexpr int Cancel = 18;
constexpr int Barcode = 42;
constexpr int Choice = 44;
constexpr int GlobalText = 45;
constexpr int Text = 46;
constexpr int Link = 47;
constexpr int Measure = 48;
constexpr int Picture = 49;
constexpr int GridNone = 64;
constexpr int Ok = 103;
constexpr int NewTemplate = 113;
constexpr int SaveAsXml = 119;
constexpr int NewLabel = 123;
constexpr int DeletePageQuestion = 169;
constexpr int TemplateDesigner = 170;
constexpr int SaveQuestion = 171;
constexpr int FixedText = 201;
constexpr int Location = 268;
constexpr int FileNotOpened = 289;
constexpr int FileDamaged = 290;
constexpr int FileNotSaved = 291;

// A text field's Type names the record column it holds, as the status line
// and the type list show it.
constexpr std::array<int, 12> TextTypeCaptions = {201, 202, 160, 161, 162, 163, 196, 197, 198, 199, 200, 268};
} // namespace DesignerString

// The caption of a text field's Type; 0 for a Type without one.
constexpr int TextTypeCaption(int type)
{
    return type >= 0 && type < static_cast<int>(DesignerString::TextTypeCaptions.size())
        ? DesignerString::TextTypeCaptions[static_cast<size_t>(type)]
        : 0;
}
