#include "instruments/TransferResult.h"

#include "language/Language.h"
#include "language/StringIds.h"

#include <array>

namespace {

struct ResultText
{
    TransferResult result;
    int stringId;
};

constexpr std::array<ResultText, 4> Texts{{
    {TransferResult::Interrupted, StringId::InterruptedByUser},
    {TransferResult::NotConnected, StringId::InstrumentNotConnected},
    {TransferResult::TransmissionFailed, StringId::TransmissionFailed},
    {TransferResult::NotSupported, StringId::SettingsNotWritable},
}};

} // namespace

QString TransferResultText(TransferResult result)
{
    for (const ResultText& t : Texts) {
        if (t.result == result)
            return MainLanguage.GetString(t.stringId);
    }
    return {};
}

QString TransferErrorCaption()
{
    return MainLanguage.GetString(StringId::Error);
}
