#pragma once
// The licence agreement the user accepts before installing, in Czech and in
// English.

#include <QString>

// The Czech text for language 1, the English one for every other value.
QString AgreementText(int language);
