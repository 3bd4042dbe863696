#include "documents/GlobalTextObject.h"
#include "documents/GroupObject.h"
#include "documents/LabelObject.h"
#include "documents/MeasureObject.h"
#include "documents/PageObject.h"
#include "instruments/InstrumentItem.h"

#include "common/FieldRecords.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

namespace {

std::unique_ptr<TextObject> Text(TRect r, int32_t type = TextObject::FixedText, const QString& text = {})
{
    auto t = std::make_unique<TextObject>();
    t->SetRect(r.Left, r.Top, r.Right, r.Bottom);
    t->SetType(type);
    t->SetText(text);
    return t;
}

std::unique_ptr<LabelObject> Label(TRect r)
{
    auto l = std::make_unique<LabelObject>();
    l->SetRect(r.Left, r.Top, r.Right, r.Bottom);
    return l;
}

QByteArray FilledValues(const GroupObject& group)
{
    return Written([&](QIODevice& s) { group.SaveFilledValues(s); });
}

QByteArray Code(const char (&code)[5])
{
    return Le32(FourCC(code));
}

// A group record of `count` children whose bytes follow.
QByteArray GroupRecord(int32_t count, const QByteArray& children = {})
{
    return Bytes({1}) + Le32(count) + children;
}

// A page of: a text field, a group (a label, a measure field, a global-text
// field and a nested group with a choice of Types), and a label.
std::unique_ptr<PageObject> SamplePage(GlobalTextStorage* store)
{
    auto page = std::make_unique<PageObject>(store);
    page->AddObject(Text({10, 10, 200, 60}, 3, QStringLiteral("ID-7")));
    auto group = std::make_unique<GroupObject>(store);
    group->AddObject(Label({300, 300, 400, 400}));
    auto measure = std::make_unique<MeasureObject>();
    measure->SetRect(300, 420, 500, 460);
    measure->AddSymbol(4);
    group->AddObject(std::move(measure));
    auto global = std::make_unique<GlobalTextObject>(store);
    global->SetRect(300, 470, 600, 500);
    global->SetGID(12);
    global->SetText(QStringLiteral("shared"));
    group->AddObject(std::move(global));
    auto inner = std::make_unique<GroupObject>(store);
    inner->AddObject(Text({320, 520, 380, 560}, 2, QString::fromUtf16(u"N\u00e1zev")));
    group->AddObject(std::move(inner));
    page->AddObject(std::move(group));
    page->AddObject(Label({0, 700, 2100, 900}));
    return page;
}

} // namespace

// --- The object factory ------------------------------------------------------

TEST(ObjectFactory, EachCodeMakesItsKindAndOthersMakeNothing)
{
    GlobalTextStorage store;
    for (int32_t code : {ObjectCode::Text, ObjectCode::Barcode, ObjectCode::Choice, ObjectCode::Link,
                         ObjectCode::Global, ObjectCode::Label, ObjectCode::Measure, ObjectCode::Picture,
                         ObjectCode::Group}) {
        const auto object = CreateFormObject(code, &store);
        ASSERT_TRUE(object) << code;
        EXPECT_EQ(object->GetTypeCode(), code);
    }
    // Groups and global-text fields are made on the reader's store.
    const auto group = CreateFormObject(ObjectCode::Group, &store);
    EXPECT_EQ(static_cast<GroupObject&>(*group).GetGlobalTexts(), &store);
    const auto global = CreateFormObject(ObjectCode::Global, &store);
    EXPECT_EQ(static_cast<GlobalTextObject&>(*global).GetStorage(), &store);

    // Pages are read by the document only; end codes and unknown codes are no objects.
    for (int32_t code : {0, ObjectCode::Page, ObjectCode::EndGroup, ObjectCode::Base, FourCC("xyz!")})
        EXPECT_FALSE(CreateFormObject(code, &store)) << code;
}

// --- Records -----------------------------------------------------------------

TEST(GroupRecord, LayoutIsVersionCountThenCodeAndRecordPerChild)
{
    GroupObject group(nullptr);
    group.AddObject(Label({1, 2, 3, 4}));
    auto inner = std::make_unique<GroupObject>(nullptr);
    group.AddObject(std::move(inner));

    const QByteArray expected
        = GroupRecord(2, Code("labl") + SavedRecord(*group.GetObject(0)) + Code("grp ") + GroupRecord(0));
    EXPECT_EQ(SavedRecord(group), expected);
    // The group record has no base record of its own, and a page's is the same.
    PageObject page(nullptr);
    EXPECT_EQ(SavedRecord(page), GroupRecord(0));
}

