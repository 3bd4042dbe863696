#include "instruments/TransferResult.h"

#include "documents/Language.h"

#include <array>

namespace {

constexpr int ErrorCaptionId = 22;

struct ResultText
{
    TransferResult result;
    int stringId;            // language string, or -1
    const char* english;     // for results the language tables have no text for
    const char* czech;       // UTF-8
};

constexpr std::array<ResultText, 4> Texts{{
    {TransferResult::Interrupted, 19, nullptr, nullptr},
    {TransferResult::NotConnected, 20, nullptr, nullptr},
    {TransferResult::TransmissionFailed, 21, nullptr, nullptr},
    {TransferResult::NotSupported, -1, "The settings of this instrument cannot be written.",
     "Nastaven\xC3\xAD tohoto p\xC5\x99\xC3\xADstroje nelze zapsat."},
}};

} // namespace

QString TransferResultText(TransferResult result)
{
    for (const ResultText& t : Texts) {
        if (t.result != result)
            continue;
        if (t.stringId >= 0)
            return MainLanguage.GetString(t.stringId);
        return QString::fromUtf8(MainLanguage.GetLanguage() == Language::English ? t.english
                                                                                 : t.czech);
    }
    return {};
}

QString TransferErrorCaption()
{
    return MainLanguage.GetString(ErrorCaptionId);
}
