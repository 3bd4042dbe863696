#pragma once
// The filled form of the data processing window: a form document on which
// measured banks and items are placed, record texts are taken from the
// revision list, and which is saved with its filled-values section and its
// measured data. The rules here decide what the window's mouse, drag and
// menu handlers do; the window only turns events into calls.

#include "documents/QuillfenForm.h"
#include "instruments/InstrumentData.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

// The texts of one inspection record by field number (0 Name, 1 ID, ...);
// an empty function stands for "no record found".
using RecordFields = std::function<QString(int field)>;

// How a form reaches the revision list. The window sets it from the program
// settings ("Automatic filling") and the revision list at start-up; a form
// without it never takes record texts.
struct RecordFilling
{
    std::function<bool()> AutoFill;
    std::function<RecordFields(const QString& id)> FindRow;
};

class RecordLookup;
// Record filling over the revision list (not owned; null finds nothing).
RecordFilling LookupFilling(const RecordLookup* records, std::function<bool()> autoFill);

// One entry of the barcode wizard's number list: the label's number (or a
// record ID, kept as the list holds it) and the label object (a field or
// group on a page of the sheet) that shows it.
struct LabelNumber
{
    QString Text;
    AbstractFormObject* Label = nullptr;
};

// The wizard's sheet layout: lengths in millimetres, counts of labels.
struct LabelSheetLayout
{
    double Width = 0;
    double Height = 0;
    double LeftMargin = 0;
    double TopMargin = 0;
    double HorizontalSpace = 0;
    double VerticalSpace = 0;
    int Across = 1;
    int Down = 1;
};

class QuillfenTransferForm : public QuillfenForm
{
public:
    // The record Types of text fields the form deals with by name.
    static constexpr int32_t NameType = 2;
    static constexpr int32_t IdType = 3;
    // Quantities that carry an instrument or bank number rather than a measurement.
    static constexpr int NumberQuantity = 0;
    static constexpr int BankNumberQuantity = 30;
    static constexpr int DateTimeQuantity = 1000;
    // Texts the label sheet puts on its labels are cut to these lengths.
    static constexpr int MaxLabelNameLength = 200;
    static constexpr int MaxLabelNumberLength = 50;

    explicit QuillfenTransferForm(QuillfenZoom::PanelResizer panel = {});

    virtual int32_t GetTypeCode() const { return Tag::Form; }
    bool IsLabelSheet() const { return LabelSheet; }
    void SetLabelSheet(bool labelSheet) { LabelSheet = labelSheet; }
    void SetRecordFilling(RecordFilling filling) { Filling = std::move(filling); }

    static bool IsNumberItem(const InstrumentItem& item);

    // --- placing data (x, y in canvas pixels at the document's zoom) ---
    void DropData(const InstrumentAbstract* value, int x, int y);
    // Distributes the bank over the direct-child measure fields of `group`;
    // true when the first pass placed a number item.
    bool FillGroup(const InstrumentBank& bank, GroupObject& group);
    void FillNextGroup(const InstrumentBank& bank);
    static bool HasFilledMeasureField(const GroupObject& group);
    void FillNumberField(const InstrumentBank& bank);
    void RemoveDataFromGroupAt(int x, int y);
    void RemoveDataFromFieldAt(int x, int y);
    // Leaves the modified flag as it was.
    void RemoveDataFromPage();
    // Looks the ID up in the revision list and, when automatic filling is on
    // and a record is found, fills `group`'s record texts from it.
    void FillFromRecord(const QString& id, GroupObject& group);
    // The field a canvas point lies on, innermost first; null when none.
    AbstractFormObject* FieldAt(int x, int y) const;
    // The direct child of the current page at a canvas point.
    AbstractFormObject* ChildAt(int x, int y) const;

    // --- find ID ---
    // Steps one page on, then selects the first page from there holding a
    // plain text field of Type 3 that matches; false (page kept) when none.
    bool FindId(const QString& pattern);
    // Case-insensitive, "?" matches any character; the text may be longer.
    static bool MatchesIdPattern(const QString& text, const QString& pattern);

    // --- label sheets ---
    // Lays the labels of `numbers` out on fresh pages. Entries without a
    // label get a clone of `labelTemplate`; labels of entries survive the
    // clearing of the pages, all other objects of the old pages are destroyed.
    void BuildLabelSheet(const LabelSheetLayout& layout, std::vector<LabelNumber>& numbers,
                         const AbstractFormObject& labelTemplate);
    // The entries' texts from the labels' barcodes (the wizard shows those).
    static void TakeBarcodeTexts(std::vector<LabelNumber>& numbers);
    // One entry per direct child of a page that shows a barcode, in page order.
    std::vector<LabelNumber> ListLabelNumbers() const;
    // Drops the label of every entry whose label is no longer on a page.
    void ForgetRemovedLabels(std::vector<LabelNumber>& numbers) const;
    // The barcode a label shows its number with: the label itself, or the
    // last barcode among a group's direct children; null when none.
    static AbstractFormObject* FindLabelBarcode(AbstractFormObject* label);

    // --- sections of the saved document ---
    void WriteFilledValues(FileWriter& writer) const;
    static bool WriteData(FileWriter& writer, const InstrumentData& data);
    // False (the set untouched) when the section is missing or damaged.
    static bool ReadData(FileReader& reader, InstrumentData& data);
    static bool AppendData(FileReader& reader, InstrumentData& data);

    // --- exports (false, with the reason when asked, when the file could not be written) ---
    static bool ExportHtmlList(const QString& path, const InstrumentData& data,
                               QString* reason = nullptr);
    static bool ExportHtmlTable(const QString& path, const InstrumentData& data,
                                QString* reason = nullptr);
    static QByteArray HtmlList(const InstrumentData& data);
    static QByteArray HtmlTable(const InstrumentData& data);
    bool ExportXmlWithData(const QString& path, const InstrumentData& data,
                           QString* reason = nullptr) const;

    // --- older streams ---
    // Reads an older form stream into this document and `data`. False for
    // another kind of stream or a damaged one; the caller then discards both.
    bool ImportLegacyForm(QIODevice& stream, InstrumentData& data);
    // False for another kind of stream or a damaged one; the set is then untouched.
    static bool ImportLegacyData(QIODevice& stream, InstrumentData& data);
    static bool AppendLegacyData(QIODevice& stream, InstrumentData& data);

private:
    // Automatic filling is on and there is a list to look IDs up in.
    bool FillsFromRecords() const;

    QuillfenZoom::PanelResizer Panel;
    RecordFilling Filling;
    bool LabelSheet = false;
};

// The zoom steps of the window's zoom commands, before the zoom's own clamping.
namespace ZoomSteps {
int32_t ZoomIn(int32_t zoom);
int32_t ZoomOut(int32_t zoom);
// The zoom that shows a whole page in a view of the given client height;
// the current zoom for a page without height.
int32_t WholePage(int32_t clientHeight, int32_t pageHeight, int32_t current);
// The leading number of a zoom box text; 0 (and no number) counts as 100.
int32_t FromText(const QString& text);
} // namespace ZoomSteps

// The hidden demonstration-data mode: typing its access code adds four banks.
class DemonstrationKeys
{
public:
    // True when this key completes the code.
    bool Type(QChar key);
    static void AddBanks(InstrumentData& data);

private:
    uint32_t Accumulator = 0;
};