TEST(GroupRecord, EveryKindRoundTripsByteForByte)
{
    GlobalTextStorage store;
    const auto page = SamplePage(&store);
    const QByteArray bytes = SavedRecord(*page);

    GlobalTextStorage other;
    PageObject read(&other);
    ReadBuffer in(bytes);
    ASSERT_TRUE(read.Load(in));
    EXPECT_TRUE(in.atEnd());
    EXPECT_FALSE(IsStreamDamaged(in));
    EXPECT_EQ(SavedRecord(read), bytes);

    ASSERT_EQ(read.GetCount(), 3);
    auto* group = dynamic_cast<GroupObject*>(read.GetObject(1));
    ASSERT_TRUE(group);
    EXPECT_EQ(group->GetGlobalTexts(), &other);
    ASSERT_EQ(group->GetCount(), 4);
    EXPECT_TRUE(dynamic_cast<LabelObject*>(group->GetObject(0)));
    EXPECT_TRUE(dynamic_cast<MeasureObject*>(group->GetObject(1)));
    auto* global = dynamic_cast<GlobalTextObject*>(group->GetObject(2));
    ASSERT_TRUE(global);
    EXPECT_EQ(global->GetStorage(), &other);
    EXPECT_EQ(global->GetGID(), 12);
}

TEST(GroupRecord, CodeZeroEndsTheListAndEmptyRecordsLoad)
{
    const QByteArray text = SavedRecord(*Text({1, 1, 5, 5}));
    // Count 3, the second code 0: one child, and nothing after the 0 is read.
    ReadBuffer in(GroupRecord(3, Code("text") + text + Le32(0)) + "rest");
    GroupObject group(nullptr);
    ASSERT_TRUE(group.Load(in));
    EXPECT_EQ(group.GetCount(), 1);
    EXPECT_EQ(in.pos(), 1 + 4 + 4 + text.size() + 4);

    ReadBuffer empty(GroupRecord(0));
    PageObject page(nullptr);
    EXPECT_TRUE(page.Load(empty));
    EXPECT_EQ(page.GetCount(), 0);
}

TEST(GroupRecord, LoadReplacesTheChildrenHeld)
{
    GroupObject group(nullptr);
    group.AddObject(Label({1, 1, 2, 2}));
    group.AddObject(Label({1, 1, 2, 2}));
    ReadBuffer in(GroupRecord(1, Code("labl") + SavedRecord(LabelObject())));
    ASSERT_TRUE(group.Load(in));
    EXPECT_EQ(group.GetCount(), 1);
}

