#include "dataprocessing/TransferDocument.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {

FileOutcome Outcome(FileOutcome::Kind kind, const QString& detail = {})
{
    return FileOutcome{kind, detail};
}

// Opens a container or older stream; CannotOpen when the file cannot be read,
// NotQuillfen when it is neither.
std::unique_ptr<FileReader> OpenReader(const QString& path, FileOutcome& outcome)
{
    try {
        auto reader = std::make_unique<FileReader>(path);
        if (reader->IsQuillfenFile())
            return reader;
        outcome = Outcome(FileOutcome::NotQuillfen);
        return nullptr;
    } catch (const EFOpenError& error) {
        outcome = error.NotRegularFile() ? Outcome(FileOutcome::NotRegularFile, path)
                                         : Outcome(FileOutcome::CannotOpen, error.Reason());
        return nullptr;
    }
}

std::filesystem::path NativePath(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

// The previous file under a temporary name beside the backup, made before the
// new file replaces it: a hard link where the file system allows, else a copy.
// A document reached through a symbolic link is replaced at the link's target,
// so the target is what is kept; a link to the link would show the new content.
bool KeepPreviousFile(const QString& path, const QString& keptName)
{
    const QString previous = SavedFilePath(path);
    std::error_code error;
    std::filesystem::remove(NativePath(keptName), error);
    std::filesystem::create_hard_link(NativePath(previous), NativePath(keptName), error);
    if (!error)
        return true;
    return QFile::copy(previous, keptName);
}

} // namespace

TransferDocument::TransferDocument(QuillfenZoom::PanelResizer panel)
    : m_panel(std::move(panel)), m_form(NewForm()), m_saved(std::make_unique<InstrumentData>())
{
}

std::unique_ptr<QuillfenTransferForm> TransferDocument::NewForm() const
{
    auto form = std::make_unique<QuillfenTransferForm>(m_panel);
    form->SetRecordFilling(m_filling);
    return form;
}

void TransferDocument::ReplaceForm(std::unique_ptr<QuillfenTransferForm> form)
{
    // The wizard's entries point at labels of the old form.
    m_labelNumbers.clear();
    m_form = std::move(form);
}

void TransferDocument::SetRecordFilling(RecordFilling filling)
{
    m_filling = std::move(filling);
    m_form->SetRecordFilling(m_filling);
}

void TransferDocument::NewDocument()
{
    ReplaceForm(NewForm());
    m_saved = std::make_unique<InstrumentData>();
    m_fileName.clear();
}

void TransferDocument::Discard()
{
    NewDocument();
    m_transfered.Clear();
}

void TransferDocument::DeleteCurrentPage()
{
    m_form->DeleteCurrentPage();
    m_form->ForgetRemovedLabels(m_labelNumbers);
}

std::unique_ptr<InstrumentData> TransferDocument::MergedData() const
{
    auto merged = std::make_unique<InstrumentData>();
    merged->AppendCopies(*m_saved);
    merged->AppendCopies(m_transfered);
    return merged;
}

// --- Saving ------------------------------------------------------------------------

FileOutcome TransferDocument::SaveDocument(const QString& path, bool backup)
{
    const std::unique_ptr<InstrumentData> merged = MergedData();
    try {
        FileWriter writer(path, m_form->IsLabelSheet() ? Tag::Bar : m_form->GetTypeCode());
        m_form->WriteFilledValues(writer);
        if (!m_form->WriteSection(writer) || !QuillfenTransferForm::WriteData(writer, *merged))
            return Outcome(FileOutcome::WriteFailed, writer.ErrorString());

        // The backup is made from the previous file only now that the new one
        // is complete, and takes the backup's name only once it has replaced it.
        const QString kept = BackupName(path) + QStringLiteral(".new");
        const bool keptPrevious = backup && QFileInfo::exists(path) && KeepPreviousFile(path, kept);
        if (!writer.Commit()) {
            if (keptPrevious)
                QFile::remove(kept);
            return Outcome(FileOutcome::WriteFailed, writer.ErrorString());
        }
        if (keptPrevious) {
            std::error_code error;
            std::filesystem::rename(NativePath(kept), NativePath(BackupName(path)), error);
            if (!error)
                SyncFolderOf(BackupName(path));
        }
    } catch (const EFOpenError& error) {
        return Outcome(FileOutcome::WriteFailed, error.Reason());
    }
    m_fileName = path;
    m_form->SetModified(false);
    return Outcome(FileOutcome::Done);
}

