#pragma once
// What the barcode label wizard edits and the data processing window builds
// a label sheet from: the label template (kept fitted into the preview box),
// the page size, the layout and counts, and the number list with the labels
// attached to its entries. The wizard window is a thin view of it.

#include "dataprocessing/LabelLayout.h"
#include "dataprocessing/LabelNumberList.h"
#include "documents/GlobalTextObject.h"

#include <QString>

#include <memory>

class AbstractFormObject;
class RecordLookup;

class LabelWizardState
{
public:
    static constexpr int32_t DefaultPageWidth = 2100;
    static constexpr int32_t DefaultPageHeight = 2975;

    enum class FileImport {
        Imported,
        // Not a file of the kind asked for (or without a form): nothing changed.
        Unchanged,
        NotQuillfen, // empty or foreign bytes: nothing changed
        Damaged,
        CannotOpen,
        NotRegularFile, // a named pipe, a device or a socket: nothing changed
    };

    // The default barcode template; a store of its own until the data
    // window hands over its document's.
    LabelWizardState();
    ~LabelWizardState();
    LabelWizardState(const LabelWizardState&) = delete;
    LabelWizardState& operator=(const LabelWizardState&) = delete;

    // The document's global texts, which fields read by the imports share.
    // Hand a new store before the template that goes with it.
    void SetGlobalTexts(GlobalTextStorage* globalTexts);
    GlobalTextStorage* GetGlobalTexts() const { return m_globalTexts; }

    void SetPageSize(int32_t width, int32_t height);
    int32_t GetPageWidth() const { return m_pageWidth; }
    int32_t GetPageHeight() const { return m_pageHeight; }

    // The preview box the template is kept fitted into (pixels).
    void SetPreviewSize(int width, int height);
    // Replaces the template by a clone of the object, fitted into the preview.
    void SetTemplate(const AbstractFormObject& object);
    // The label content; the sheet clones it for every label.
    const AbstractFormObject& GetTemplate() const { return *m_template; }

    // The lengths in millimetres and the counts the sheet is built from.
    LabelSheetLayout& Layout() { return m_layout; }
    const LabelSheetLayout& Layout() const { return m_layout; }
    // Whether the counts follow from the page size and the lengths.
    bool IsAutomatic() const { return m_automatic; }
    void SetAutomatic(bool automatic) { m_automatic = automatic; }
    // While automatic: the counts from the page size and layout. False when
    // they cannot be computed (they then stay as they were) or automatic is off.
    bool UpdateCounts();

    // The number list; the data window hands over its document's entries.
    LabelNumberList& Numbers() { return m_numbers; }
    const LabelNumberList& Numbers() const { return m_numbers; }
    NumberListResult AddNumbers(const QString& text) { return AddNumberList(m_numbers, text); }
    // Every record ID of the list, unchanged.
    void AddRecordIds(const RecordLookup& records);

    // The first page of a template document becomes the template.
    FileImport ImportTemplateDocument(const QString& fileName);
    // An older label file gives the page size, layout, counts (Automatic
    // off), template and number list. A damaged one changes nothing.
    FileImport ImportOldLabelFile(const QString& fileName);

private:
    void InstallTemplate(std::unique_ptr<AbstractFormObject> object);

    GlobalTextStorage m_ownGlobalTexts;
    GlobalTextStorage* m_globalTexts = &m_ownGlobalTexts;
    std::unique_ptr<AbstractFormObject> m_template;
    int32_t m_pageWidth = DefaultPageWidth;
    int32_t m_pageHeight = DefaultPageHeight;
    int m_previewWidth = 0;
    int m_previewHeight = 0;
    LabelSheetLayout m_layout{20, 10, 10, 10, 1, 1, 6, 10};
    bool m_automatic = true;
    LabelNumberList m_numbers;
};
