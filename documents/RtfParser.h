#pragma once
// RTF conversion of styled text (see StyledText.h) for the text edit dialog's
// rich-edit control. It knows exactly the RTF this program exchanges with
// that control: a font table whose fonts carry Windows character sets,
// paragraphs, bold, italic, subscript and superscript, bytes escaped as \'hh
// in the code page of the font in force, \uN for characters none of those
// code pages holds, and the escapes \{ \} \\ for those three characters.
//
// Both directions are lossless for styled text: writing and reading back
// gives the same units and style switches, except that a line feed at the
// very end is dropped (the control's closing paragraph mark).

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>

// What the reader finds in the document's own text (the outer group): the
// style switches, characters and paragraph ends in order. A switch is
// reported once before the next character or paragraph end (or at the end
// of the document), however many control words made it.
class RtfContentHandler
{
public:
    virtual ~RtfContentHandler() = default;
    virtual void Style(int style) = 0;
    virtual void Character(char16_t unit) = 0;
    virtual void Paragraph() = 0;
};

// Writes RTF the reader understands, starting with the header that declares
// the six fonts and their character sets.
class RtfWriter
{
public:
    RtfWriter();

    // Sets the style word in force: plain, then sub- or superscript, italic, bold.
    void Style(int style);
    // One UTF-16 unit; non-ASCII units switch to the first font whose code
    // page holds them, or become \uN.
    void Character(char16_t unit);
    void Paragraph();
    // Closes the document and hands the RTF over.
    QByteArray Finish();

private:
    QByteArray m_out;
    int m_charset = 0; // the character set of the font in force
};

class RtfParser
{
public:
    // The longest styled text the text edit dialog hands to a field, in UTF-16 units.
    static constexpr int MaxStyledLength = 1000;
    // The font table's size: font numbers at or above it have no character set.
    static constexpr int FontCount = 100;

    RtfParser();
    virtual ~RtfParser();

    // The styled text of an RTF document, whole; a final line feed (the
    // closing paragraph mark) is dropped. Damaged or truncated RTF gives
    // what could be read.
    QString Parse(QByteArrayView rtf);
    // The RTF of a styled text.
    static QByteArray ToRtf(QStringView styled);
    // Reads an RTF document and reports its content to the handler.
    static void Read(QByteArrayView rtf, RtfContentHandler& handler);

    // '0'-'9', 'a'-'f', 'A'-'F'; 0 for any other character.
    static int GetHexDigitValue(char c);
    // A byte below 0x80 is itself; above, the character the charset's code
    // page gives it, or 0 when the charset has no code page or the byte no
    // character.
    static char16_t DecodeCharsetByte(int charset, int byte);
    // The byte 0x80-0xFF the charset's code page gives the unit, or -1.
    static int EncodeCharsetByte(int charset, char16_t unit);
    // The byte 0x80-0xFF of the Windows code page that holds the unit, or -1.
    static int FindInCodePage(int codePage, char16_t unit);
};
