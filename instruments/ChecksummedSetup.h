#pragma once
// The setup area of the Kx310 and Kx330: sections of 30 bytes, each followed
// by its check word, holding settings as little-endian 16-bit words. A model
// describes its groups as tables; decoding, the factory description and
// encoding are then the same code for both.

#include <span>

class InstrumentSetup;
class InstrumentTranslator;

namespace ChecksummedSetup {

constexpr int SectionLength = 30;

// Group and items both models share.
constexpr int GeneralGroup = 0;
constexpr int PowerOffItem = 0;
constexpr int BacklightOffItem = 1;

enum class WordCoding {
    Signed,          // value x factor + addend, truncated; read back signed
    Unsigned,        // the same, read back unsigned (times of up to 1000 s x 50)
    RoundedUnsigned, // value x factor rounded to the nearest word in 0..65535
};

// One number setting and the word it is stored in.
struct WordSetting
{
    int ItemId;
    const char16_t* Unit;
    float Minimum;        // as read from the instrument
    float DefaultMinimum; // in the factory description
    float Maximum;
    bool ZeroAllowed;
    WordCoding Coding;
    double ToWord;   // word = value x ToWord (+ Addend)
    double Addend;
    double FromWord; // value = word x FromWord
    float RaiseBelow; // a value between 0 and this is stored as this; 0: none
};

// A group of settings in consecutive words from Address, which starts a
// checksummed section. A list group (ByPosition) fills word i from the
// group's i-th item with its one setting; any other group finds each word's
// setting by item id. Words without a matching item keep the factory value.
struct WordGroup
{
    int GroupId;
    int Address;
    bool ByPosition;
    std::span<const WordSetting> Settings;  // one per word; one for a list
    std::span<const float> FactoryValues;   // one per word
};

// Setting of both models: "Power off" (0 < x < 60 s raised to 60) and
// "Backlight off", stored as seconds x 50.
constexpr WordSetting PowerOff{PowerOffItem, u"s", 60, 60, 1000, true, WordCoding::Unsigned,
                               50, 0, 0.02, 60};
constexpr WordSetting BacklightOff{BacklightOffItem, u"s", 2, 2, 1000, true, WordCoding::Unsigned,
                                   50, 0, 0.02, 0};

// Clears the description and builds it with the factory values.
void GetDefault(std::span<const WordGroup> groups, InstrumentSetup& setup);
// Clears the description and builds it from the image (checksums not checked).
void Decode(const InstrumentTranslator& t, std::span<const WordGroup> groups, InstrumentSetup& setup);
// Writes every section: zero bytes, the factory words overridden by the
// description's values, then the check word after the section.
void Encode(InstrumentTranslator& t, std::span<const WordGroup> groups, const InstrumentSetup& setup);

} // namespace ChecksummedSetup
