#pragma once
// Saved forms for revision-list tests and benchmarks: the filled-values
// section comes from the document model's own writer (pages, groups and text
// fields), so what the scan reads is what a saved form holds.

#include "documents/GlobalTextObject.h"
#include "documents/GroupObject.h"
#include "documents/PageObject.h"
#include "documents/TextObject.h"
#include "storage/File.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

// A page or group: its filled texts (text kind, text) and its nested groups.
struct FilledBlock
{
    std::vector<std::pair<int, QString>> texts;
    std::vector<FilledBlock> groups;
};

inline void AddFilledBlock(GroupObject& target, const FilledBlock& block, GlobalTextStorage* globals)
{
    for (const auto& [kind, text] : block.texts) {
        auto field = std::make_unique<TextObject>();
        field->SetType(kind);
        field->SetText(text);
        target.AddObject(std::move(field));
    }
    for (const FilledBlock& nested : block.groups) {
        auto group = std::make_unique<GroupObject>(globals);
        AddFilledBlock(*group, nested, globals);
        target.AddObject(std::move(group));
    }
}

// The "revd" section of a form with these pages.
inline QByteArray FilledValuesSection(const std::vector<FilledBlock>& pages)
{
    GlobalTextStorage globals;
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    for (const FilledBlock& block : pages) {
        PageObject page(&globals);
        AddFilledBlock(page, block, &globals);
        page.SaveFilledValues(out);
    }
    WriteInt32(out, FourCC("end "));
    return out.data();
}

// A container of `type` whose "revd" section holds `section`, followed by a
// "form" section of filler bytes that a reader of the filled values must not
// need. The file's time is set when `modified` is valid.
inline bool WriteFormFile(const QString& path, int32_t type, const QByteArray& section,
                          const QDateTime& modified = QDateTime())
{
    {
        FileWriter writer(path, type);
        writer.BeginSection(Tag::Revd);
        writer.GetStream().write(section);
        writer.BeginSection(FourCC("form"));
        writer.GetStream().write(QByteArray(512, '\x7f'));
        if (!writer.Commit())
            return false;
    }
    if (!modified.isValid())
        return true;
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.setFileTime(modified, QFileDevice::FileModificationTime);
}
