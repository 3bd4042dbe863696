#include "instruments/TransferResult.h"

#include "language/Language.h"

#include <array>

namespace {

constexpr int ErrorCaptionId = 22;
constexpr int InterruptedId = 19;          // "Interupted by user"
constexpr int NotConnectedId = 20;         // "Instrument not connected"
constexpr int TransmissionFailedId = 21;   // "Transmission failed"
constexpr int SettingsNotWritableId = 295; // "The settings of this instrument cannot be written."

struct ResultText
{
    TransferResult result;
    int stringId;
};

constexpr std::array<ResultText, 4> Texts{{
    {TransferResult::Interrupted, InterruptedId},
    {TransferResult::NotConnected, NotConnectedId},
    {TransferResult::TransmissionFailed, TransmissionFailedId},
    {TransferResult::NotSupported, SettingsNotWritableId},
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
    return MainLanguage.GetString(ErrorCaptionId);
}