TEST(GroupRecord, DamagedRecordsEndTheLoadQuicklyAsDamaged)
{
    const QByteArray label = Code("labl") + SavedRecord(*Label({5, 5, 9, 9}));
    struct Case
    {
        const char* name;
        QByteArray bytes;
        int kept; // children read whole before the damage
    };
    const Case cases[] = {
        {"huge count in a short record", GroupRecord(0x7FFFFFFF, label), 1},
        {"negative count", GroupRecord(-1, label), 0},
        {"unknown type code", GroupRecord(3, label + Code("zzzz") + label), 1},
        {"a page inside a group", GroupRecord(2, label + Code("page") + GroupRecord(0)), 1},
        {"end code as a child", GroupRecord(2, label + Code("egrp")), 1},
        {"truncated child record", GroupRecord(2, label + label.left(label.size() - 3)), 1},
        {"type code cut short", GroupRecord(2, label + QByteArray("la")), 1},
        {"no count", Bytes({1, 2}), 0},
        {"nothing at all", QByteArray(), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReadBuffer in(c.bytes);
        GroupObject group(nullptr);
        EXPECT_FALSE(group.Load(in));
        EXPECT_TRUE(IsStreamDamaged(in));
        EXPECT_EQ(group.GetCount(), c.kept);
        EXPECT_LE(in.pos(), c.bytes.size());
    }
}

TEST(GroupRecord, DeepNestingIsRefusedWithoutExhaustingTheStack)
{
    // 100,000 groups each holding the next: far deeper than any layout.
    const QByteArray level = GroupRecord(1) + Code("grp ");
    QByteArray bytes;
    for (int i = 0; i < 100000; ++i)
        bytes += level;
    bytes += GroupRecord(0);

    QElapsedTimer timer;
    timer.start();
    ReadBuffer in(bytes);
    PageObject page(nullptr);
    EXPECT_FALSE(page.Load(in));
    EXPECT_TRUE(IsStreamDamaged(in));
    EXPECT_LT(timer.elapsed(), 5000);

    // Nesting up to the limit is a sound record.
    QByteArray allowed;
    for (int i = 0; i < GroupObject::MaxNestingDepth; ++i)
        allowed += level;
    allowed += GroupRecord(0);
    ReadBuffer ok(allowed);
    PageObject deep(nullptr);
    EXPECT_TRUE(deep.Load(ok));
    EXPECT_EQ(SavedRecord(deep), allowed);

    // The union rectangle of the deepest chain costs one visit per level.
    timer.restart();
    EXPECT_EQ(deep.GetRect(), (TRect{0, 0, 0, 0}));
    EXPECT_LT(timer.elapsed(), 5000);
}

// --- Copies and the child list ------------------------------------------------

TEST(GroupCopy, CloneOfAPageIsAGroupOfClones)
{
    GlobalTextStorage store;
    const auto page = SamplePage(&store);
    const auto clone = page->Clone();
    ASSERT_EQ(clone->GetTypeCode(), ObjectCode::Group);
    auto& group = dynamic_cast<GroupObject&>(*clone);
    EXPECT_FALSE(dynamic_cast<PageObject*>(clone.get()));
    EXPECT_EQ(group.GetGlobalTexts(), &store);
    ASSERT_EQ(group.GetCount(), page->GetCount());
    for (int i = 0; i < group.GetCount(); ++i)
        EXPECT_NE(group.GetObject(i), page->GetObject(i));
    EXPECT_EQ(SavedRecord(*group.GetObject(0)), SavedRecord(*page->GetObject(0)));
    EXPECT_EQ(SavedRecord(*group.GetObject(2)), SavedRecord(*page->GetObject(2)));
    // Deep: the nested group's children are copies of the same kinds, in order.
    auto* inner = dynamic_cast<GroupObject*>(group.GetObject(1));
    auto* original = dynamic_cast<GroupObject*>(page->GetObject(1));
    ASSERT_TRUE(inner);
    ASSERT_EQ(inner->GetCount(), original->GetCount());
    for (int i = 0; i < inner->GetCount(); ++i) {
        EXPECT_NE(inner->GetObject(i), original->GetObject(i));
        EXPECT_EQ(inner->GetObject(i)->GetTypeCode(), original->GetObject(i)->GetTypeCode());
    }
    EXPECT_EQ(SavedRecord(*inner->GetObject(1)), SavedRecord(*original->GetObject(1)));
    EXPECT_EQ(group.GetRect(), page->GetRect());
}

TEST(GroupList, AddRemoveReplaceAndClear)
{
    GroupObject group(nullptr);
    EXPECT_EQ(group.AddObject(nullptr), nullptr);
    AbstractFormObject* a = group.AddObject(Label({1, 1, 2, 2}));
    AbstractFormObject* b = group.AddObject(Label({3, 3, 4, 4}));
    AbstractFormObject* c = group.AddObject(Label({5, 5, 6, 6}));
    EXPECT_EQ(group.GetCount(), 3);
    EXPECT_EQ(group.GetObject(-1), nullptr);
    EXPECT_EQ(group.GetObject(3), nullptr);

    // Replacing keeps the drawing order.
    auto replacement = Text({7, 7, 8, 8});
    AbstractFormObject* r = replacement.get();
    EXPECT_EQ(group.ReplaceObject(b, std::move(replacement)), nullptr);
    EXPECT_EQ(group.GetObject(1), r);
    // An object that is no child: the replacement stays with the caller.
    auto text = Text({9, 9, 10, 10});
    AbstractFormObject* t = text.get();
    std::unique_ptr<AbstractFormObject> stray = group.ReplaceObject(b, std::move(text));
    EXPECT_EQ(stray.get(), t);
    EXPECT_EQ(group.ReplaceObject(a, nullptr), nullptr);
    EXPECT_EQ(group.GetObject(0), a);

    // Removing hands the object back alive; deleting a stranger does nothing.
    std::unique_ptr<AbstractFormObject> removed = group.RemoveObject(a);
    EXPECT_EQ(removed.get(), a);
    EXPECT_EQ(group.RemoveObject(a), nullptr);
    group.DeleteObject(stray.get());
    EXPECT_EQ(group.GetCount(), 2);
    group.DeleteObject(r);
    EXPECT_EQ(group.GetCount(), 1);
    EXPECT_EQ(group.GetObject(0), c);

    // Clear hands every child back; those still pointed at can be added again.
    group.AddObject(std::move(removed));
    std::vector<std::unique_ptr<AbstractFormObject>> taken = group.Clear();
    EXPECT_EQ(group.GetCount(), 0);
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0].get(), c);
    EXPECT_EQ(taken[1].get(), a);
    EXPECT_EQ(a->GetRect(), (TRect{1, 1, 2, 2}));
    GroupObject other(nullptr);
    other.AddObject(std::move(taken[1]));
    EXPECT_EQ(other.GetObject(0), a);

    other.DeleteAll();
    EXPECT_EQ(other.GetCount(), 0);
}

