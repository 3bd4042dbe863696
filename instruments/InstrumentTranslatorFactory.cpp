#include "instruments/InstrumentTranslator.h"

// Each model's header goes here, next to its row below.
#include "instruments/Kx310Translator.h"
#include "instruments/Kx320Translator.h"
#include "instruments/Kx330Translator.h"
#include "instruments/Kx340Translator.h"
#include "instruments/Kx350Translator.h"
#include "instruments/Kx420Translator.h"
#include "instruments/Kx440Translator.h"
#include "instruments/Kx460Translator.h"

#include <array>

namespace {

using Creator = std::unique_ptr<InstrumentTranslator> (*)(int groupSameNumber);

struct CreatorRow
{
    int Code;
    Creator Create; // nullptr: no translator in the program for this code
};

// One row per model code. To add a model, include its header above and put a
// creator into its row, e.g.
//   {ModelCode::Kx310, [](int) -> Ptr { return std::make_unique<Kx310Translator>(); }},
using Ptr = std::unique_ptr<InstrumentTranslator>;
const std::array<CreatorRow, 8> Creators = {{
    {ModelCode::Kx340, [](int group) -> Ptr { return std::make_unique<Kx340Translator>(group); }},
    {ModelCode::Kx320, [](int) -> Ptr { return std::make_unique<Kx320Translator>(); }},
    {ModelCode::Kx310, [](int) -> Ptr { return std::make_unique<Kx310Translator>(); }},
    {ModelCode::Kx330, [](int) -> Ptr { return std::make_unique<Kx330Translator>(); }},
    {ModelCode::Kx350, [](int) -> Ptr { return std::make_unique<Kx350Translator>(); }},
    {ModelCode::Kx420, [](int group) -> Ptr { return std::make_unique<Kx420Translator>(group); }},
    {ModelCode::Kx460, [](int) -> Ptr { return std::make_unique<Kx460Translator>(); }},
    {ModelCode::Kx440, [](int) -> Ptr { return std::make_unique<Kx440Translator>(); }},
}};

} // namespace

std::unique_ptr<InstrumentTranslator> CreateTranslatorForModel(int code, int groupSameNumber)
{
    for (const CreatorRow& row : Creators)
        if (row.Code == code)
            return row.Create ? row.Create(groupSameNumber) : nullptr;
    return nullptr;
}
