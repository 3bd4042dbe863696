#pragma once
// The Kx310.2: insulation resistance at five test voltages, temperatures,
// voltages, protective-conductor resistance and conductor length in 2000
// three-byte slots, and a setup area with the power-off and backlight times
// and the copper and aluminium cross-sections.

#include "instruments/ChecksummedSlotTranslator.h"

class Kx310Translator final : public ChecksummedSlotTranslator
{
public:
    // Setup area: 15 copper cross-sections at 8064, 15 aluminium ones at
    // 8096, the two times at 8128, each section followed by its check word.
    static constexpr int CopperStart = 8064;
    static constexpr int AluminiumStart = 8096;
    static constexpr int GeneralStart = 8128;
    static constexpr int CrossSectionCount = 15;
    static constexpr int CopperGroup = 1;
    static constexpr int AluminiumGroup = 2;
    static constexpr int CopperItem = 2;
    static constexpr int AluminiumItem = 3;

    Kx310Translator();
};
