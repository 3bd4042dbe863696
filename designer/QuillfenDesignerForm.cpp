#include "designer/QuillfenDesignerForm.h"

#include "designer/FieldClipboard.h"
#include "designer/FieldKinds.h"
#include "documents/TextObject.h"

#include <algorithm>
#include <array>
#include <functional>

namespace {

// Where the first field of an empty page goes, and the width of a new row.
constexpr TRect FirstFieldRect{10, 10, 410, 150};

using ResizeFactory = std::unique_ptr<MouseAction> (*)(AbstractFormObject*, int32_t, const QuillfenZoom*);

template <typename T>
std::unique_ptr<MouseAction> MakeResize(AbstractFormObject* target, int32_t grid, const QuillfenZoom* zoom)
{
    return std::make_unique<T>(target, grid, zoom);
}

// By corner code: 1 left-top, 2 right-top, 3 left-bottom, 4 right-bottom.
constexpr std::array<ResizeFactory, 4> CornerResizes = {
    MakeResize<MouseActionLeftTopSize>, MakeResize<MouseActionRightTopSize>,
    MakeResize<MouseActionLeftBottomSize>, MakeResize<MouseActionRightBottomSize>};

} // namespace

QuillfenDesignerForm::QuillfenDesignerForm(QuillfenZoom::PanelResizer panel, int32_t width, int32_t height)
    : QuillfenForm(std::move(panel), width, height)
{
}

QuillfenDesignerForm::~QuillfenDesignerForm() = default;

void QuillfenDesignerForm::Draw(TCanvas& canvas) const
{
    if (const PageObject* page = GetCurrentPage())
        page->DrawWithSelection(
            canvas, [this](const AbstractFormObject* object) { return Selection.Contains(object); },
            ShowFieldNumbers);
}

// --- Pages -------------------------------------------------------------------

void QuillfenDesignerForm::SelectPage(int index)
{
    EndDrag();
    Selection.Clear();
    QuillfenForm::SelectPage(index);
}

void QuillfenDesignerForm::InsertPage()
{
    EndDrag();
    Selection.Clear();
    QuillfenForm::InsertPage(GetCurrentPageIndex() + 1);
}

void QuillfenDesignerForm::DeletePage()
{
    EndDrag();
    Selection.Clear();
    DeleteCurrentPage();
}

// --- Files -------------------------------------------------------------------

QuillfenDesignerForm::OpenResult QuillfenDesignerForm::OpenFile(const QString& path)
{
    try {
        FileReader reader(path);
        // Nothing is taken from a file that is neither kind, nor from a
        // container whose pages cannot be read: the document stays as it was.
        if (!reader.IsQuillfenFile())
            return OpenResult::NotQuillfen;
        if (reader.GetMagic() == Tag::QFD)
            return OpenResult::NotLoaded;
        EndDrag();
        Selection.Clear();
        OpenResult result = OpenResult::NoPages;
        if (reader.IsLegacyFormat()) {
            reader.GetStream().seek(0);
            result = ImportLegacy(reader.GetStream()) ? OpenResult::OtherDocument : OpenResult::Damaged;
        } else if (!reader.SeekSection(SectionTag)) {
            result = OpenResult::NoPages;
        } else if (!Load(reader)) {
            return OpenResult::NotLoaded;
        } else {
            // Saving a filled form as a template would drop its other sections.
            result = reader.GetTypeTag() == Tag::Temp ? OpenResult::Template : OpenResult::OtherDocument;
        }
        GetZoom().SetZoom(QuillfenZoom::DefaultZoom);
        return result;
    } catch (const EFOpenError& error) {
        return error.NotRegularFile() ? OpenResult::NotRegularFile : OpenResult::CannotOpen;
    }
}

bool QuillfenDesignerForm::SaveFile(const QString& path, QString& error)
{
    try {
        FileWriter writer(path, Tag::Temp);
        if (Save(writer))
            return true;
        error = writer.ErrorString();
    } catch (const EFOpenError& failure) {
        error = failure.Reason();
    }
    return false;
}

// --- Objects -----------------------------------------------------------------

AbstractFormObject* QuillfenDesignerForm::AddObject(std::unique_ptr<AbstractFormObject> object)
{
    PageObject* page = GetCurrentPage();
    if (!page || !object)
        return nullptr;
    SetModified();
    return page->AddObject(std::move(object));
}

