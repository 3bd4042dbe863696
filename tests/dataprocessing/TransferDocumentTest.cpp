#include "dataprocessing/TransferDocument.h"

#include "common/LegacyStreams.h"
#include "common/ScopedGuards.h"
#include "documents/MeasureObject.h"
#include "documents/TextObject.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <QDir>

namespace {

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A form with a filled measure field and an ID text, data in both sets.
void Fill(TransferDocument& doc, double value, const QString& id)
{
    auto field = std::make_unique<MeasureObject>();
    field->SetRect(0, 0, 100, 100);
    field->SetValue(InstrumentItem(value, 1, true, false).CloneItem().get());
    doc.Form().GetCurrentPage()->AddObject(std::move(field));
    auto text = std::make_unique<TextObject>();
    text->SetType(QuillfenTransferForm::IdType);
    text->SetText(id);
    doc.Form().GetCurrentPage()->AddObject(std::move(text));
    doc.Form().SetModified();
    auto saved = std::make_unique<InstrumentBank>(QByteArrayView("S"));
    saved->AddItem(std::make_unique<InstrumentItem>(value, 1, true, false));
    doc.Saved().AddBank(std::move(saved));
    doc.Transfered().AddBank(std::make_unique<InstrumentNumber>(77));
}

TEST(TransferDocument, SaveReopenResaveAndBackups)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("x.qfs");
    const QString backup = TransferDocument::BackupName(path);

    TransferDocument doc;
    Fill(doc, 230, "ID-1");
    ASSERT_TRUE(doc.SaveDocument(path, true).Ok());
    EXPECT_FALSE(doc.Form().IsModified());
    EXPECT_EQ(doc.FileName(), path);
    EXPECT_FALSE(QFile::exists(backup)); // nothing to back up yet
    const QByteArray first = FileBytes(path);
    // Type "form", sections "revd", "form", "data" in that order.
    EXPECT_EQ(first.mid(4, 4), "form");
    EXPECT_EQ(first.mid(8, 4), "revd");
    EXPECT_EQ(first.mid(16, 4), "form");
    EXPECT_EQ(first.mid(24, 4), "data");

    // Reopened: the data of both sets under "Saved", "Transfered" empty.
    TransferDocument reopened;
    reopened.Transfered().AddBank(std::make_unique<InstrumentBank>(QByteArrayView("old")));
    ASSERT_TRUE(reopened.LoadDocument(path).Ok());
    EXPECT_EQ(reopened.FileName(), path);
    ASSERT_EQ(reopened.Saved().GetCount(), 2);
    EXPECT_EQ(reopened.Saved().GetBank(1)->GetName(), "77");
    EXPECT_EQ(reopened.Transfered().GetCount(), 0);
    const auto* field = static_cast<const MeasureObject*>(reopened.Form().GetPage(0)->GetObject(0));
    ASSERT_NE(field->GetValue(), nullptr);
    EXPECT_EQ(field->GetValue()->GetValue(), 230);

    // Saved again unchanged: the same bytes. Then twice more with backups.
    const QString again = dir.filePath("again.qfs");
    ASSERT_TRUE(reopened.SaveDocument(again, true).Ok());
    EXPECT_EQ(FileBytes(again), first);
    reopened.Form().GetCurrentPage()->DeleteAll();
    ASSERT_TRUE(reopened.SaveDocument(again, true).Ok());
    const QByteArray second = FileBytes(again);
    EXPECT_EQ(FileBytes(TransferDocument::BackupName(again)), first);
    reopened.Form().AddPage();
    ASSERT_TRUE(reopened.SaveDocument(again, true).Ok());
    EXPECT_EQ(FileBytes(TransferDocument::BackupName(again)), second);
    EXPECT_FALSE(QFile::exists(TransferDocument::BackupName(again) + ".new"));

    // Without backups the file is replaced in place.
    ASSERT_TRUE(doc.SaveDocument(path, false).Ok());
    EXPECT_FALSE(QFile::exists(backup));

    // Append adds the file's pages after the document's.
    const int pages = reopened.Form().GetPageCount();
    ASSERT_TRUE(reopened.AppendDocument(path).Ok());
    EXPECT_EQ(reopened.Form().GetPageCount(), pages + 1);
    EXPECT_TRUE(reopened.Form().IsModified());
}

