#pragma once
// The Kx330 earth-resistance tester: earth resistance by five connection
// methods, soil resistivity, voltage, current and protective-conductor
// resistance in the Kx310's 2000 three-byte slots, and a setup area with the
// times, the resistance beep limit, the test frequencies and probe distances.

#include "instruments/ChecksummedSlotTranslator.h"

class Kx330Translator final : public ChecksummedSlotTranslator
{
public:
    // Setup area: 15 test frequencies (Hz) at 8064, 15 probe distances
    // (m x 10) at 8096, the times and the beep limit at 8128, each section
    // followed by its check word.
    static constexpr int FrequencyStart = 8064;
    static constexpr int DistanceStart = 8096;
    static constexpr int GeneralStart = 8128;
    static constexpr int ListLength = 15;
    static constexpr int DistanceGroup = 3;
    static constexpr int FrequencyGroup = 4;
    static constexpr int DistanceItem = 4;
    static constexpr int FrequencyItem = 5;
    static constexpr int BeepLimitItem = 6;
    // The beep limit is stored as ohms x 100 in an unsigned word, which holds
    // no more than 655.35 ohms.
    static constexpr double BeepLimitFactor = 100.0;

    Kx330Translator();
};