AbstractFormObject* QuillfenDesignerForm::PlaceObject(std::unique_ptr<AbstractFormObject> object)
{
    PageObject* page = GetCurrentPage();
    if (!page || !object)
        return nullptr;
    TRect place = FirstFieldRect;
    if (const AbstractFormObject* last = page->GetObject(page->GetCount() - 1)) {
        const TRect r = last->GetRect();
        place = {r.Right, r.Top, ClampToInt32(r.Right + r.Width()), r.Bottom};
        if (r.Right + r.Width() > GetWidth()) {
            const int64_t h = r.Height();
            place = {FirstFieldRect.Left, r.Bottom, FirstFieldRect.Right, ClampToInt32(r.Bottom + h)};
            if (r.Bottom + h > GetHeight())
                place = {FirstFieldRect.Left, ClampToInt32(GetHeight() - h), FirstFieldRect.Right, GetHeight()};
        }
    }
    object->SetRect(place.Left, place.Top, place.Right, place.Bottom);
    return AddObject(std::move(object));
}

void QuillfenDesignerForm::AddTable(const TableShape& shape)
{
    EndDrag();
    // No rows or no columns: a table without a cell, which adds nothing.
    if (shape.Rows < 1 || shape.Columns < 1)
        return;
    AbstractFormObject* table = AddObject(BuildTable(shape, GetGlobalTexts()));
    Selection.Clear();
    Selection.AddObject(table);
}

// --- Mouse -------------------------------------------------------------------

void QuillfenDesignerForm::StartAction(std::unique_ptr<MouseAction> action, int32_t x, int32_t y,
                                       const TRect& rect)
{
    Action = std::move(action);
    Action->MouseDown(x, y, rect);
}

void QuillfenDesignerForm::MouseDown(int32_t sx, int32_t sy, Qt::KeyboardModifiers modifiers,
                                     Qt::MouseButton button)
{
    PageObject* page = GetCurrentPage();
    if (button != Qt::LeftButton || !page)
        return;
    const QuillfenZoom* zoom = &GetZoom();
    const int32_t x = zoom->ScreenToModel(sx);
    const int32_t y = zoom->ScreenToModel(sy);
    if (modifiers & Qt::ControlModifier) {
        StartAction(std::make_unique<MouseActionSelect>(page, &Selection, zoom), x, y, {});
        return;
    }
    AbstractFormObject* hit = page->FindObjectAt(x, y);
    if (hit) {
        if (const int corner = hit->HitCorner(x, y); corner >= 1 && corner <= 4) {
            StartAction(CornerResizes[static_cast<size_t>(corner - 1)](hit, Grid, zoom), x, y, hit->GetRect());
            SetModified();
            return;
        }
    }
    bool inside = Selection.ContainsPoint(x, y);
    if (hit) {
        if (modifiers & Qt::ShiftModifier) {
            Selection.AddObject(hit);
            StartAction(std::make_unique<MouseActionNull>(zoom), x, y, {});
            return;
        }
        if (!inside) {
            Selection.Clear();
            Selection.AddObject(hit);
            inside = true;
        }
    }
    if (inside) {
        StartAction(std::make_unique<MouseActionMoveSelection>(&Selection, Grid, zoom), x, y,
                    Selection.GetBounds());
        SetModified();
        return;
    }
    Selection.Clear();
    StartAction(std::make_unique<MouseActionSelect>(page, &Selection, zoom), x, y, {});
}

void QuillfenDesignerForm::MouseMove(int32_t sx, int32_t sy, Qt::MouseButtons buttons)
{
    if (Action && (buttons & Qt::LeftButton))
        Action->MouseMove(GetZoom().ScreenToModel(sx), GetZoom().ScreenToModel(sy));
}

void QuillfenDesignerForm::MouseUp(int32_t sx, int32_t sy, Qt::MouseButton button)
{
    if (!Action)
        return;
    Action->SetBounds(GetWidth(), GetHeight());
    if (button == Qt::LeftButton)
        Action->MouseUp(GetZoom().ScreenToModel(sx), GetZoom().ScreenToModel(sy));
    Action.reset();
}

void QuillfenDesignerForm::EndDrag()
{
    Action.reset();
}

TextObject* QuillfenDesignerForm::TextFieldToEdit(int32_t x, int32_t y) const
{
    AbstractFormObject* object = Selection.GetObject(0);
    if (auto* group = dynamic_cast<GroupObject*>(object))
        object = group->FindObjectAtDeep(x, y);
    return dynamic_cast<TextObject*>(object);
}

// --- Editing commands --------------------------------------------------------

void QuillfenDesignerForm::SelectAll()
{
    if (const PageObject* page = GetCurrentPage())
        Selection.AddGroupObjects(*page);
}

void QuillfenDesignerForm::DeleteSelection()
{
    EndDrag();
    PageObject* page = GetCurrentPage();
    const std::vector<AbstractFormObject*> selected = Selection.Objects();
    Selection.Clear();
    for (AbstractFormObject* object : selected)
        page->DeleteObject(object);
    SetModified();
}