TEST(TransferDocument, FailedSaveKeepsDocumentFileAndBackup)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("x.qfs");
    TransferDocument doc;
    Fill(doc, 1, "A");
    ASSERT_TRUE(doc.SaveDocument(path, true).Ok());
    doc.Form().SetModified();
    ASSERT_TRUE(doc.SaveDocument(path, true).Ok());
    const QByteArray file = FileBytes(path);
    const QByteArray backup = FileBytes(TransferDocument::BackupName(path));

    Fill(doc, 2, "B");
    FileOutcome outcome;
    {
        // Every save and export says why, in the system's words for the
        // step that failed.
        SaveFault fault(dir.path());
        outcome = doc.SaveDocument(dir.filePath("x.qfs"), true);
        EXPECT_EQ(outcome.Detail, fault.Reason());
        for (auto format : {TransferDocument::DataDocument, TransferDocument::HtmlList}) {
            const FileOutcome data = doc.SaveDataAs(dir.filePath("data.qfs"), format);
            EXPECT_EQ(data.Result, FileOutcome::WriteFailed);
            EXPECT_EQ(data.Detail, fault.Reason());
        }
        const FileOutcome xml = doc.ExportXml(dir.filePath("x.xml"));
        EXPECT_EQ(xml.Result, FileOutcome::WriteFailed);
        EXPECT_EQ(xml.Detail, fault.Reason());
    }
    EXPECT_EQ(outcome.Result, FileOutcome::WriteFailed);
    EXPECT_TRUE(doc.Form().IsModified());
    EXPECT_EQ(FileBytes(path), file);
    EXPECT_EQ(FileBytes(TransferDocument::BackupName(path)), backup);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

// A document opened through a symbolic link is saved at the link's target;
// the backup must hold that target's previous bytes, and the link stays.
TEST(TransferDocument, BackupOfALinkedDocumentHoldsThePreviousContent)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("real.qfs");
    const QString link = dir.filePath("link.qfs");
    TransferDocument doc;
    Fill(doc, 1, "A");
    ASSERT_TRUE(doc.SaveDocument(target, false).Ok());
    const QByteArray previous = FileBytes(target);
    ASSERT_TRUE(QFile::link(target, link));

    TransferDocument linked;
    ASSERT_TRUE(linked.LoadDocument(link).Ok());
    Fill(linked, 2, "B");
    ASSERT_TRUE(linked.SaveDocument(link, true).Ok());
    const QString backup = TransferDocument::BackupName(link);
    EXPECT_FALSE(QFileInfo(backup).isSymLink());
    EXPECT_EQ(FileBytes(backup), previous);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_NE(FileBytes(target), previous);
    EXPECT_EQ(FileBytes(link), FileBytes(target));
    EXPECT_FALSE(QFile::exists(backup + ".new"));
}

// A name that is a loop of links has no file to replace: the save says so in
// the system's words, and the links stay as they were.
TEST(TransferDocument, ALoopOfLinksIsNotReplacedByTheSave)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::link("self.qfs", dir.filePath("self.qfs")));
    ASSERT_TRUE(QFile::link("b.qfs", dir.filePath("a.qfs")));
    ASSERT_TRUE(QFile::link("a.qfs", dir.filePath("b.qfs")));
    TransferDocument doc;
    Fill(doc, 1, "A");
    for (const char* name : {"self.qfs", "a.qfs"}) {
        const FileOutcome outcome = doc.SaveDocument(dir.filePath(name), true);
        EXPECT_EQ(outcome.Result, FileOutcome::WriteFailed) << name;
        EXPECT_EQ(outcome.Detail, QString::fromLocal8Bit(std::strerror(ELOOP))) << name;
    }
    EXPECT_EQ(QFileInfo(dir.filePath("self.qfs")).symLinkTarget(), dir.filePath("self.qfs"));
    EXPECT_EQ(QFileInfo(dir.filePath("a.qfs")).symLinkTarget(), dir.filePath("b.qfs"));
    EXPECT_EQ(QFileInfo(dir.filePath("b.qfs")).symLinkTarget(), dir.filePath("a.qfs"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::System | QDir::Files).size(), 3);
    EXPECT_TRUE(doc.Form().IsModified());
}

