#pragma once
// The limits of a measure field: a lower and an upper bound for the measured
// value, each with what to do when the value passes it.

#include "platform/Canvas.h"
#include "storage/PropertiesAbstract.h"

#include <QIODevice>
#include <QString>

#include <cstdint>

class MeasureLimit : public PropertiesAbstract
{
public:
    // What happens when the value passes a bound (stored as a byte).
    static constexpr int32_t NoAction = 0;
    static constexpr int32_t ChangeTextColor = 1;
    static constexpr int32_t ChangeBackColor = 2;
    static constexpr int32_t ShowText = 3;

    // Records of version 1 hold the bounds as int32 (the fraction was lost
    // when they were written); version 2 keeps them whole as doubles.
    static constexpr uint8_t IntegerBoundsVersion = 1;
    static constexpr uint8_t RecordVersion = 2;

    MeasureLimit() = default;
    MeasureLimit(const MeasureLimit& other) = default;
    MeasureLimit& operator=(const MeasureLimit& other) = default;
    ~MeasureLimit() override = default;

    // Reads either record version. False on a damaged record (the stream is
    // then marked damaged; the fields read before the damage are kept).
    bool Load(QIODevice& stream) override;
    // Always writes the current version.
    void Save(QIODevice& stream) const override;
    void WriteXml(QIODevice& out) const override;

    double GetMinimum() const { return Minimum; }
    void SetMinimum(double value) { Minimum = value; }
    double GetMaximum() const { return Maximum; }
    void SetMaximum(double value) { Maximum = value; }
    TColor GetMinColor() const { return MinColor; }
    void SetMinColor(TColor color) { MinColor = color; }
    TColor GetMaxColor() const { return MaxColor; }
    void SetMaxColor(TColor color) { MaxColor = color; }
    int32_t GetMinType() const { return MinType; }
    void SetMinType(int32_t type) { MinType = type; }
    int32_t GetMaxType() const { return MaxType; }
    void SetMaxType(int32_t type) { MaxType = type; }

    // Null when there is no text.
    QString GetMinText() const { return MinText; }
    QString GetMaxText() const { return MaxText; }
    // A null text clears it; any other text is kept up to its first NUL.
    void SetMinText(const QString& text);
    void SetMaxText(const QString& text);

    // The value passes the lower bound (Minimum > value) or the upper one
    // (value > Maximum). A NaN passes neither.
    bool IsBelow(double value) const { return Minimum > value; }
    bool IsAbove(double value) const { return value > Maximum; }

private:
    double Minimum = 0;
    double Maximum = 0;
    TColor MinColor = 0;
    TColor MaxColor = 0;
    int32_t MinType = NoAction;
    int32_t MaxType = NoAction;
    QString MinText;
    QString MaxText;
};
