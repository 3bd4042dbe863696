#pragma once
// The document of every form and template: pages of one size, the global
// texts all their global-text fields share, the zoom of its drawing panel,
// the current page and a modified flag. It is stored as the section "form"
// of a container file and can also be read from the older template streams.

#include "documents/GlobalTextObject.h"
#include "documents/PageObject.h"
#include "documents/QuillfenZoom.h"
#include "storage/File.h"

#include <QString>

#include <memory>
#include <vector>

class PainterCanvas;

class QuillfenForm
{
public:
    // A4 in tenths of a millimetre, the size of a new template.
    static constexpr int32_t DefaultWidth = 2100;
    static constexpr int32_t DefaultHeight = 2975;
    static constexpr int32_t SectionTag = FourCC("form");

    // One empty page (current), zoom 100 on the panel, not modified.
    QuillfenForm(QuillfenZoom::PanelResizer panel, int32_t width, int32_t height);
    virtual ~QuillfenForm();
    QuillfenForm(const QuillfenForm&) = delete;
    QuillfenForm& operator=(const QuillfenForm&) = delete;

    // Draws the current page; the designer's document adds the selection.
    virtual void Draw(TCanvas& canvas) const;

    // Draws the document at the zoom's scale onto a canvas whose painter maps
    // one logical unit to one pixel; the painter's transform is restored.
    void DrawScaled(PainterCanvas& canvas) const;

    void SetSize(int32_t width, int32_t height);
    int32_t GetWidth() const { return Width; }
    int32_t GetHeight() const { return Height; }

    int GetPageCount() const { return static_cast<int>(Pages.size()); }
    int CountPages() const { return GetPageCount(); }
    int GetCurrentPageIndex() const { return CurrentPage; }
    // Null when the document has no page.
    PageObject* GetCurrentPage() const { return GetPage(CurrentPage); }
    // Null when the index is out of range.
    PageObject* GetPage(int index) const;

    // Appends an empty page on the document's global texts and selects it.
    PageObject* AddPage();
    // Inserts an empty page on the document's global texts at the index
    // (clamped into 0..count) and selects it.
    PageObject* InsertPage(int index);
    // Clamps the index into the pages, makes it current and lets the panel
    // take the page's scaled size.
    void SelectPage(int index);
    // Removes the current page; the only page is emptied instead.
    void DeleteCurrentPage();
    // Destroys every page: the document has none until the caller adds one
    // (Load and the older template import do).
    void DeletePages();
    // Destroys every page and leaves one empty page. The objects of the pages
    // are handed back, not destroyed: others may still point at them.
    std::vector<std::unique_ptr<AbstractFormObject>> Clear();
    // Puts the page at the index and hands back the page that stood there.
    // An index out of range (or a null page) changes nothing and hands the
    // given page back.
    std::unique_ptr<PageObject> ReplacePage(int index, std::unique_ptr<PageObject> page);

    // Writes the section "form" and commits the container. False (and still
    // modified) when the file could not be written.
    bool Save(FileWriter& writer);
    // Writes the section "form" without committing, for owners that add more
    // sections after it; they clear the modified flag once their commit succeeded.
    bool WriteSection(FileWriter& writer) const;
    // Replaces the pages, size and global texts by the file's section "form".
    // False when it is missing or damaged: the document is then unchanged.
    bool Load(FileReader& reader);
    // Appends the pages of the file's section "form" (the first appended page
    // becomes current) and takes its page size; its global texts are written
    // over those held. False (and the document unchanged) when the section
    // is missing or damaged.
    bool Append(FileReader& reader);
    // A copy of the pages, size and global texts that shares nothing with
    // this document (no panel; the first page current), so another thread
    // may draw it while this one is edited.
    std::unique_ptr<QuillfenForm> Copy() const;

    // The document as XML. False when the file could not be written.
    bool ExportXml(const QString& fileName, QString* reason = nullptr) const;
    // `extra` (when given) writes its element before the closing root tag:
    // a filled form adds its measured data there.
    void ExportXml(QIODevice& out, const PropertiesAbstract* extra = nullptr) const;

    // Reads an older template or form stream ("QFT "/"QFF ") from its start.
    // False for another kind of stream (the document is then unchanged) and
    // for a damaged body (the document then holds the pages read whole
    // before the damage, at least one).
    bool ImportLegacy(QIODevice& stream);
    // Reads the template body of an older stream into the document in place
    // of its pages. False when the body is damaged or ends early; the pages
    // read before stay, and the document keeps at least one page.
    bool ReadLegacyTemplate(QIODevice& stream);

    QuillfenZoom& GetZoom() { return Zoom; }
    const QuillfenZoom& GetZoom() const { return Zoom; }
    // The store lives as long as the document (Load refills it in place), so
    // fields may keep pointing at it.
    GlobalTextStorage* GetGlobalTexts() { return &GlobalTexts; }
    void SetModified(bool modified = true) { Modified = modified; }
    bool IsModified() const { return Modified; }

private:
    struct Section;
    // Reads the section's records into `section`; the pages are made on the
    // document's global texts. False when the section is damaged.
    bool ReadSection(QIODevice& stream, Section& section);
    void WriteSectionRecords(QIODevice& stream) const;
    std::unique_ptr<PageObject> NewPage();
    // Reads one object record of an older template and appends what it makes
    // to the page. False when the record is cut short or damaged.
    static bool ReadLegacyObject(QIODevice& stream, PageObject& page);
    bool ReadLegacyBody(QIODevice& stream);

    // Declared before the pages, which point at it, so it outlives them.
    GlobalTextStorage GlobalTexts;
    int32_t CurrentPage = 0;
    std::vector<std::unique_ptr<PageObject>> Pages;
    int32_t Width;
    int32_t Height;
    QuillfenZoom Zoom;
    bool Modified = false;
};
