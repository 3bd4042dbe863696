#pragma once
// Groups: form objects that own an ordered list of children (fields and
// further groups), and the factory that turns the type codes of section
// "form" into objects.

#include "documents/AbstractFormObject.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class GlobalTextStorage;

// A new object of the kind a type code of section "form" names, with its
// defaults (groups and global-text fields on `globalTexts`); null for 0,
// "page" and any code that names no object.
std::unique_ptr<AbstractFormObject> CreateFormObject(int32_t typeCode, GlobalTextStorage* globalTexts);

class GroupObject : public AbstractFormObject
{
public:
    // Groups nested deeper than this in a record make it damaged: nothing
    // else bounds the recursion of reading, drawing and destroying them.
    static constexpr int MaxNestingDepth = 256;

    // `globalTexts` is the document's store; it must outlive the group.
    explicit GroupObject(GlobalTextStorage* globalTexts);
    // The base copy, the same store, and a clone of every child.
    GroupObject(const GroupObject& other);

    // Replaces the children by those of the record. False when the record is
    // damaged (a short stream, an unknown type code, nesting too deep); the
    // stream is then marked damaged and the group keeps the children read
    // whole before the damage.
    bool Load(QIODevice& stream) override;
    void Save(QIODevice& stream) const override;
    void WriteXml(QIODevice& out) const override;
    ~GroupObject() override;
    // Moves and scales the children (and the font sizes of text fields) from
    // the union rectangle onto the new one.
    void SetRect(int32_t a, int32_t b, int32_t c, int32_t d) override;
    // The union of the children's rectangles; the own one while empty.
    TRect GetRect() const override;
    void Draw(TCanvas& canvas, const DrawContext& context) const override;
    bool IsGroup() const override;
    // A group, also for a page.
    std::unique_ptr<AbstractFormObject> Clone() const override;
    int32_t GetTypeCode() const override;

    int GetCount() const { return static_cast<int>(m_items.size()); }
    // Null when the index is out of range.
    AbstractFormObject* GetObject(int index) const;
    // Appends and takes ownership; a null object is ignored. Returns the object.
    AbstractFormObject* AddObject(std::unique_ptr<AbstractFormObject> object);
    // Removes and destroys the object; nothing when it is not a child.
    void DeleteObject(const AbstractFormObject* object);
    // Removes the object and hands it back; null when it is not a child.
    std::unique_ptr<AbstractFormObject> RemoveObject(const AbstractFormObject* object);
    // Empties the list and hands every child back in order, so objects that
    // others still point at stay alive for as long as the caller keeps them.
    std::vector<std::unique_ptr<AbstractFormObject>> Clear();
    // Destroys every child, last first.
    void DeleteAll();
    // When `old` is a child: destroys it and puts `replacement` at its index.
    // Returns what was not placed: null on success, else the replacement
    // (an `old` that is no child, or a null replacement, changes nothing).
    std::unique_ptr<AbstractFormObject> ReplaceObject(const AbstractFormObject* old,
                                                      std::unique_ptr<AbstractFormObject> replacement);

    // The topmost child whose rectangle strictly contains the point.
    AbstractFormObject* FindObjectAt(int32_t x, int32_t y) const;
    // The innermost object under the point; a group only where the point is
    // inside its union but on none of its children.
    AbstractFormObject* FindObjectAtDeep(int32_t x, int32_t y) const;

    // Empties, through nested groups, the text of every text field that is
    // not fixed text.
    void ClearFilledTexts();
    // Removes, through nested groups, the measured value of every measure field.
    void ClearMeasuredValues();
    // Fills the direct text children whose Type names a record column with
    // the record's text of that column; `field` gives the text of a field
    // number (empty beyond the record's fields), and an empty text leaves
    // the child alone.
    void FillFromRevisionRow(const std::function<QString(int field)>& field);
    // Writes the block of filled record texts of this group and its nested
    // groups ("page"/"grp ", "text" records, "epag"/"egrp").
    void SaveFilledValues(QIODevice& stream) const;

    GlobalTextStorage* GetGlobalTexts() const { return m_globalTexts; }

protected:
    // The font field numbers are written in.
    static FontSpec FieldNumberFont();

private:
    bool LoadNested(QIODevice& stream, int depth);
    // Index of a direct child, -1 when it is none.
    int IndexOf(const AbstractFormObject* object) const;

    std::vector<std::unique_ptr<AbstractFormObject>> m_items;
    GlobalTextStorage* m_globalTexts;
};
