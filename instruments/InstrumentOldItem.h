#pragma once
// A text record of the older data stream: it belongs to no bank and is only
// handed to the older form import, which gives it to a text field.

#include "instruments/InstrumentItem.h"

#include <QString>

class InstrumentOldItem final : public InstrumentAbstract
{
public:
    explicit InstrumentOldItem(QString text) : m_text(std::move(text)) {}

    QByteArray GetText(int, int) const override { return {}; }
    std::unique_ptr<InstrumentAbstract> Clone() const override;
    const QString& GetWideText() const { return m_text; }

private:
    QString m_text;
};