// --- Geometry and hit tests --------------------------------------------------

TEST(GroupGeometry, RectIsTheUnionWhileChildrenExist)
{
    GroupObject group(nullptr);
    group.SetRect(5, 6, 7, 8);
    EXPECT_EQ(group.GetRect(), (TRect{5, 6, 7, 8}));
    group.AddObject(Label({100, 50, 200, 60}));
    group.AddObject(Label({20, 80, 150, 90}));
    EXPECT_EQ(group.GetRect(), (TRect{20, 50, 200, 90}));
}

TEST(GroupGeometry, HitTestsAreStrictAndFindTheInnermostObject)
{
    GroupObject page(nullptr);
    AbstractFormObject* under = page.AddObject(Label({0, 0, 100, 100}));
    AbstractFormObject* over = page.AddObject(Label({50, 50, 150, 150}));
    auto group = std::make_unique<GroupObject>(nullptr);
    AbstractFormObject* inside = group->AddObject(Label({300, 300, 350, 350}));
    group->AddObject(Label({400, 400, 450, 450}));
    GroupObject* g = static_cast<GroupObject*>(page.AddObject(std::move(group)));

    EXPECT_EQ(page.FindObjectAt(75, 75), over);   // the last drawn wins
    EXPECT_EQ(page.FindObjectAt(25, 25), under);
    EXPECT_EQ(page.FindObjectAt(100, 20), nullptr); // on the edge of `under`, outside `over`
    EXPECT_EQ(page.FindObjectAt(20, 0), nullptr);
    EXPECT_EQ(page.FindObjectAt(320, 320), g);      // only direct children

    EXPECT_EQ(page.FindObjectAtDeep(320, 320), inside);
    EXPECT_EQ(page.FindObjectAtDeep(375, 375), g);  // in the union, on no child
    EXPECT_EQ(page.FindObjectAtDeep(75, 75), over);
    EXPECT_EQ(page.FindObjectAtDeep(500, 500), nullptr);
}

TEST(GroupGeometry, ResizeScalesChildrenAndTheirFonts)
{
    GroupObject group(nullptr);
    auto flat = Text({0, 0, 50, 50});
    flat->SetSize(40);
    TextObject* horizontal = flat.get();
    group.AddObject(std::move(flat));
    auto turned = Text({50, 0, 100, 50});
    turned->SetAlign(9);
    turned->SetSize(40);
    TextObject* rotated = turned.get();
    group.AddObject(std::move(turned));
    auto inner = std::make_unique<GroupObject>(nullptr);
    AbstractFormObject* nested = inner->AddObject(Label({10, 10, 30, 20}));
    group.AddObject(std::move(inner));

    group.SetRect(0, 0, 200, 50);
    EXPECT_EQ(group.GetRect(), (TRect{0, 0, 200, 50}));
    EXPECT_EQ(horizontal->GetRect(), (TRect{0, 0, 100, 50}));
    EXPECT_EQ(rotated->GetRect(), (TRect{100, 0, 200, 50}));
    EXPECT_EQ(nested->GetRect(), (TRect{20, 10, 60, 20}));
    EXPECT_EQ(horizontal->GetSize(), 40);
    EXPECT_EQ(rotated->GetSize(), 80);

    // Moved and shrunk to a quarter across and half down.
    group.SetRect(30, 10, 80, 35);
    EXPECT_EQ(horizontal->GetRect(), (TRect{30, 10, 55, 35}));
    EXPECT_EQ(rotated->GetRect(), (TRect{55, 10, 80, 35}));
    EXPECT_EQ(nested->GetRect(), (TRect{35, 15, 45, 20}));
    EXPECT_EQ(horizontal->GetSize(), 20);
    EXPECT_EQ(rotated->GetSize(), 20);

    // Scaled coordinates are cut toward zero.
    GroupObject halves(nullptr);
    halves.AddObject(Label({0, 0, 10, 10}));
    AbstractFormObject* odd = halves.AddObject(Label({3, 3, 7, 7}));
    halves.SetRect(0, 0, 5, 5);
    EXPECT_EQ(odd->GetRect(), (TRect{1, 1, 3, 3}));
}

