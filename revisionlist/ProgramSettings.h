#pragma once
// The program settings as they are kept in the registry under
// HKEY_CURRENT_USER "Software\Quillfen2". The settings dialog shows them in
// its controls; the other windows read them there.

#include <QString>

struct ProgramSettings
{
    static constexpr int NoLanguage = -1;

    bool fieldNumber = true;           // "FieldNumber": the designer draws field numbers
    bool eraseCell = true;             // "EraseCell": a scan empties cells of blank fields
    QString grid = QStringLiteral("1"); // "Grid": the designer's snap grid in millimetres
    bool showIcon1 = true;             // "ShowIcon1": the designer's icon bar
    bool showIcon2 = true;             // "ShowIcon2": the revision list's icon bar
    bool showIcon3 = true;             // "ShowIcon3": the data processing window's icon bar
    bool autoFill = true;              // "AutoFill": fill a form from the record with its ID
    bool groupFolder = true;           // "GroupFolder": group equal numbers in transfers
    bool backup = true;                // "Backup": keep the previous file when saving a form
    int language = NoLanguage;         // "Language": 0 English, 1 Czech

    bool operator==(const ProgramSettings&) const = default;
};

// Reads the values in their fixed order into a copy of `defaults`. The first
// value that is missing or of another type ends the reading, so it and every
// later value keep their defaults. A language other than English or Czech is
// ignored. The key is created when missing.
ProgramSettings ReadProgramSettings(const ProgramSettings& defaults = ProgramSettings());
// Writes every value ("Language" only when one is chosen); a grid text that
// is no number is written as 1. False when the key could not be written.
bool WriteProgramSettings(const ProgramSettings& settings);
