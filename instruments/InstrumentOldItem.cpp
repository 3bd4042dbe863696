#include "instruments/InstrumentOldItem.h"

std::unique_ptr<InstrumentAbstract> InstrumentOldItem::Clone() const
{
    return std::make_unique<InstrumentOldItem>(m_text);
}
