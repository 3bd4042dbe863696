// Placeholder tables until the full English and Czech tables land.
#include "documents/Language.h"

namespace {
const char* const English[] = {"English", "Language"};
const char* const Czech[] = {"\xC4\x8C" "e\xC5\xA1tina", "Jazyk"};
} // namespace

LanguageTable ProgramLanguageTable(int language)
{
    return language == 0 ? LanguageTable{English, 2} : LanguageTable{Czech, 2};
}

LanguageTable InstallerLanguageTable(int language)
{
    return ProgramLanguageTable(language);
}