void QuillfenDesignerForm::GroupSelection()
{
    if (Selection.GetCount() < 2)
        return;
    EndDrag();
    PageObject* page = GetCurrentPage();
    auto group = std::make_unique<GroupObject>(GetGlobalTexts());
    for (AbstractFormObject* object : Selection.Objects())
        group->AddObject(page->RemoveObject(object));
    AbstractFormObject* added = page->AddObject(std::move(group));
    Selection.Clear();
    Selection.AddObject(added);
    SetModified();
}

void QuillfenDesignerForm::Ungroup(GroupObject* group)
{
    EndDrag();
    PageObject* page = GetCurrentPage();
    Selection.Clear();
    while (group->GetCount() > 0)
        Selection.AddObject(page->AddObject(group->RemoveObject(group->GetObject(0))));
    page->DeleteObject(group);
    SetModified();
}

void QuillfenDesignerForm::UngroupSelection()
{
    EndDrag();
    // Dissolving a group rewrites the selection: work from the list as it was.
    const std::vector<AbstractFormObject*> selected = Selection.Objects();
    for (AbstractFormObject* object : selected)
        if (object->IsGroup())
            Ungroup(static_cast<GroupObject*>(object));
    Selection.Clear();
    SetModified();
}

void QuillfenDesignerForm::Reorder(bool selectedFirst)
{
    EndDrag();
    PageObject* page = GetCurrentPage();
    std::vector<std::unique_ptr<AbstractFormObject>> unselected;
    std::vector<std::unique_ptr<AbstractFormObject>> selected(static_cast<size_t>(Selection.GetCount()));
    for (auto& object : page->Clear()) {
        const auto& list = Selection.Objects();
        const auto at = std::find(list.begin(), list.end(), object.get());
        if (at == list.end())
            unselected.push_back(std::move(object));
        else
            selected[static_cast<size_t>(at - list.begin())] = std::move(object);
    }
    for (auto* part : selectedFirst ? std::array{&selected, &unselected} : std::array{&unselected, &selected})
        for (auto& object : *part)
            page->AddObject(std::move(object));
    SetModified();
}

void QuillfenDesignerForm::BringToFront()
{
    Reorder(false);
}

void QuillfenDesignerForm::SendToBack()
{
    Reorder(true);
}

void QuillfenDesignerForm::ConvertSelection(int code)
{
    EndDrag();
    FieldKind kind;
    if (!ConversionKind(code, kind)) {
        Selection.Clear();
        return;
    }
    PageObject* page = GetCurrentPage();
    for (AbstractFormObject* object : Selection.Objects()) {
        const auto* old = dynamic_cast<const TextObject*>(object);
        if (!old)
            continue;
        std::unique_ptr<AbstractFormObject> made = NewField(kind, GetGlobalTexts());
        auto* field = static_cast<TextObject*>(made.get());
        field->SetLeftBorder(old->GetLeftBorder());
        field->SetTopBorder(old->GetTopBorder());
        field->SetRightBorder(old->GetRightBorder());
        field->SetBottomBorder(old->GetBottomBorder());
        field->SetForeColor(old->GetStoredForeColor());
        field->SetBackColor(old->GetStoredBackColor());
        const TRect r = old->GetRect();
        field->SetRect(r.Left, r.Top, r.Right, r.Bottom);
        field->SetText(old->GetText());
        field->SetAlign(old->GetAlign());
        field->SetSize(old->GetSize());
        field->SetFontName(old->GetFontName());
        field->SetType(old->GetType());
        page->ReplaceObject(old, std::move(made));
    }
    Selection.Clear();
    SetModified();
}

void QuillfenDesignerForm::DeleteEditableText()
{
    for (int i = 0; i < GetPageCount(); ++i)
        GetPage(i)->ClearFilledTexts();
    SetModified();
}

void QuillfenDesignerForm::DeleteSelectedText()
{
    for (AbstractFormObject* object : Selection.Objects())
        object->SetText(QString());
    SetModified();
}

// --- Clipboard ---------------------------------------------------------------

void QuillfenDesignerForm::CopySelection() const
{
    PutFieldsOnClipboard(PackFields(Selection.Objects()));
}

std::unique_ptr<AbstractFormObject> QuillfenDesignerForm::ReadClipboard()
{
    return UnpackFields(FieldsOnClipboard(), GetGlobalTexts());
}

void QuillfenDesignerForm::Paste()
{
    std::unique_ptr<AbstractFormObject> pasted = ReadClipboard();
    if (!pasted)
        return;
    EndDrag();
    AbstractFormObject* added = AddObject(std::move(pasted));
    if (added->IsGroup()) {
        Ungroup(static_cast<GroupObject*>(added));
    } else {
        Selection.Clear();
        Selection.AddObject(added);
    }
    SetModified();
}
