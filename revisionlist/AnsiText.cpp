#include "revisionlist/AnsiText.h"

#include "language/Language.h"

#include <QLocale>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {
constexpr char Substitute = '\x1a';
QByteArray& Override()
{
    static QByteArray name;
    return name;
}
} // namespace

void SetAnsiCodePage(const QByteArray& name) { Override() = name; }

QByteArray AnsiCodePage()
{
    if (!Override().isEmpty())
        return Override();
    const bool czech = MainLanguage.IsChosen() ? MainLanguage.GetLanguage() == Language::Czech
                                               : QLocale::system().language() == QLocale::Czech;
    return czech ? QByteArrayLiteral("windows-1250") : QByteArrayLiteral("windows-1252");
}

QByteArray ToAnsi(const QString& text)
{
    QStringEncoder encoder(AnsiCodePage().constData());
    if (!encoder.isValid())
        return text.toLatin1();
    QByteArray bytes = encoder.encode(text);
    // The converter marks characters the code page lacks with SUB; the
    // program has always written '?' for them.
    if (!text.contains(Substitute))
        bytes.replace(Substitute, '?');
    return bytes;
}

QString FromAnsi(QByteArrayView bytes)
{
    QStringDecoder decoder(AnsiCodePage().constData());
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

bool FitsAnsi(const QString& text)
{
    // A replaced character comes back as '?' (or as the letter a converter
    // thought close enough), never as itself.
    return FromAnsi(ToAnsi(text)) == text;
}