TEST(TransferDocument, HideTemplatesLabelSheetsAndData)
{
    QTemporaryDir dir;
    const QString form = dir.filePath("f.qfs");
    TransferDocument doc;
    Fill(doc, 5, "F");
    ASSERT_TRUE(doc.SaveDocument(form, false).Ok());

    // Hiding forgets the file name with the document: no empty form can be
    // saved over the last file.
    doc.Discard();
    EXPECT_TRUE(doc.FileName().isEmpty());
    EXPECT_EQ(doc.Saved().GetCount() + doc.Transfered().GetCount(), 0);

    // A template opens as an unnamed form; a label sheet keeps its kind.
    const QString temp = dir.filePath("t.qfs");
    {
        FileWriter writer(temp, Tag::Temp);
        QuillfenForm plain(nullptr, 1000, 1000);
        ASSERT_TRUE(plain.Save(writer));
    }
    ASSERT_TRUE(doc.LoadDocument(form).Ok());
    doc.Form().SetLabelSheet(true);
    ASSERT_TRUE(doc.SaveDocument(form, false).Ok());
    EXPECT_EQ(FileBytes(form).mid(4, 4), "bar ");
    ASSERT_TRUE(doc.LoadDocument(form).Ok());
    EXPECT_TRUE(doc.Form().IsLabelSheet());
    ASSERT_TRUE(doc.LoadDocument(temp).Ok());
    EXPECT_TRUE(doc.FileName().isEmpty());
    EXPECT_FALSE(doc.Form().IsLabelSheet());
    EXPECT_EQ(doc.Form().GetWidth(), 1000);

    // Data documents: written, opened (replacing) and appended.
    Fill(doc, 6, "G");
    const QString data = dir.filePath("d.qfs");
    ASSERT_TRUE(doc.SaveDataAs(data, TransferDocument::DataDocument).Ok());
    EXPECT_EQ(FileBytes(data).mid(4, 4), "data");
    ASSERT_TRUE(doc.OpenData(data, false).Ok());
    EXPECT_EQ(doc.Saved().GetCount(), 4);
    ASSERT_TRUE(doc.OpenData(data, true).Ok());
    EXPECT_EQ(doc.Saved().GetCount(), 8);
    EXPECT_EQ(doc.OpenData(temp, true).Result, FileOutcome::NothingLoaded);
    EXPECT_EQ(doc.LoadDocument(dir.filePath("missing.qfs")).Result, FileOutcome::CannotOpen);
    EXPECT_EQ(doc.SaveDataAs(dir.filePath("no/h.html"), TransferDocument::HtmlList).Result,
              FileOutcome::WriteFailed);

    // A damaged data section changes nothing.
    QByteArray bytes = FileBytes(data);
    QFile cut(data);
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(bytes.left(bytes.size() - 5));
    cut.close();
    EXPECT_EQ(doc.OpenData(data, false).Result, FileOutcome::Damaged);
    EXPECT_EQ(doc.LoadDocument(data).Result, FileOutcome::Damaged);
    EXPECT_EQ(doc.Saved().GetCount(), 8);
}

TEST(TransferDocument, OlderFormStreamsReplaceOrKeepEverything)
{
    QTemporaryDir dir;
    OldObject text;
    text.kind = 2;
    const QByteArray body = Le32(Tag::QFF) + Le32(0) + "Template" + Le32(2100) + Le32(2975) + "Page    "
                            + text.Record() + "TemplEof"
                            + LegacyStream().Tag("Data    ").Head(3).Item("U=1 V", 3).Tag("DataEof ").Bytes();
    const QByteArray filled = LegacyStream().Tag("Forms   ").Tag("Page    ")
                                  .Tag("ObjText ").Int(0).Int(4).Raw(Utf16(u"ok")).Tag("FormsEof").Bytes();
    const QByteArray damaged = LegacyStream()
                                   .Tag("Forms   ")
                                   .Tag("Page    ")
                                   .Tag("ObjText ")
                                   .Int(0)
                                   .Int(-4)
                                   .Tag("FormsEof")
                                   .Bytes();
    const QString good = dir.filePath("good.qff");
    const QString bad = dir.filePath("bad.qff");
    for (const auto& [path, bytes] :
         {std::pair{good, body + filled}, std::pair{bad, body + damaged}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    TransferDocument doc;
    Fill(doc, 9, "K");
    doc.SetFileName(dir.filePath("shown.qfs"));
    doc.LabelNumbers().push_back({"1", doc.Form().GetPage(0)->GetObject(0)});
    EXPECT_EQ(doc.LoadDocument(bad).Result, FileOutcome::Damaged);
    EXPECT_EQ(doc.Form().GetPage(0)->GetCount(), 2);
    EXPECT_EQ(doc.Saved().GetCount(), 1);
    EXPECT_EQ(doc.FileName(), dir.filePath("shown.qfs"));

    ASSERT_TRUE(doc.LoadDocument(good).Ok());
    EXPECT_TRUE(doc.FileName().isEmpty());
    EXPECT_TRUE(doc.LabelNumbers().empty());
    EXPECT_EQ(doc.Form().GetPage(0)->GetObject(0)->GetText(), "ok");
    ASSERT_EQ(doc.Saved().GetCount(), 1);
    EXPECT_EQ(doc.Saved().GetBank(0)->GetName(), "3");
}

} // namespace
