#pragma once
// A canvas that draws nothing and records every drawing call with the state
// in force (pen, brush, text colour, font), measuring text with fixed
// advances: each UTF-16 unit is as wide as the font's cell height times
// Numerator / Denominator, so text positions can be checked to the unit.

#include "platform/Canvas.h"

#include <QList>
#include <QString>

class FixedMetrics : public TextMetrics
{
public:
    explicit FixedMetrics(int numerator = 1, int denominator = 2) : m_num(numerator), m_den(denominator) {}
    TSize TextExtent(const FontSpec& font, QStringView text) const override
    {
        const int64_t height = font.Height < 0 ? -int64_t(font.Height) : font.Height;
        return {ClampToInt32(height * m_num / m_den * text.size()), ClampToInt32(height)};
    }

private:
    int m_num;
    int m_den;
};

struct CanvasCall
{
    enum Kind { Rectangle, FillRect, Text, Image };
    Kind kind = Rectangle;
    TRect rect;      // the rectangle; for text the clip rectangle
    bool clipped = false;
    int32_t x = 0;   // text position
    int32_t y = 0;
    QString text;
    TColor penColor = 0;
    int32_t penWidth = 0;
    TColor brushColor = 0;
    TColor textColor = 0;
    FontSpec font;
};

class RecordingCanvas : public TCanvas
{
public:
    explicit RecordingCanvas(int numerator = 1, int denominator = 2)
        : TCanvas(std::make_shared<FixedMetrics>(numerator, denominator))
    {
    }

    void Rectangle(const TRect& rect) override { Record(CanvasCall::Rectangle, rect); }
    void FillRect(const TRect& rect) override { Record(CanvasCall::FillRect, rect); }
    void TextOut(int32_t x, int32_t y, QStringView text) override
    {
        CanvasCall& call = Record(CanvasCall::Text, {});
        call.x = x;
        call.y = y;
        call.text = text.toString();
    }
    void TextOutClipped(int32_t x, int32_t y, const TRect& clip, QStringView text) override
    {
        TextOut(x, y, text);
        calls.last().rect = clip;
        calls.last().clipped = true;
    }
    void StretchDraw(const TRect& rect, const QImage&) override { Record(CanvasCall::Image, rect); }

    // The recorded calls of one kind, in order.
    QList<CanvasCall> Of(CanvasCall::Kind kind) const
    {
        QList<CanvasCall> result;
        for (const CanvasCall& call : calls)
            if (call.kind == kind)
                result.append(call);
        return result;
    }
    QList<CanvasCall> Texts() const { return Of(CanvasCall::Text); }
    QList<CanvasCall> Rectangles() const { return Of(CanvasCall::Rectangle); }

    QList<CanvasCall> calls;

private:
    CanvasCall& Record(CanvasCall::Kind kind, const TRect& rect)
    {
        CanvasCall call;
        call.kind = kind;
        call.rect = rect;
        call.penColor = GetPenColor();
        call.penWidth = GetPenWidth();
        call.brushColor = GetBrushColor();
        call.textColor = GetTextColor();
        call.font = GetFont();
        calls.append(call);
        return calls.last();
    }
};
