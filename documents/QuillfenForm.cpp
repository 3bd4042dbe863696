#include "documents/QuillfenForm.h"

#include <QBuffer>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace {

// Version byte, width and height.
constexpr qint64 SectionHeadSize = 1 + 4 + 4;
// Version byte and child count of an empty page.
constexpr qint64 PageRecordMinSize = 1 + 4;

constexpr char XmlPrologue[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n\n<Quillfen>\n";
constexpr char XmlEpilogue[] = "</Quillfen>\n";

} // namespace

// What a section "form" holds, read aside so that a damaged one changes nothing.
struct QuillfenForm::Section
{
    int32_t Width = 0;
    int32_t Height = 0;
    GlobalTextStorage GlobalTexts;
    std::vector<std::unique_ptr<PageObject>> Pages;
};

QuillfenForm::QuillfenForm(QuillfenZoom::PanelResizer panel, int32_t width, int32_t height)
    : Width(width), Height(height), Zoom(QuillfenZoom::DefaultZoom, std::move(panel), width, height)
{
    AddPage();
    Modified = false;
}

QuillfenForm::~QuillfenForm()
{
    DeletePages();
}

void QuillfenForm::Draw(TCanvas& canvas) const
{
    if (const PageObject* page = GetCurrentPage())
        page->Draw(canvas, DrawContext{});
}

void QuillfenForm::DrawScaled(PainterCanvas& canvas) const
{
    QPainter& painter = canvas.Painter();
    painter.save();
    const double factor = double(Zoom.GetZoom()) / QuillfenZoom::MaxZoom;
    painter.scale(factor, factor);
    Draw(canvas);
    painter.restore();
}

void QuillfenForm::SetSize(int32_t width, int32_t height)
{
    Width = width;
    Height = height;
}

PageObject* QuillfenForm::GetPage(int index) const
{
    if (index < 0 || index >= GetPageCount())
        return nullptr;
    return Pages[static_cast<size_t>(index)].get();
}

std::unique_ptr<PageObject> QuillfenForm::NewPage()
{
    return std::make_unique<PageObject>(&GlobalTexts);
}

PageObject* QuillfenForm::AddPage()
{
    Pages.push_back(NewPage());
    SelectPage(GetPageCount() - 1);
    Modified = true;
    return Pages.back().get();
}

PageObject* QuillfenForm::InsertPage(int index)
{
    index = std::clamp(index, 0, GetPageCount());
    PageObject* page = Pages.insert(Pages.begin() + index, NewPage())->get();
    SelectPage(index);
    Modified = true;
    return page;
}

void QuillfenForm::SelectPage(int index)
{
    CurrentPage = std::max(0, std::min(index, GetPageCount() - 1));
    Zoom.SetPageSize(Width, Height);
    Zoom.SetZoom(Zoom.GetZoom());
}

void QuillfenForm::DeleteCurrentPage()
{
    if (GetPageCount() < 2) {
        if (PageObject* page = GetCurrentPage())
            page->DeleteAll();
        else
            Pages.push_back(NewPage());
    } else {
        Pages.erase(Pages.begin() + CurrentPage);
        SelectPage(CurrentPage);
    }
    Modified = true;
}

void QuillfenForm::DeletePages()
{
    while (!Pages.empty())
        Pages.pop_back();
    CurrentPage = 0;
    Modified = false;
}

std::vector<std::unique_ptr<AbstractFormObject>> QuillfenForm::Clear()
{
    std::vector<std::unique_ptr<AbstractFormObject>> objects;
    for (const auto& page : Pages)
        for (auto& object : page->Clear())
            objects.push_back(std::move(object));
    DeletePages();
    AddPage();
    Modified = false;
    return objects;
}

std::unique_ptr<PageObject> QuillfenForm::ReplacePage(int index, std::unique_ptr<PageObject> page)
{
    if (page && index >= 0 && index < GetPageCount())
        std::swap(Pages[static_cast<size_t>(index)], page);
    return page;
}

// --- Section "form" ------------------------------------------------------------