TEST(GroupGeometry, ResizeNeverMirrorsChildrenOrZeroesFonts)
{
    const auto makeGroup = [] {
        auto group = std::make_unique<GroupObject>(nullptr);
        auto t = Text({100, 100, 200, 140});
        t->SetSize(30);
        group->AddObject(std::move(t));
        group->AddObject(Label({200, 140, 300, 200}));
        return group;
    };
    // A drag past the opposite corner gives swapped corners: the same result
    // as the ordered ones.
    const auto ordered = makeGroup();
    ordered->SetRect(50, 60, 250, 160);
    const auto flipped = makeGroup();
    flipped->SetRect(250, 160, 50, 60);
    EXPECT_EQ(SavedRecord(*flipped), SavedRecord(*ordered));
    EXPECT_EQ(flipped->GetRect(), (TRect{50, 60, 250, 160}));

    // Squeezed flat: fonts stay readable at size 1.
    const auto squeezed = makeGroup();
    squeezed->SetRect(100, 100, 300, 100);
    EXPECT_EQ(static_cast<TextObject*>(squeezed->GetObject(0))->GetSize(), 1);
    EXPECT_EQ(squeezed->GetRect(), (TRect{100, 100, 300, 100}));
}

TEST(GroupGeometry, ResizeKeepsADimensionOfNoExtent)
{
    GroupObject group(nullptr);
    auto t = Text({100, 10, 100, 60});
    t->SetSize(40);
    t->SetAlign(12);
    TextObject* text = t.get();
    group.AddObject(std::move(t));
    group.AddObject(Label({100, 70, 100, 90}));
    // No width to scale: the children keep theirs and move to the new left.
    group.SetRect(300, 10, 500, 170);
    EXPECT_EQ(text->GetRect(), (TRect{300, 10, 300, 110}));
    EXPECT_EQ(group.GetObject(1)->GetRect(), (TRect{300, 130, 300, 170}));
    EXPECT_EQ(text->GetSize(), 40); // rotated text follows the width, which kept its scale
}

// --- Filled values -------------------------------------------------------------

TEST(GroupFill, ClearingTextsAndMeasuredValuesReachesNestedGroups)
{
    GroupObject page(nullptr);
    TextObject* fixed = static_cast<TextObject*>(page.AddObject(Text({0, 0, 1, 1}, 0, QStringLiteral("fixed"))));
    auto group = std::make_unique<GroupObject>(nullptr);
    auto* typed = static_cast<TextObject*>(group->AddObject(Text({0, 0, 1, 1}, 1, QStringLiteral("typed"))));
    auto* name = static_cast<TextObject*>(group->AddObject(Text({0, 0, 1, 1}, 2, QStringLiteral("name"))));
    auto measure = std::make_unique<MeasureObject>();
    const InstrumentItem item(1.5, 2, true, false);
    measure->SetValue(&item);
    auto* m = static_cast<MeasureObject*>(group->AddObject(std::move(measure)));
    page.AddObject(std::move(group));

    page.ClearMeasuredValues();
    EXPECT_EQ(m->GetValue(), nullptr);
    EXPECT_EQ(typed->GetText(), QStringLiteral("typed"));

    page.ClearFilledTexts();
    EXPECT_EQ(fixed->GetText(), QStringLiteral("fixed"));
    EXPECT_TRUE(typed->GetText().isEmpty());
    EXPECT_TRUE(name->GetText().isEmpty());
}

