#pragma once
// What the data processing window works on: the filled form, the two sets of
// measured data ("Saved" from files, "Transfered" from instruments), the
// document's file name and the barcode wizard's number list; and how all of
// it is saved to and opened from files. Every command either completes or
// leaves this state and the files on disk as they were.

#include "dataprocessing/QuillfenTransferForm.h"

#include <QString>

#include <memory>
#include <vector>

// How a file command ended.
struct FileOutcome
{
    enum Kind {
        Done,
        NothingLoaded,  // a file of another kind: nothing changed, nothing to say
        NotQuillfen,    // empty or foreign bytes: nothing changed
        CannotOpen,     // the file could not be opened or created
        NotRegularFile, // a named pipe, a device or a socket: not read
        Damaged,        // the file's content is damaged: nothing was taken from it
        WriteFailed,    // the file could not be written: the old file stays
    };
    Kind Result = Done;
    // The system's reason for CannotOpen and WriteFailed; the path for NotRegularFile.
    QString Detail;

    bool Ok() const { return Result == Done; }
};

class TransferDocument
{
public:
    // Entries of "Save Data As ...", counted from 1 as the dialog counts them.
    enum DataFormat { DataDocument = 1, HtmlList = 2, HtmlTable = 3 };

    explicit TransferDocument(QuillfenZoom::PanelResizer panel = {});
    TransferDocument(const TransferDocument&) = delete;
    TransferDocument& operator=(const TransferDocument&) = delete;

    QuillfenTransferForm& Form() { return *m_form; }
    const QuillfenTransferForm& Form() const { return *m_form; }
    InstrumentData& Saved() { return *m_saved; }
    // The set a transfer appends to: the same object for the window's whole
    // life, so a running transfer can always hand its banks over.
    InstrumentData& Transfered() { return m_transfered; }
    const QString& FileName() const { return m_fileName; }
    void SetFileName(const QString& name) { m_fileName = name; }
    std::vector<LabelNumber>& LabelNumbers() { return m_labelNumbers; }
    void SetRecordFilling(RecordFilling filling);

    // New: a fresh form and an empty "Saved"; "Transfered" stays.
    void NewDocument();
    // Hiding the window: everything is discarded, the file name included, so
    // that a later "Save" cannot write an empty form over the last file.
    void Discard();
    // The barcode command on a document that is no label sheet: as Discard.
    void StartLabelSheet() { Discard(); }
    // Deletes the current page; label entries on it lose their label.
    void DeleteCurrentPage();

    // Copies of the banks of "Saved" followed by those of "Transfered".
    std::unique_ptr<InstrumentData> MergedData() const;

    // Writes the form ("form", or "bar " for a label sheet) to `path` through
    // a temporary file. With `backup`, the file that was there becomes
    // `path`.bak, only once the new file is complete. On success the path
    // becomes the file name and the form is no longer modified; on failure
    // the document, the file and its backup are as they were.
    FileOutcome SaveDocument(const QString& path, bool backup);
    // Opens a form, label sheet, template or data document, or an older form stream.
    FileOutcome LoadDocument(const QString& path);
    // Appends the pages of a document's section "form".
    FileOutcome AppendDocument(const QString& path);
    // "Open data ..." (replacing the banks of "Saved") and "Append data ...".
    FileOutcome OpenData(const QString& path, bool append);
    FileOutcome SaveDataAs(const QString& path, DataFormat format) const;
    FileOutcome ExportXml(const QString& path) const;

    static QString BackupName(const QString& path) { return path + QStringLiteral(".bak"); }

private:
    std::unique_ptr<QuillfenTransferForm> NewForm() const;
    void ReplaceForm(std::unique_ptr<QuillfenTransferForm> form);

    QuillfenZoom::PanelResizer m_panel;
    RecordFilling m_filling;
    std::unique_ptr<QuillfenTransferForm> m_form;
    std::unique_ptr<InstrumentData> m_saved;
    InstrumentData m_transfered;
    QString m_fileName;
    std::vector<LabelNumber> m_labelNumbers;
};
