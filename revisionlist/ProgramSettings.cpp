#include "revisionlist/ProgramSettings.h"

#include "language/Language.h"
#include "platform/NumberText.h"
#include "platform/Registry.h"

#include <functional>

namespace {
const QString ProgramKey = QStringLiteral("\\Software\\Quillfen2");
constexpr double DefaultGrid = 1.0;

struct FlagValue
{
    const char* name;
    bool ProgramSettings::*flag;
};

// Each step reads one value; the reading order is the order users' stored
// settings were written in, and the first failure stops it.
using ReadStep = std::function<void(TRegistry&, ProgramSettings&)>;

ReadStep Flag(const char* name, bool ProgramSettings::*flag)
{
    return [name, flag](TRegistry& reg, ProgramSettings& s) { s.*flag = reg.ReadInteger(name) != 0; };
}

const FlagValue WrittenFlags[] = {
    {"FieldNumber", &ProgramSettings::fieldNumber}, {"EraseCell", &ProgramSettings::eraseCell},
    {"AutoFill", &ProgramSettings::autoFill},       {"GroupFolder", &ProgramSettings::groupFolder},
    {"Backup", &ProgramSettings::backup},
};
const FlagValue IconFlags[] = {
    {"ShowIcon1", &ProgramSettings::showIcon1},
    {"ShowIcon2", &ProgramSettings::showIcon2},
    {"ShowIcon3", &ProgramSettings::showIcon3},
};
} // namespace

ProgramSettings ReadProgramSettings(const ProgramSettings& defaults)
{
    const ReadStep steps[] = {
        Flag("FieldNumber", &ProgramSettings::fieldNumber),
        Flag("EraseCell", &ProgramSettings::eraseCell),
        [](TRegistry& reg, ProgramSettings& s) { s.grid = FloatToStr(reg.ReadFloat("Grid")); },
        Flag("ShowIcon1", &ProgramSettings::showIcon1),
        Flag("ShowIcon2", &ProgramSettings::showIcon2),
        Flag("ShowIcon3", &ProgramSettings::showIcon3),
        Flag("AutoFill", &ProgramSettings::autoFill),
        Flag("GroupFolder", &ProgramSettings::groupFolder),
        Flag("Backup", &ProgramSettings::backup),
        [](TRegistry& reg, ProgramSettings& s) {
            const int language = reg.ReadInteger("Language");
            if (language == Language::English || language == Language::Czech)
                s.language = language;
        },
    };
    ProgramSettings settings = defaults;
    try {
        TRegistry reg;
        if (!reg.OpenKey(ProgramKey, true))
            return settings;
        for (const ReadStep& step : steps)
            step(reg, settings);
    } catch (const ERegistryException&) {
        // The value that failed and the later ones keep their defaults.
    }
    return settings;
}

bool WriteProgramSettings(const ProgramSettings& settings)
{
    try {
        TRegistry reg;
        if (!reg.OpenKey(ProgramKey, true))
            return false;
        if (settings.language != ProgramSettings::NoLanguage)
            reg.WriteInteger("Language", settings.language);
        for (const FlagValue& v : WrittenFlags)
            reg.WriteInteger(v.name, settings.*(v.flag) ? 1 : 0);
        double grid = DefaultGrid;
        if (!TryStrToFloat(settings.grid, grid))
            grid = DefaultGrid;
        reg.WriteFloat("Grid", grid);
        for (const FlagValue& v : IconFlags)
            reg.WriteInteger(v.name, settings.*(v.flag) ? 1 : 0);
        return true;
    } catch (const ERegistryException&) {
        return false;
    }
}
