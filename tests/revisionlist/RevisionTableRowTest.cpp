#include "language/Language.h"
#include "revisionlist/RevisionTableColumn.h"
#include "revisionlist/RevisionTableRow.h"

#include <gtest/gtest.h>

TEST(RevisionTableRowTest, FieldsExistOnlyUpToTheirCountAndKeepOneLine)
{
    RevisionTableRow row;
    EXPECT_EQ(row.GetFieldCount(), 12);
    row.SetField(12, "lost");
    row.SetField(-1, "lost");
    EXPECT_EQ(row.GetField(12), "");
    EXPECT_EQ(row.GetField(-1), "");
    EXPECT_EQ(row.GetFieldCount(), 12);

    row.SetField(RevisionTableRow::Name, "first\nsecond");
    EXPECT_EQ(row.GetField(0), "first second");
    row.SetFieldIfNotEmpty(RevisionTableRow::Name, "");
    EXPECT_EQ(row.GetField(0), "first second");

    row.PadFields(5); // never shrinks, never pads below six
    EXPECT_EQ(row.GetFieldCount(), 12);
    row.PadFields(14);
    EXPECT_EQ(row.GetFieldCount(), 14);
    row.SetField(13, "user");
    row.AddField("appended");
    EXPECT_EQ(row.GetField(14), "appended");
    row.ClearFields();
    EXPECT_EQ(row.GetFieldCount(), 15);
    EXPECT_EQ(row.GetField(0), "");
    EXPECT_EQ(row.GetField(13), "");
}

TEST(RevisionTableRowTest, FormTextKindsFillTheirFieldsAndOnlyRecordFieldsCountAsContent)
{
    RevisionTableRow row;
    for (int kind = -1; kind <= 13; ++kind)
        row.SetFieldByTextType(kind, QString("k%1").arg(kind));
    const QStringList expected = {"k2", "k3", "k4", "k5", "", "", "k6", "k7", "k8", "k9", "k10", "k11"};
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(row.GetField(k), expected[k]) << k;

    RevisionTableRow locationOnly;
    locationOnly.SetField(RevisionTableRow::FileName, "/a.qfs");
    locationOnly.SetField(RevisionTableRow::Modified, "1/1/2020");
    locationOnly.SetField(RevisionTableRow::Location, "hall");
    locationOnly.AddField("user");
    EXPECT_FALSE(locationOnly.HasContent());
    locationOnly.SetField(RevisionTableRow::Note5, "n");
    EXPECT_TRUE(locationOnly.HasContent());

    // Copying takes non-empty standard fields only, never page, group or user fields.
    RevisionTableRow target;
    target.SetField(RevisionTableRow::Name, "kept");
    target.SetPage(3);
    target.SetGroup(4);
    locationOnly.SetPage(9);
    target.CopyFrom(locationOnly);
    EXPECT_EQ(target.GetField(0), "kept");
    EXPECT_EQ(target.GetField(11), "hall");
    EXPECT_EQ(target.GetField(10), "n");
    EXPECT_EQ(target.GetFieldCount(), 12);
    EXPECT_EQ(target.GetPage(), 3);
    EXPECT_EQ(target.GetGroup(), 4);
}

TEST(RevisionTableColumnTest, CaptionsFollowTheLanguageUnlessCustomAndTypesCycle)
{
    const int saved = MainLanguage.GetLanguage();
    MainLanguage.SetLanguage(Language::English);
    const RevisionColumnList columns = DefaultRevisionColumns();
    QStringList captions;
    QList<int> numbers, types, widths;
    for (const auto& c : columns) {
        captions << c->GetCaption();
        numbers << c->GetNumber();
        types << c->GetType();
        widths << c->GetWidth();
    }
    EXPECT_EQ(captions, QStringList({"Name", "ID", "Location", "Description", "Next revision", "File name",
                                     "Modified", "Note 1", "Note 2", "Note 3", "Note 4", "Note 5"}));
    EXPECT_EQ(numbers, QList<int>({0, 1, 11, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(types, QList<int>({0, 1, 0, 0, 2, 0, 2, 0, 0, 0, 0, 0}));
    EXPECT_EQ(widths, QList<int>({120, 80, 100, 300, 80, 100, 80, 100, 100, 100, 100, 100}));

    RevisionTableColumn custom("Mine", 0, RevisionTableColumn::Text, 50);
    MainLanguage.SetLanguage(Language::Czech);
    EXPECT_EQ(columns[0]->GetCaption(), "Název");
    EXPECT_EQ(custom.GetCaption(), "Mine");
    EXPECT_EQ(RevisionTableColumn(15, 0, 10).GetCaption(), "");
    EXPECT_EQ(RevisionTableColumn(25, 0, 10).GetDefaultCaptionId(), 0);
    EXPECT_EQ(RevisionTableColumn::TypeName(RevisionTableColumn::Date), "Datum");
    MainLanguage.SetLanguage(saved);

    RevisionTableColumn column(12, RevisionTableColumn::Date, 100);
    column.SetType(column.GetType() + 1);
    EXPECT_EQ(column.GetType(), RevisionTableColumn::Text);
    column.SetType(-4);
    EXPECT_EQ(column.GetType(), RevisionTableColumn::Text);
}
