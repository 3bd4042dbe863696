#include "installer/AgreementText.h"

#include "language/Language.h"
#include "storage/Utf8.h"

namespace {
// Kept as UTF-8 like the language tables; the file is UTF-8.
constexpr char EnglishAgreement[] =
    "Licence agreement for Quillfen2\n\n"
    "1. Quillfen2 is licensed, not sold, to you for use on your computers in the inspection of "
    "electrical installations.\n"
    "2. You may make copies of the installation files for your own backup.\n"
    "3. You may not sell, rent or lend the program, nor change or decompile it.\n"
    "4. Measured values, forms and revision lists you create belong to you.\n"
    "5. The program is provided as it is. The results of an inspection remain the responsibility "
    "of the inspector who signs them; check every value the program shows against the "
    "instrument before you rely on it.\n"
    "6. The author is not liable for any damage arising from the use of the program beyond the "
    "price paid for the licence.\n\n"
    "Press \"I agree\" to accept this agreement and continue with the installation.";

constexpr char CzechAgreement[] =
    "Licenční smlouva k programu Quillfen2\n\n"
    "1. Program Quillfen2 se vám neprodává, ale poskytuje k užívání na vašich počítačích při "
    "revizích elektrických instalací.\n"
    "2. Instalační soubory si smíte zkopírovat pro vlastní zálohu.\n"
    "3. Program nesmíte prodávat, pronajímat ani půjčovat, ani jej měnit či dekompilovat.\n"
    "4. Naměřené hodnoty, formuláře a seznamy revizí, které vytvoříte, patří vám.\n"
    "5. Program se poskytuje tak, jak je. Za výsledky revize odpovídá revizní technik, který je "
    "podepisuje; každou hodnotu, kterou program zobrazí, před použitím ověřte na přístroji.\n"
    "6. Autor neodpovídá za škody vzniklé užíváním programu nad rámec ceny zaplacené za "
    "licenci.\n\n"
    "Stiskem tlačítka \"Souhlasím\" smlouvu přijímáte a pokračujete v instalaci.";
} // namespace

QString AgreementText(int language)
{
    const char* text = language == Language::Czech ? CzechAgreement : EnglishAgreement;
    return DecodeUtf8Text(text);
}