FileOutcome TransferDocument::SaveDataAs(const QString& path, DataFormat format) const
{
    const std::unique_ptr<InstrumentData> merged = MergedData();
    bool written = false;
    QString reason;
    switch (format) {
    case DataDocument:
        try {
            FileWriter writer(path, Tag::Data);
            written = QuillfenTransferForm::WriteData(writer, *merged) && writer.Commit();
            if (!written)
                reason = writer.ErrorString();
        } catch (const EFOpenError& error) {
            reason = error.Reason();
        }
        break;
    case HtmlList:
        written = QuillfenTransferForm::ExportHtmlList(path, *merged, &reason);
        break;
    case HtmlTable:
        written = QuillfenTransferForm::ExportHtmlTable(path, *merged, &reason);
        break;
    }
    return written ? Outcome(FileOutcome::Done) : Outcome(FileOutcome::WriteFailed, reason);
}

FileOutcome TransferDocument::ExportXml(const QString& path) const
{
    QString reason;
    return m_form->ExportXmlWithData(path, *MergedData(), &reason)
               ? Outcome(FileOutcome::Done)
               : Outcome(FileOutcome::WriteFailed, reason);
}

// --- Opening ---------------------------------------------------------------------

FileOutcome TransferDocument::LoadDocument(const QString& path)
{
    FileOutcome outcome;
    std::unique_ptr<FileReader> reader = OpenReader(path, outcome);
    if (!reader)
        return outcome;

    if (reader->IsLegacyFormat()) {
        if (reader->GetMagic() != Tag::QFF)
            return Outcome(FileOutcome::NothingLoaded);
        // Read into a new form and set; the window's stay as they are when
        // the stream turns out damaged.
        std::unique_ptr<QuillfenTransferForm> form = NewForm();
        auto data = std::make_unique<InstrumentData>();
        QIODevice& stream = reader->GetStream();
        stream.seek(0);
        if (!form->ImportLegacyForm(stream, *data))
            return Outcome(FileOutcome::Damaged);
        ReplaceForm(std::move(form));
        m_saved = std::move(data);
        // It came from no file of today's kind: the next save asks for a name.
        m_fileName.clear();
        return outcome;
    }

    // Both sections are read aside first: a damaged one changes nothing.
    const int32_t type = reader->GetTypeTag();
    auto data = std::make_unique<InstrumentData>();
    const bool hasData = reader->SeekSection(Tag::Data);
    if (hasData && !QuillfenTransferForm::ReadData(*reader, *data))
        return Outcome(FileOutcome::Damaged);
    std::unique_ptr<QuillfenTransferForm> form;
    if (reader->SeekSection(QuillfenForm::SectionTag)) {
        form = NewForm();
        if (!form->Load(*reader))
            return Outcome(FileOutcome::Damaged);
    }

    if (form)
        ReplaceForm(std::move(form));
    m_form->SetLabelSheet(type == Tag::Bar);
    if (type == Tag::Bar || type == Tag::Form) {
        m_saved->Clear();
        m_transfered.Clear();
        m_fileName = path;
    } else if (type == Tag::Temp) {
        m_fileName.clear();
        m_labelNumbers.clear();
    }
    if (hasData)
        m_saved = std::move(data);
    if (m_form->IsLabelSheet())
        m_labelNumbers = m_form->ListLabelNumbers();
    return outcome;
}

FileOutcome TransferDocument::AppendDocument(const QString& path)
{
    FileOutcome outcome;
    std::unique_ptr<FileReader> reader = OpenReader(path, outcome);
    if (!reader)
        return outcome;
    if (!reader->SeekSection(QuillfenForm::SectionTag))
        return Outcome(FileOutcome::NothingLoaded);
    return m_form->Append(*reader) ? outcome : Outcome(FileOutcome::Damaged);
}

FileOutcome TransferDocument::OpenData(const QString& path, bool append)
{
    FileOutcome outcome;
    std::unique_ptr<FileReader> reader = OpenReader(path, outcome);
    if (!reader)
        return outcome;
    if (reader->IsLegacyFormat()) {
        if (reader->GetMagic() != Tag::QFD)
            return Outcome(FileOutcome::NothingLoaded);
        QIODevice& stream = reader->GetStream();
        stream.seek(0);
        const bool read = append ? QuillfenTransferForm::AppendLegacyData(stream, *m_saved)
                                 : QuillfenTransferForm::ImportLegacyData(stream, *m_saved);
        return read ? outcome : Outcome(FileOutcome::Damaged);
    }
    if (!reader->SeekSection(Tag::Data))
        return Outcome(FileOutcome::NothingLoaded);
    const bool read = append ? QuillfenTransferForm::AppendData(*reader, *m_saved)
                             : QuillfenTransferForm::ReadData(*reader, *m_saved);
    return read ? outcome : Outcome(FileOutcome::Damaged);
}
