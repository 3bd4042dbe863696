// The program's numbered UI strings. Each id is one row holding both its
// English and its Czech text, so that the two tables cannot drift apart; the
// pointer tables that Language reads are generated from these rows at compile
// time. The file is UTF-8 and so are the literals.
#include "language/Language.h"
#include "language/StringIds.h"

#include <array>
#include <cstddef>
#include <iterator>
#include <span>

namespace {

struct Row
{
    int id;
    const char* english;
    const char* czech;
};

// "PE" as a subscript, in the style escapes of the styled text.
#define QF_SUB_PE "\x1b\x02" "PE" "\x1b\x01"

#define QF_PROGRAM_VERSION "2.25"
#define QF_INSTALLER_VERSION "2.22"
#define QF_DRIVER_LIST "\nKx310.1\nKx310.2\nKx320\nKx330\nKx340\nKx350\nKx420\nKx440\nKx460\n\n"
#define QF_ABOUT_EN(product, version) product " version " version "\n\nInstrument drivers:" QF_DRIVER_LIST
#define QF_ABOUT_CS(product, version) product " verze " version "\n\nOvladače přístrojů:" QF_DRIVER_LIST

// English texts keep their historical wording (and spelling): stored documents,
// instruments and users' habits know them as they are.
constexpr Row Rows[] = {
    {0, "English", "Čeština"},
    {1, "Language", "Jazyk"},
    {2, "Power off", "Automatické vypnutí"},
    {3, "Backlight off", "Vypnutí podsvícení"},
    {4, "General", "Obecné"},
    {5, "Cu", "Cu"},
    {6, "Al", "Al"},
    {7, "File", "Soubor"},
    {8, "Open ...", "Otevřít ..."},
    {9, "Save as ...", "Uložit jako ..."},
    {10, "Exit", "Konec"},
    {11, "Print ...", "Tisk ..."},
    {12, "Data transfer", "Přenos dat"},
    {13, "Instrument", "Přístroj"},
    {14, "Start transfer", "Spustit přenos"},
    {15, "Setup", "Nastavení"},
    {16, "Setup", "Nastavit"},
    {17, "Default settings", "Výchozí nastavení"},
    {18, "Cancel", "Zrušit"},
    {19, "Interupted by user", "Přerušeno uživatelem"},
    {20, "Instrument not connected", "Přístroj není připojen"},
    {21, "Transmission failed", "Přenos selhal"},
    {22, "Error", "Chyba"},
    {23, "Name", "Název"},
    {24, "Unit", "Jednotka"},
    {25, "Note", "Poznámka"},
    {26, "About", "O programu"},
    {27, "Save", "Uložit"},
    {28, "New ...", "Nový ..."},
    {29, "New label ...", "Nový štítek ..."},
    {30, "Edit", "Úpravy"},
    {31, "Cut", "Vyjmout"},
    {32, "Copy", "Kopírovat"},
    {33, "Paste", "Vložit"},
    {34, "Delete", "Smazat"},
    {35, "Find ...", "Najít ..."},
    {36, "Replace ...", "Nahradit ..."},
    {37, "Group", "Seskupit"},
    {38, "Ungroup", "Zrušit seskupení"},
    {39, "Select All", "Vybrat vše"},
    {40, "Field", "Pole"},
    {41, "New", "Nové"},
    {42, "Barcode", "Čárový kód"},
    {43, "Barcode text", "Text čárového kódu"},
    {44, "Choice", "Výběr"},
    {45, "Global text", "Globální text"},
    {46, "Text", "Text"},
    {47, "Link", "Odkaz"},
    {48, "Measure", "Měření"},
    {49, "Picture", "Obrázek"},
    {50, "Table ...", "Tabulka ..."},
    {51, "To Front", "Do popředí"},
    {52, "To Back", "Do pozadí"},
    {53, "Page", "Stránka"},
    {54, "First", "První"},
    {55, "Previous", "Předchozí"},
    {56, "Next", "Další"},
    {57, "Last", "Poslední"},
    {58, "New", "Nová"},
    {59, "Zoom", "Měřítko"},
    {60, "Zoom in", "Zvětšit"},
    {61, "Zoom out", "Zmenšit"},
    {62, "Whole page", "Celá stránka"},
    {63, "Grid", "Mřížka"},
    {64, "None", "Žádná"},
    {65, "Left:", "Vlevo:"},
    {66, "Top:", "Nahoře:"},
    {67, "Right:", "Vpravo:"},
    {68, "Bottom:", "Dole:"},
    {69, "Width:", "Šířka:"},
    {70, "Height:", "Výška:"},
    {71, "Borders [mm]", "Ohraničení [mm]"},
    {72, "Font:", "Písmo:"},
    {73, "Size:", "Velikost:"},
    {74, "Align:", "Zarovnání:"},
    {75, "Barcode wizard", "Průvodce čárovými kódy"},
    {76, "Automatic", "Automaticky"},
    {77, "Horizontal count", "Počet vodorovně"},
    {78, "Width [mm]", "Šířka [mm]"},
    {79, "Vertical count", "Počet svisle"},
    {80, "Height [mm]", "Výška [mm]"},
    {81, "Left margin [mm]", "Levý okraj [mm]"},
    {82, "Horizontal space [mm]", "Vodorovná mezera [mm]"},
    {83, "Top margin [mm]", "Horní okraj [mm]"},
    {84, "Vertical space [mm]", "Svislá mezera [mm]"},
    {85, "Add", "Přidat"},
    {86, "Open QFL", "Otevřít QFL"},
    {87, "Create", "Vytvořit"},
    {88, "Row count", "Počet řádků"},
    {89, "Column count", "Počet sloupců"},
    {90, "Cell width [mm]", "Šířka buňky [mm]"},
    {91, "Cell height [mm]", "Výška buňky [mm]"},
    {92, "Table border", "Ohraničení tabulky"},
    {93, "Cell border", "Ohraničení buňky"},
    {94, "Cell type", "Typ buňky"},
    {95, "New table", "Nová tabulka"},
    {96, "Limits", "Meze"},
    {97, "Maximum", "Maximum"},
    {98, "Minimun", "Minimum"},
    {99, "Don't use", "Nepoužívat"},
    {100, "Change text color", "Změnit barvu textu"},
    {101, "Change background color", "Změnit barvu pozadí"},
    {102, "Show text", "Zobrazit text"},
    {103, "OK", "OK"},
    {104, "Files to print", "Soubory k tisku"},
    {105, "Add ...", "Přidat ..."},
    {106, "Remove", "Odebrat"},
    {107, "Print", "Tisk"},
    {108, "Print setup ...", "Nastavení tisku ..."},
    {109, "Close", "Zavřít"},
    {110, "New column", "Nový sloupec"},
    {111, "Caption", "Nadpis"},
    {112, "Print", "Tisk"},
    {113, "New template", "Nová šablona"},
    {114, "Text edit", "Úprava textu"},
    {115, "Append ...", "Připojit ..."},
    {116, "New", "Nový"},
    {117, "Save", "Uložit"},
    {118, "Save data as ...", "Uložit data jako ..."},
    {119, "Save as XML ...", "Uložit jako XML ..."},
    {120, "Multiform print ...", "Tisk více formulářů ..."},
    {121, "Format:", "Formát:"},
    {122, "Picture", "Obrázek"},
    {123, "New label", "Nový štítek"},
    {124, "Open data ...", "Otevřít data ..."},
    {125, "No free serial port detected.", "Nebyl nalezen žádný volný sériový port."},
    {126, QF_ABOUT_EN("Quillfen", QF_PROGRAM_VERSION), QF_ABOUT_CS("Quillfen", QF_PROGRAM_VERSION)},
    {127, "Group", "Skupina"},
    {128, "I agree", "Souhlasím"},
    {129, "I disagree", "Nesouhlasím"},
    {130, "Voltage", "Napětí"},
    {131, "Voltage", "Napětí"},
    {132, "Loop resistance", "Impedance smyčky"},
    {133, "Touch voltage", "Dotykové napětí"},
    {134, "Tripping current", "Vybavovací proud"},
    {135, "Tripping time", "Vybavovací čas"},
    {136, "Protective conductor resistance", "Odpor ochranného vodiče"},
    {137, "Frequency", "Kmitočet"},
    {138, "Rated current", "Jmenovitý proud"},
    {139, "Resistor R" QF_SUB_PE " current", "Proud rezistorem R" QF_SUB_PE},
    {140, "Tripping time", "Vybavovací čas"},
    {141, "Appliance current consumption", "Odběr proudu spotřebiče"},
    {142, "Active power input", "Činný příkon"},
    {143, "Apparent power input", "Zdánlivý příkon"},
    {144, "Insulation resistance", "Izolační odpor"},
    {145, "Temperature", "Teplota"},
    {146, "Number of revolutions", "Počet otáček"},
    {147, "Protective conuctor current", "Proud ochranným vodičem"},
    {148, "Touch current", "Dotykový proud"},
    {149, "Substituted leakage current", "Náhradní unikající proud"},
    {150, "Differential leakage current", "Rozdílový unikající proud"},
    {151, "Insulation resistance voltage", "Napětí při měření izolačního odporu"},
    {152, "Power factor", "Účiník"},
    {153, "Resistor R" QF_SUB_PE " voltage", "Napětí na rezistoru R" QF_SUB_PE},
    {154, "Touch voltage", "Dotykové napětí"},
    {155, "Short circuit current", "Zkratový proud"},
    {156, "Conductor length", "Délka vodiče"},
    {157, "Measuring voltage of protections", "Měřicí napětí ochran"},
    {158, "Voltage", "Napětí"},
    {159, "Instrument number", "Číslo přístroje"},
    {160, "Name", "Název"},
    {161, "ID", "ID"},
    {162, "Description", "Popis"},
    {163, "Next revision", "Příští revize"},
    {164, "File name", "Název souboru"},
    {165, "Page", "Stránka"},
    {166, "Modified", "Změněno"},
    {167, "Delete all", "Smazat vše"},
    {168, "Do you realy want to delete all data ?", "Opravdu chcete smazat všechna data?"},
    {169, "Do you realy want to delete this page ?", "Opravdu chcete smazat tuto stránku?"},
    {170, "Template designer", "Návrhář šablon"},
    {171, "File was modified. Save ?", "Soubor byl změněn. Uložit?"},
    {172, "Quillfen - install", "Quillfen - instalace"},
    {173, "", ""},
    {174, "", ""},
    {175, "Create desktop icons", "Vytvořit ikony na ploše"},
    {176, "Create Start menu icons", "Vytvořit ikony v nabídce Start"},
    {177, "Quillfen folder:", "Složka Quillfen:"},
    {178, "Change", "Změnit"},
    {179, "Install", "Instalovat"},
    {180, "Stop", "Zastavit"},
    {181, "", ""},
    {182, "Cancel installation ?", "Přerušit instalaci?"},
    {183, "Setup was successful", "Instalace proběhla úspěšně"},
    {184, "Remove data from group", "Odebrat data ze skupiny"},
    {185, "Remove data from page", "Odebrat data ze stránky"},
    {186, "Address number", "Číslo adresy"},
    {187, "Column type", "Typ sloupce"},
    {188, "Text", "Text"},
    {189, "Number", "Číslo"},
    {190, "Date", "Datum"},
    {191, "Delete editable text", "Smazat upravitelný text"},
    {192, "Save as text ...", "Uložit jako text ..."},
    {193, "Revision list", "Seznam revizí"},
    {194, "Ignore case", "Nerozlišovat velikost písmen"},
    {195, "Filter", "Filtr"},
    {196, "Note 1", "Poznámka 1"},
    {197, "Note 2", "Poznámka 2"},
    {198, "Note 3", "Poznámka 3"},
    {199, "Note 4", "Poznámka 4"},
    {200, "Note 5", "Poznámka 5"},
    {201, "Fixed text", "Pevný text"},
    {202, "Editable text", "Upravitelný text"},
    {203, "Browse", "Procházet"},
    {204, "Base folder", "Výchozí složka"},
    {205, "Scan subfolders", "Prohledávat podsložky"},
    {206, "Revision list setup", "Nastavení seznamu revizí"},
    {207, "Data processing", "Zpracování dat"},
    {208, "Settings", "Předvolby"},
    {209, "Resistance", "Impedance vedení"},
    {210, "All files", "Všechny soubory"},
    {211, "Invalid files", "Soubory s prošlou platností"},
    {212, "Files valid less then one week", "Soubory platné méně než jeden týden"},
    {213, "Files valid less then two weeks", "Soubory platné méně než dva týdny"},
    {214, "Files valid less then one month", "Soubory platné méně než jeden měsíc"},
    {215, "Files valid less then two months", "Soubory platné méně než dva měsíce"},
    {216, "Files valid less then three months", "Soubory platné méně než tři měsíce"},
    {217, "Do you really want to delete selected rows ?", "Opravdu chcete smazat vybrané řádky?"},
    {218, "Bank", "Banka"},
    {219, "Show field number", "Zobrazit číslo pole"},
    {220, "Default grid [mm]", "Výchozí mřížka [mm]"},
    {221, "Erase cell if field is blank", "Smazat buňku, je-li pole prázdné"},
    {222, "Quillfen setup", "Předvolby Quillfen"},
    {223, "Delete selected text", "Smazat vybraný text"},
    {224, "0 mm all", "Vše 0 mm"},
    {225, "Window", "Okno"},
    {226, "Load revision list", "Načíst seznam revizí"},
    {227, "Start transfer Kx310.1", "Spustit přenos Kx310.1"},
    {228, "Version", "Verze"},
    {229, "Show icon bar", "Zobrazit panel ikon"},
    {230,
     "Uninstallation of program Quillfen\n\nPress Continue to  uninstall some installed program "
     "parts\n\nInstalled parts:\n\tLabel design\n\tTemplate design\n\tData processing\n\tExample "
     "of forms\n\tIcons in the offer Start (On desktop) ",
     "Odinstalace programu Quillfen\n\nStiskněte Pokračovat, chcete-li odinstalovat některé "
     "nainstalované části programu\n\nNainstalované části:\n\tNávrh štítků\n\tNávrh "
     "šablon\n\tZpracování dat\n\tUkázky formulářů\n\tIkony v nabídce Start (na ploše) "},
    {231, "Continue", "Pokračovat"},
    {232, "Quillfen uninstall", "Odinstalace Quillfen"},
    {233, "Quillfen was removed from your computer", "Quillfen byl odebrán z vašeho počítače"},
    {234,
     "Could not create program folder. You have unacceptable characters in target path or you have "
     "no rights.",
     "Nelze vytvořit složku programu. Cílová cesta obsahuje nepřípustné znaky nebo nemáte "
     "dostatečná práva."},
    {235, "Could not open uninst.dat.", "Nelze otevřít uninst.dat."},
    {236, "Could not open Quillfen2.cab", "Nelze otevřít Quillfen2.cab"},
    {237, "", ""},
    {238, "Remove data from field", "Odebrat data z pole"},
    {239, "Save as HTML...", "Uložit jako HTML..."},
    {240, "", ""},
    {241, "Earth resistance", "Odpor uzemnění"},
    {242, "Resistivity", "Rezistivita"},
    {243, "Do you want to fresh revision table ?", "Chcete obnovit tabulku revizí?"},
    {244, "Distance", "Vzdálenost"},
    {245, "Frequency", "Kmitočet"},
    {246, "Tarnvox", "Tarnvox"},
    {247, "Filter", "Filtr"},
    {248, "Newer", "Novější"},
    {249, "Older", "Starší"},
    {250, "Find", "Najít"},
    {251, "Transfered", "Přeneseno"},
    {252, "Saved", "Uloženo"},
    {253, "Resistance beep limit", "Mez odporu pro pípnutí"},
    {254, "Change to field", "Změnit na pole"},
    {255, QF_ABOUT_EN("Tarnvox", QF_PROGRAM_VERSION), QF_ABOUT_CS("Tarnvox", QF_PROGRAM_VERSION)},
    {256, "from Table", "z tabulky"},
    {257, "Open text ...", "Otevřít text ..."},
    {258, "Automatic filling", "Automatické vyplňování"},
    {259, "Save as plain text ...", "Uložit jako prostý text ..."},
    {260, "Append data ...", "Připojit data ..."},
    {261, "Duplicate line", "Duplikovat řádek"},
    {262, "Sort transfered data", "Seřadit přenesená data"},
    {263, "Decimal point digits", "Počet desetinných míst"},
    {264, "General", "Obecné"},
    // The instrument stores the index of this option list: 0 English, 1 Czech,
    // so both languages must list the options in that order.
    {265, "English;Czech", "Angličtina;Čeština"},
    {266, "Open text database ...", "Otevřít textovou databázi ..."},
    {267, "Group same number folders", "Seskupovat složky se stejným číslem"},
    {268, "Location", "Umístění"},
    {269, "Off;On", "Vypnuto;Zapnuto"},
    {270, "Beep", "Pípání"},
    {271, "Rpe beep limit", "Mez Rpe pro pípnutí"},
    {272, "Create backup file", "Vytvářet záložní soubor"},
    {273, "Find ID", "Najít ID"},
    {274, "Leakage current (IM1)", "Unikající proud (IM1)"},
    {275, "Leakage current (IM2)", "Unikající proud (IM2)"},
    {276, "Leakage current (IM3)", "Unikající proud (IM3)"},
    {277, "Leakage current (IM4)", "Unikající proud (IM4)"},
    {278, "Residual voltage", "Zbytkové napětí"},
    {279, " ", " "},
    {280, "Clamp current (IC)", "Proud měřený kleštěmi (IC)"},
    {281, "(U1M)", "(U1M)"},
    {282, "(U0P)", "(U0P)"},
    {283, "(IWP)", "(IWP)"},
    {284, "Open-circuit voltage (EN 60974-4)", "Napětí naprázdno (ČSN EN 60974-4)"},
    {285, "Latest files", "Nejnovější soubory"},
    {286, "Polarization index", "Polarizační index"},
    {287, "DAR", "DAR"},
    {288, "Capacitance", "Kapacita"},
    {289, "The file could not be opened.", "Soubor nelze otevřít."},
    {290, "The file is damaged; what could not be read was not loaded.",
     "Soubor je poškozený; co nešlo přečíst, nebylo načteno."},
    {291, "The file could not be saved.", "Soubor nelze uložit."},
    {292,
     "The installation is incomplete. The files copied so far can be removed with the uninstaller.",
     "Instalace není úplná. Dosud zkopírované soubory lze odstranit odinstalačním programem."},
    {293, "Quillfen2.cab holds a file that would be written outside the program folder:",
     "Quillfen2.cab obsahuje soubor, který by se zapsal mimo složku programu:"},
    {294, "The text is too long: a field takes at most 1000 characters.",
     "Text je příliš dlouhý: pole pojme nejvýše 1000 znaků."},
    {295, "The settings of this instrument cannot be written.",
     "Nastavení tohoto přístroje nelze zapsat."},
    {296, "The number list can hold at most 100000 labels.",
     "Seznam čísel může obsahovat nejvýše 100000 štítků."},
    {297, "The file is damaged and was not read; the list is unchanged.",
     "Soubor je poškozený a nebyl načten; seznam zůstal beze změny."},
    {298, "'%1' is not a valid date and time", "'%1' není platné datum a čas"},
    {299, "The revision list is being loaded. Stop the loading first.",
     "Seznam revizí se právě načítá. Nejprve načítání zastavte."},
    {300,
     "The upload replaces the instrument's memory: the measurements stored in it will be erased. "
     "Continue ?",
     "Odeslání přepíše paměť přístroje: uložená měření budou smazána. Pokračovat?"},
    {301, "Fill", "Vyplnit"},
    {302, "Upload", "Odeslat"},
    {303, "Quillfen2.cab is one cabinet of a set; Setup installs from a single cabinet only.",
     "Quillfen2.cab je jedním archivem ze sady; instalovat lze jen z jediného archivu."},
    {304, "The archive is damaged.", "Archiv je poškozený."},
    {305, "This file could not be installed:", "Tento soubor nelze nainstalovat:"},
    {306, "The program folder cannot be written:", "Do složky programu nelze zapisovat:"},
    {307, "Quillfen2.cab holds a file whose name cannot be installed:",
     "Quillfen2.cab obsahuje soubor, jehož název nelze při instalaci použít:"},
    {308, "Nothing was installed.", "Nic nebylo nainstalováno."},
    {309, "Quillfen2 was uninstalled.", "Quillfen2 byl odinstalován."},
    {310, "The file is not a Quillfen2 document; nothing was opened.",
     "Soubor není dokumentem Quillfen2; nic nebylo otevřeno."},
    {311,
     "The file was saved, but some characters have no place in its code page and were written as "
     "'?'.",
     "Soubor byl uložen, ale některé znaky v jeho kódové stránce chybějí, a proto byly zapsány "
     "jako '?'."},
    {312, "Double the grid step", "Zdvojnásobit krok mřížky"},
    {313, "Halve the grid step", "Zmenšit krok mřížky na polovinu"},
    {314, "No printer is set up. Choose a printer, or printing to a PDF file, in Print setup.",
     "Není nastavena žádná tiskárna. V Nastavení tisku zvolte tiskárnu nebo tisk do souboru PDF."},
    {315, "The file cannot be written:", "Do souboru nelze zapisovat:"},
    {316, "The printer cannot begin printing:", "Tiskárna nemůže začít tisknout:"},
    {317, "The file already exists. Replace it?", "Soubor již existuje. Nahradit jej?"},
    {318, "This is not a regular file and cannot be opened:",
     "Toto není běžný soubor a nelze jej otevřít:"},
    {319, "Sort type", "Typ řazení"},
    {320, "Records uploaded", "Záznamy odeslány"},
    {321, "Extensible markup language (xml) (*.xml)",
     "Rozšiřitelný značkovací jazyk (xml) (*.xml)"},
};

constexpr std::size_t ProgramCount = 322;

constexpr bool IdsRunWithoutGaps()
{
    for (std::size_t i = 0; i < std::size(Rows); ++i)
        if (Rows[i].id != static_cast<int>(i))
            return false;
    return true;
}
static_assert(std::size(Rows) == ProgramCount, "one row for each id below ProgramCount");
static_assert(IdsRunWithoutGaps(), "rows must be in id order without gaps");

// The installer carries an older edition: fewer ids and its own version
// number, plus the rows added for its own messages after the edition was cut
// (at their ids; the program's newer ids in between stay empty).
constexpr std::size_t InstallerEnglishEdition = 285;
constexpr std::size_t InstallerCzechEdition = 286;
constexpr Row InstallerRows[] = {
    {126, QF_ABOUT_EN("Quillfen", QF_INSTALLER_VERSION), QF_ABOUT_CS("Quillfen", QF_INSTALLER_VERSION)},
    {255, QF_ABOUT_EN("Tarnvox", QF_INSTALLER_VERSION), QF_ABOUT_CS("Tarnvox", QF_INSTALLER_VERSION)},
};
constexpr int InstallerAddedIds[] = {
    StringId::InstallationIncomplete, StringId::ArchiveNameOutside, StringId::ArchivePartOfSet,
    StringId::ArchiveDamaged,         StringId::FileNotInstalled,   StringId::FolderNotWritable,
    StringId::ArchiveNameUnfit,       StringId::NothingInstalled,   StringId::UninstallSuccessful};
constexpr std::size_t InstallerCount = 310;
static_assert(InstallerAddedIds[std::size(InstallerAddedIds) - 1] + 1 == InstallerCount);

// One language's pointer table of `Count` ids: the first `edition` rows with
// the given replacements and added rows, the rest empty, ended by a null
// pointer as the lookup expects.
template <std::size_t Count>
constexpr std::array<const char*, Count + 1> Column(const char* Row::*text, std::size_t edition = Count,
                                                    std::span<const Row> replacements = {},
                                                    std::span<const int> added = {})
{
    static_assert(Count <= ProgramCount);
    std::array<const char*, Count + 1> column{};
    for (std::size_t i = 0; i < Count; ++i)
        column[i] = i < edition ? Rows[i].*text : "";
    for (int id : added)
        column[id] = Rows[id].*text;
    for (const Row& row : replacements)
        if (static_cast<std::size_t>(row.id) < edition)
            column[row.id] = row.*text;
    return column;
}

constexpr auto EnglishStrings = Column<ProgramCount>(&Row::english);
constexpr auto CzechStrings = Column<ProgramCount>(&Row::czech);
constexpr auto InstallerEnglishStrings =
    Column<InstallerCount>(&Row::english, InstallerEnglishEdition, InstallerRows, InstallerAddedIds);
constexpr auto InstallerCzechStrings =
    Column<InstallerCount>(&Row::czech, InstallerCzechEdition, InstallerRows, InstallerAddedIds);

template <std::size_t Size>
LanguageTable TableOf(const std::array<const char*, Size>& strings)
{
    return LanguageTable{strings.data(), static_cast<int>(Size - 1)};
}

#undef QF_SUB_PE
#undef QF_PROGRAM_VERSION
#undef QF_INSTALLER_VERSION
#undef QF_DRIVER_LIST
#undef QF_ABOUT_EN
#undef QF_ABOUT_CS

} // namespace

LanguageTable ProgramLanguageTable(int language)
{
    return language == Language::English ? TableOf(EnglishStrings) : TableOf(CzechStrings);
}

LanguageTable InstallerLanguageTable(int language)
{
    return language == Language::English ? TableOf(InstallerEnglishStrings)
                                         : TableOf(InstallerCzechStrings);
}
