#pragma once
// The designer's set of selected objects: direct children of the current
// page, each at most once, in the order they were selected. It answers the
// property panels with the value all selected objects share (or Mixed),
// applies a panel's value to every selected object of the kind concerned,
// and gives the mouse actions the selection's box and a move of it.
//
// The selection owns nothing but its list: clearing or destroying it leaves
// every object alive on its page.

#include "platform/Canvas.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <optional>
#include <vector>

class AbstractFormObject;
class GroupObject;
class MeasureLimit;
class MeasureObject;
class TextObject;
class TGraphic;

class QuillfenSelection
{
public:
    // The answer of an integer getter when the objects concerned differ or
    // none is selected. A value that really is -1 reads the same.
    static constexpr int32_t Mixed = -1;

    QuillfenSelection();
    ~QuillfenSelection();
    QuillfenSelection(const QuillfenSelection&) = delete;
    QuillfenSelection& operator=(const QuillfenSelection&) = delete;

    // --- List ---------------------------------------------------------------
    int GetCount() const { return static_cast<int>(m_objects.size()); }
    // Null for an index outside 0..count-1.
    AbstractFormObject* GetObject(int index) const;
    // Appends unless already selected; a null object is ignored.
    void AddObject(AbstractFormObject* object);
    // Every direct child of the group (or page), in child order.
    void AddGroupObjects(const GroupObject& group);
    void Clear();
    bool Contains(const AbstractFormObject* object) const;
    const std::vector<AbstractFormObject*>& Objects() const { return m_objects; }

    // --- Geometry (all selected objects) -------------------------------------
    // The union of the objects' rectangles; an empty rectangle at 0 when
    // nothing is selected.
    TRect GetBounds() const;
    // Moves every object by the same amount so that the bounds' top-left
    // corner lands on (x, y); sizes stay, groups move their children.
    void MoveTo(int32_t x, int32_t y);
    // Strictly inside the bounds; false when nothing is selected.
    bool ContainsPoint(int32_t x, int32_t y) const;

    int32_t GetLeft() const;
    int32_t GetTop() const;
    int32_t GetRight() const;
    int32_t GetBottom() const;
    int32_t GetWidth() const;
    int32_t GetHeight() const;
    // Moves each object's edge there, keeping its size.
    void SetLeft(int32_t value);
    void SetTop(int32_t value);
    void SetRight(int32_t value);
    void SetBottom(int32_t value);
    // Resizes each object, keeping its left or top edge.
    void SetWidth(int32_t value);
    void SetHeight(int32_t value);

    // --- Borders and colours (all selected objects) --------------------------
    int32_t GetLeftBorder() const;
    int32_t GetTopBorder() const;
    int32_t GetRightBorder() const;
    int32_t GetBottomBorder() const;
    void SetLeftBorder(int32_t width);
    void SetTopBorder(int32_t width);
    void SetRightBorder(int32_t width);
    void SetBottomBorder(int32_t width);
    // The stored colour of the first selected object (never a measure
    // field's limit colour); 0 when nothing is selected. No mixed marker.
    TColor GetForeColor() const;
    TColor GetBackColor() const;
    void SetForeColor(TColor color);
    void SetBackColor(TColor color);

    // --- Text properties (text objects and every kind derived from them) -----
    bool HasTextObject() const;
    TextObject* GetFirstTextObject() const;
    // The name all text objects share (compared byte for byte, case
    // included); none when there is no text object or two differ.
    std::optional<QByteArray> GetFontName() const;
    // Cut at 31 characters like every font name slot.
    void SetFontName(QByteArrayView name);
    int32_t GetSize() const;
    void SetSize(int32_t size);
    int32_t GetAlign() const;
    // Each object ignores codes it does not know.
    void SetAlign(int32_t align);
    int32_t GetType() const;
    // Each kind applies its own rule through its SetType.
    void SetType(int32_t type);

    // --- Kind-specific properties --------------------------------------------
    bool HasGlobalTextObject() const;
    bool HasMeasureObject() const;
    bool HasPictureObject() const;
    int32_t GetGID() const;
    void SetGID(int32_t gid);
    MeasureObject* GetFirstMeasureObject() const;
    int32_t GetFormat() const;
    void SetFormat(int32_t format);
    int32_t GetDecimalPosition() const;
    void SetDecimalPosition(int32_t position);
    // The limit of the first measure object that has one, or null.
    const MeasureLimit* GetLimit() const;
    // Every measure object takes its own copy; null removes the limits.
    void SetLimit(const MeasureLimit* limit);
    // The check marks of a quantity list of `itemCount` items (item c stands
    // for quantity c): checked where any selected measure object accepts the
    // quantity. Codes outside the list are ignored.
    std::vector<bool> CheckSymbols(int itemCount) const;
    void AddSymbol(int32_t quantity);
    void RemoveSymbol(int32_t quantity);
    // Every picture object takes its own copy of the graphic.
    void SetPicture(const TGraphic* graphic);

private:
    std::vector<AbstractFormObject*> m_objects;
};
