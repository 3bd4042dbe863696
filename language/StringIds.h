#pragma once
// Names for the language string ids that code refers to. A new string is a new
// row at the end of the tables in language/LanguageTables.cpp, in English and
// Czech, and gets its name here when code uses it.

namespace StringId {
enum : int {
    LanguageName = 0, // "English" / "Čeština", each in its own table
    LanguageCaption = 1,
    PowerOff = 2,
    BacklightOff = 3,
    GeneralGroup = 4,
    Copper = 5,    // "Cu"
    Aluminium = 6, // "Al"
    Cancel = 18,
    InterruptedByUser = 19,
    InstrumentNotConnected = 20,
    TransmissionFailed = 21,
    Error = 22,
    Distance = 244,
    Frequency = 245,
    ResistanceBeepLimit = 253,
    LanguageOptions = 265, // "English;Czech", in the order the instruments number them
    Beep = 270,
    RpeBeepLimit = 271,
    SettingsNotWritable = 295,
};
} // namespace StringId