TEST(GroupFill, RecordColumnsFillDirectTextChildrenByType)
{
    const QStringList row = {"Name", "ID", "Desc", "2030-01-01", "file", "modified", "n1", "n2", "n3",
                             "n4",   "n5", "Loc"};
    const auto field = [&row](int column) { return column < row.size() ? row[column] : QString(); };

    GroupObject group(nullptr);
    const int32_t types[] = {0, 1, 2, 3, 4, 5, 6, 10, 11, 15, 18};
    for (int32_t type : types)
        group.AddObject(Text({0, 0, 1, 1}, type, QStringLiteral("old")));
    auto inner = std::make_unique<GroupObject>(nullptr);
    auto* nested = static_cast<TextObject*>(inner->AddObject(Text({0, 0, 1, 1}, 2, QStringLiteral("old"))));
    group.AddObject(std::move(inner));

    group.FillFromRevisionRow(field);
    const QStringList expected = {"old", "old", "Name", "ID", "Desc", "2030-01-01", "n1", "n5", "old", "old",
                                  "Name"}; // 18 & 15 is 2: the Name
    for (int i = 0; i < int(std::size(types)); ++i)
        EXPECT_EQ(group.GetObject(i)->GetText(), expected[i]) << "Type " << types[i];
    EXPECT_EQ(nested->GetText(), QStringLiteral("old")); // groups are not entered

    // An empty record text keeps the field's own.
    group.FillFromRevisionRow([](int) { return QString(); });
    EXPECT_EQ(group.GetObject(3)->GetText(), QStringLiteral("ID"));
}

TEST(GroupFilledValues, PageWithAGroupedIdWritesNestedBlocks)
{
    PageObject page(nullptr);
    auto group = std::make_unique<GroupObject>(nullptr);
    group->AddObject(Text({0, 0, 10, 10}, 3, QStringLiteral("AB")));
    page.AddObject(std::move(group));

    const QByteArray expected = Code("page") + Code("grp ") + Code("text") + Le32(3) + Wide("AB") + Code("egrp")
                                + Code("epag");
    EXPECT_EQ(FilledValues(page), expected);
    EXPECT_EQ(expected.mid(8, 14), Bytes({0x74, 0x65, 0x78, 0x74, 3, 0, 0, 0, 2, 0, 0, 0, 0x41, 0x42}));
}

TEST(GroupFilledValues, OnlyNonEmptyRecordTextsAreWritten)
{
    GlobalTextStorage store;
    PageObject page(&store);
    page.AddObject(Text({0, 0, 1, 1}, 0, QStringLiteral("fixed")));
    page.AddObject(Text({0, 0, 1, 1}, 1, QStringLiteral("typed")));
    page.AddObject(Text({0, 0, 1, 1}, 2, QString()));
    page.AddObject(Text({0, 0, 1, 1}, 11, QString::fromUtf16(u"Plze\u0148")));
    page.AddObject(Label({0, 0, 1, 1}));
    auto labels = std::make_unique<GroupObject>(&store);
    labels->AddObject(Label({0, 0, 1, 1}));
    page.AddObject(std::move(labels));
    auto deep = std::make_unique<GroupObject>(&store);
    auto deeper = std::make_unique<GroupObject>(&store);
    auto global = std::make_unique<GlobalTextObject>(&store);
    global->SetGID(4);
    global->SetType(5);
    global->SetText(QStringLiteral("g"));
    deeper->AddObject(std::move(global));
    deep->AddObject(std::move(deeper));
    page.AddObject(std::move(deep));

    // A global-text field is always editable (Type 1), so it writes nothing.
    const QByteArray expected = Code("page") + Code("text") + Le32(11) + Wide("Plze\xc5\x88") + Code("grp ")
                                + Code("egrp") + Code("grp ") + Code("grp ") + Code("egrp") + Code("egrp")
                                + Code("epag");
    EXPECT_EQ(FilledValues(page), expected);
}

// --- XML -----------------------------------------------------------------------

TEST(GroupXml, ChildrenAreWrappedByKindAndGroupsNest)
{
    PageObject page(nullptr);
    page.AddObject(Label({0, 0, 10, 20}));
    auto group = std::make_unique<GroupObject>(nullptr);
    group->AddObject(Text({0, 0, 10, 10}));
    page.AddObject(std::move(group));

    const QByteArray label = WrittenXml(*page.GetObject(0));
    const QByteArray text = WrittenXml(*static_cast<GroupObject*>(page.GetObject(1))->GetObject(0));
    EXPECT_TRUE(label.startsWith("<Left>0</Left>"));
    const QByteArray expected = "<Page><Count>2</Count>\n<Label>" + label + "</Label>\n<Group><Count>1</Count>\n<Text>"
                                + text + "</Text>\n</Group>\n</Page>\n";
    EXPECT_EQ(WrittenXml(page), expected);
}
