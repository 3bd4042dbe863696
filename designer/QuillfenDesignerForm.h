#pragma once
// The form document as the template designer edits it: the document with the
// selection, the snap grid, the field-number display and the drag in
// progress. It turns presses, moves and releases on the page into mouse
// actions and carries out the designer's editing commands, always on the
// current page.
//
// A structural edit (delete, group, ungroup, reorder, convert, paste, page
// change, load) first ends a running drag without applying it: the drag may
// point at objects the edit removes.

#include "designer/TableBuilder.h"
#include "documents/MouseAction.h"
#include "documents/QuillfenForm.h"
#include "documents/QuillfenSelection.h"

#include <QString>
#include <Qt>

#include <memory>

class TextObject;

class QuillfenDesignerForm : public QuillfenForm
{
public:
    // How a file went into the document.
    enum class OpenResult {
        Template,      // a container's pages: the file may be saved over
        OtherDocument, // a filled form, a label form or an older stream: saving needs a new name
        NoPages,       // a container without pages: the document is unchanged
        Damaged,       // an older stream: only the pages read whole before the damage
        NotLoaded,     // a damaged container or an older data stream: the document is unchanged
        NotQuillfen,   // empty or foreign bytes: the document is unchanged
        CannotOpen,
        NotRegularFile, // a named pipe, a device or a socket: the document is unchanged
    };

    QuillfenDesignerForm(QuillfenZoom::PanelResizer panel, int32_t width, int32_t height);
    ~QuillfenDesignerForm() override;

    // The current page with the selected objects' handles and, when shown,
    // the field numbers.
    void Draw(TCanvas& canvas) const override;

    QuillfenSelection& GetSelection() { return Selection; }
    const QuillfenSelection& GetSelection() const { return Selection; }
    const MouseAction* GetAction() const { return Action.get(); }
    int32_t GetGrid() const { return Grid; }
    void SetGrid(int32_t step) { Grid = step; }
    bool GetShowFieldNumbers() const { return ShowFieldNumbers; }
    void SetShowFieldNumbers(bool show) { ShowFieldNumbers = show; }

    // --- Pages ---------------------------------------------------------------
    void SelectPage(int index);
    // A new empty page right after the current one becomes current.
    void InsertPage();
    void DeletePage();

    // --- Files ---------------------------------------------------------------
    // Loads a container's pages or an older template stream at zoom 100.
    OpenResult OpenFile(const QString& path);
    // Writes a template ("temp"). False, with the reason, when it could not be written.
    bool SaveFile(const QString& path, QString& error);

    // --- Objects -------------------------------------------------------------
    // Appended to the current page (drawn on top).
    AbstractFormObject* AddObject(std::unique_ptr<AbstractFormObject> object);
    // Appended and placed beside the page's last object, or below it when the
    // page is too narrow.
    AbstractFormObject* PlaceObject(std::unique_ptr<AbstractFormObject> object);
    // A table at the page's top-left corner, selected alone.
    void AddTable(const TableShape& shape);

    // --- Mouse (screen pixels of the page) -----------------------------------
    void MouseDown(int32_t x, int32_t y, Qt::KeyboardModifiers modifiers, Qt::MouseButton button);
    void MouseMove(int32_t x, int32_t y, Qt::MouseButtons buttons);
    void MouseUp(int32_t x, int32_t y, Qt::MouseButton button);
    // Discards the drag without applying it.
    void EndDrag();
    // The text field a double click edits: the first selected object or,
    // when that is a group, the innermost field under the point (model
    // units). Null when that is nothing or no text field.
    TextObject* TextFieldToEdit(int32_t x, int32_t y) const;

    // --- Editing commands ----------------------------------------------------
    void SelectAll();
    void DeleteSelection();
    void GroupSelection();
    void Ungroup(GroupObject* group);
    void UngroupSelection();
    void BringToFront();
    void SendToBack();
    // "Change to field": 1 Barcode, 2 Choice, 3 Global text, 4 Text, 5 Link,
    // 6 Measure; other codes change nothing. Only text fields convert.
    void ConvertSelection(int code);
    // Empties every filled text on every page ("Delete editable text").
    void DeleteEditableText();
    // Empties the text of every selected object ("Delete selected text").
    void DeleteSelectedText();

    // --- Clipboard -----------------------------------------------------------
    void CopySelection() const;
    // What the clipboard holds for this document's global texts; null when
    // it holds nothing of ours or a damaged block.
    std::unique_ptr<AbstractFormObject> ReadClipboard();
    void Paste();

private:
    void StartAction(std::unique_ptr<MouseAction> action, int32_t x, int32_t y, const TRect& rect);
    void Reorder(bool selectedFirst);

    std::unique_ptr<MouseAction> Action;
    QuillfenSelection Selection;
    int32_t Grid = 1;
    bool ShowFieldNumbers = true;
};