bool QuillfenForm::Save(FileWriter& writer)
{
    if (!WriteSection(writer) || !writer.Commit())
        return false;
    Modified = false;
    return true;
}

bool QuillfenForm::WriteSection(FileWriter& writer) const
{
    if (!writer.BeginSection(SectionTag))
        return false;
    WriteSectionRecords(writer.GetStream());
    return true;
}

void QuillfenForm::WriteSectionRecords(QIODevice& stream) const
{
    WriteByte(stream, 1);
    WriteInt32(stream, Width);
    WriteInt32(stream, Height);
    GlobalTexts.Save(stream);
    WriteInt32(stream, GetPageCount());
    // Every record of this list is a page: no type code in front of it.
    for (const auto& page : Pages)
        page->Save(stream);
}

bool QuillfenForm::ReadSection(QIODevice& stream, Section& section)
{
    if (!CheckCount(stream, 1, SectionHeadSize))
        return false;
    ReadByte(stream); // version
    section.Width = ReadInt32(stream);
    section.Height = ReadInt32(stream);
    // Over the texts the caller put in: none for a load, its own for an append.
    if (!section.GlobalTexts.LoadOver(stream) || !CheckCount(stream, 1, 4))
        return false;
    const int32_t count = ReadInt32(stream);
    if (!CheckCount(stream, count, PageRecordMinSize))
        return false;
    for (int32_t i = 0; i < count; ++i) {
        // Made on the document's own store, which is filled only on success.
        std::unique_ptr<PageObject> page = NewPage();
        if (!page->Load(stream))
            return false;
        section.Pages.push_back(std::move(page));
    }
    return !IsStreamDamaged(stream);
}

bool QuillfenForm::Load(FileReader& reader)
{
    if (!reader.SeekSection(SectionTag))
        return false;
    Section section;
    if (!ReadSection(reader.GetStream(), section))
        return false;
    Pages = std::move(section.Pages);
    Width = section.Width;
    Height = section.Height;
    GlobalTexts = std::move(section.GlobalTexts);
    if (Pages.empty())
        Pages.push_back(NewPage());
    SelectPage(0);
    Modified = false;
    return true;
}

bool QuillfenForm::Append(FileReader& reader)
{
    const int firstAppended = GetPageCount();
    if (!reader.SeekSection(SectionTag))
        return false;
    Section section;
    section.GlobalTexts = GlobalTexts;
    if (!ReadSection(reader.GetStream(), section))
        return false;
    for (auto& page : section.Pages)
        Pages.push_back(std::move(page));
    Width = section.Width;
    Height = section.Height;
    GlobalTexts = std::move(section.GlobalTexts);
    SelectPage(firstAppended);
    Modified = true;
    return true;
}

std::unique_ptr<QuillfenForm> QuillfenForm::Copy() const
{
    // Through the section's records: every kind of object copies itself
    // whole that way, global-text fields onto the copy's own store.
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    WriteSectionRecords(buffer);
    buffer.seek(0);
    auto copy = std::make_unique<QuillfenForm>(nullptr, Width, Height);
    Section section;
    if (copy->ReadSection(buffer, section) && !section.Pages.empty()) {
        copy->Pages = std::move(section.Pages);
        copy->GlobalTexts = std::move(section.GlobalTexts);
    }
    copy->SelectPage(0);
    copy->Modified = false;
    return copy;
}

// --- XML ---------------------------------------------------------------------

bool QuillfenForm::ExportXml(const QString& fileName, QString* reason) const
{
    return SaveWholeFile(
        fileName, [this](QIODevice& out) { ExportXml(out); }, reason);
}

void QuillfenForm::ExportXml(QIODevice& out, const PropertiesAbstract* extra) const
{
    out.write(XmlPrologue);
    WriteXmlDouble(out, "Width", Width * 0.1);
    WriteXmlDouble(out, "Height", Height * 0.1);
    GlobalTexts.WriteXml(out);
    WriteXmlInt(out, "Count", GetPageCount());
    for (const auto& page : Pages)
        page->WriteXml(out);
    if (extra)
        extra->WriteXml(out);
    out.write(XmlEpilogue);
}
