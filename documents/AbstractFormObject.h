#pragma once
// The base of every field, group and page of a form: a rectangle in tenths of
// a millimetre with four border bars and two colours, one order of virtual
// operations for all of them, and the record every field record begins with.

#include "platform/Canvas.h"
#include "storage/File.h"
#include "storage/PropertiesAbstract.h"

#include <QString>

#include <cstdint>
#include <memory>

class InstrumentItem;

// Type codes of the objects in section "form" (four-character codes).
namespace ObjectCode {
constexpr int32_t Base = FourCC("base");
constexpr int32_t Text = FourCC("text");
constexpr int32_t Barcode = FourCC("bar ");
constexpr int32_t Choice = FourCC("choi");
constexpr int32_t Link = FourCC("link");
constexpr int32_t Global = FourCC("glob");
constexpr int32_t Measure = FourCC("meas");
constexpr int32_t Picture = FourCC("pict");
constexpr int32_t Label = FourCC("labl");
constexpr int32_t Group = FourCC("grp ");
constexpr int32_t Page = FourCC("page");
constexpr int32_t EndGroup = FourCC("egrp");
constexpr int32_t EndPage = FourCC("epag");
} // namespace ObjectCode

// What a drawing pass needs besides the canvas. It travels down the object
// tree by value, so two passes (a repaint and a print job in a worker thread)
// never share it.
struct DrawContext
{
    // The designer's field number of the object being drawn ("2", "2:1"); a
    // group labels its children with it. Empty when no numbers are shown.
    QString FieldNumberPrefix;
};

class AbstractFormObject : public PropertiesAbstract
{
public:
    AbstractFormObject();
    // Takes the other's rectangle through its GetRect (a group's union) and
    // stores it through SetRect; copies the borders and colours.
    AbstractFormObject(const AbstractFormObject& other);
    AbstractFormObject& operator=(const AbstractFormObject&) = delete;

    // The virtual operations, in the one order every form-object class keeps.
    bool Load(QIODevice& stream) override;                                 // 0
    void Save(QIODevice& stream) const override;                           // 1
    void WriteXml(QIODevice& out) const override;                          // 2
    virtual TColor GetForeColor() const;                                   // 3
    virtual TColor GetBackColor() const;                                   // 4
    ~AbstractFormObject() override;                                        // 5
    virtual void SetRect(int32_t a, int32_t b, int32_t c, int32_t d);      // 6
    virtual TRect GetRect() const;                                         // 7
    virtual void Draw(TCanvas& canvas, const DrawContext& context) const;  // 8
    virtual void DrawSelected(TCanvas& canvas, const DrawContext& context) const; // 9
    virtual QString GetText() const;                                       // 10
    virtual QString GetDisplayText() const;                                // 11
    virtual void SetText(const QString& text);                             // 12
    virtual void Activate();                                               // 13
    virtual void Fill(const InstrumentItem* item);                         // 14
    virtual bool IsFillable() const;                                       // 15
    virtual bool IsGroup() const;                                          // 16
    virtual std::unique_ptr<AbstractFormObject> Clone() const;             // 17
    virtual int32_t GetTypeCode() const;                                   // 18
    virtual void SetType(int32_t type);                                    // 19
    virtual int32_t GetExtraFlag() const;                                  // 20

    // Size of the base record in bytes.
    static constexpr qint64 BaseRecordSize = 29;

    // The rectangle inside the border bars (from the stored edges).
    TRect GetInnerRect() const;
    // Resize handle under a point inside the object: 0 none, 1 left-top,
    // 2 right-top, 3 left-bottom, 4 right-bottom (within 9 units inward).
    int HitCorner(int32_t x, int32_t y) const;

    // These go through GetRect and SetRect, so a group moves or scales its children.
    void MoveLeft(int32_t x);
    void MoveTop(int32_t y);
    void MoveRight(int32_t x);
    void MoveBottom(int32_t y);
    void SetWidth(int32_t w);
    void SetHeight(int32_t h);

    int32_t GetLeftBorder() const { return LeftBorder; }
    int32_t GetTopBorder() const { return TopBorder; }
    int32_t GetRightBorder() const { return RightBorder; }
    int32_t GetBottomBorder() const { return BottomBorder; }
    void SetLeftBorder(int32_t width) { LeftBorder = width; }
    void SetTopBorder(int32_t width) { TopBorder = width; }
    void SetRightBorder(int32_t width) { RightBorder = width; }
    void SetBottomBorder(int32_t width) { BottomBorder = width; }
    void SetForeColor(TColor color) { ForeColor = color; }
    void SetBackColor(TColor color) { BackColor = color; }
    // The colours as set and stored, before a measure field's limits change them.
    TColor GetStoredForeColor() const { return ForeColor; }
    TColor GetStoredBackColor() const { return BackColor; }

protected:
    // Corners in any order made into a rectangle with Left <= Right and
    // Top <= Bottom, pushed back onto the page (no negative edge) at its size.
    static TRect NormalizedRect(int32_t a, int32_t b, int32_t c, int32_t d);

    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    int32_t LeftBorder = 1;
    int32_t TopBorder = 1;
    int32_t RightBorder = 1;
    int32_t BottomBorder = 1;
    TColor ForeColor = clBlack;
    TColor BackColor = clWhite;
};
