#pragma once
// The program's language for one test; English again afterwards, also when an
// assertion ends the test early.

#include "language/Language.h"

class ScopedLanguage
{
public:
    explicit ScopedLanguage(int language) { MainLanguage.SetLanguage(language); }
    ~ScopedLanguage() { MainLanguage.SetLanguage(Language::English); }
    ScopedLanguage(const ScopedLanguage&) = delete;
    ScopedLanguage& operator=(const ScopedLanguage&) = delete;
};
