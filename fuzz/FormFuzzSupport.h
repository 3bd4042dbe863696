// Shared by the document reader fuzz targets: a document's fingerprint, and
// the check that a document read once saves and reads back to the same bytes.
#pragma once

#include "documents/QuillfenForm.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

// Saving commits with a sync to disk; in memory the targets run many times faster.
inline const QTemporaryDir& ScratchDir()
{
    static const QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                       ? QStringLiteral("/dev/shm/quillfen-fuzz-XXXXXX")
                                       : QDir::tempPath() + QStringLiteral("/quillfen-fuzz-XXXXXX"));
    return dir;
}

// Everything a failed read must leave as it was.
inline QByteArray Fingerprint(const QuillfenForm& doc)
{
    QBuffer xml;
    xml.open(QIODevice::WriteOnly);
    doc.ExportXml(xml);
    return xml.data() + QByteArray::number(doc.GetCurrentPageIndex()) + (doc.IsModified() ? "m" : "-");
}

inline QByteArray SavedBytes(QuillfenForm& doc, const QString& path)
{
    {
        FileWriter writer(path, Tag::Temp);
        if (!doc.Save(writer))
            std::abort();
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

// A document holds a page, and what it holds saves and opens unchanged.
inline void CheckDocumentRoundTrip(QuillfenForm& doc)
{
    const QTemporaryDir& dir = ScratchDir();
    if (doc.GetPageCount() < 1 || !doc.GetCurrentPage())
        std::abort();
    const QString first = dir.filePath(QStringLiteral("first.qfs"));
    const QByteArray saved = SavedBytes(doc, first);
    QuillfenForm reread(nullptr, 1, 1);
    FileReader reader(first);
    if (!reread.Load(reader) || SavedBytes(reread, dir.filePath(QStringLiteral("second.qfs"))) != saved)
        std::abort();
}

// A document with something of its own, to see that failed reads keep it.
inline void FillForFuzzing(QuillfenForm& doc)
{
    doc.GetGlobalTexts()->SetText(3, QStringLiteral("kept"));
    doc.GetPage(0)->AddObject(std::make_unique<TextObject>());
    doc.AddPage();
}
