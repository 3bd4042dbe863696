#include "documents/widgets/RichEdit.h"

#include "documents/RtfParser.h"
#include "documents/StyledText.h"

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// The face and size the dialog edits in; the field's own font is applied
// only when the field is drawn.
constexpr char EditFace[] = "Arial";
constexpr int EditPointSize = 12;

// Builds the document from what the RTF reader reports. A paragraph mark
// opens the next paragraph only when text follows it, so the control's
// closing mark does not add an empty last paragraph.
class DocumentBuilder : public RtfContentHandler
{
public:
    explicit DocumentBuilder(QTextDocument& document) : m_cursor(&document) {}

    void Style(int style) override
    {
        FlushRun();
        m_format = RichEdit::FormatOf(style);
    }
    void Character(char16_t unit) override
    {
        OpenParagraph();
        m_run.append(QChar(unit));
    }
    void Paragraph() override
    {
        FlushRun();
        OpenParagraph();
        m_paragraphPending = true;
    }
    void Finish() { FlushRun(); }

private:
    void OpenParagraph()
    {
        if (m_paragraphPending) {
            FlushRun();
            m_cursor.insertBlock(QTextBlockFormat(), m_format);
            m_paragraphPending = false;
        }
    }
    void FlushRun()
    {
        if (!m_run.isEmpty())
            m_cursor.insertText(m_run, m_format);
        m_run.clear();
    }

    QTextCursor m_cursor;
    QTextCharFormat m_format = RichEdit::FormatOf(Style::Normal);
    QString m_run;
    bool m_paragraphPending = false;
};

// The style all characters of a selection share, effect by effect.
int CommonStyle(const QTextCursor& selection)
{
    const QTextDocument* document = selection.document();
    const int start = selection.selectionStart();
    const int end = selection.selectionEnd();
    bool first = true;
    int position = Style::Normal;
    bool samePosition = true;
    int effects = Style::Bold | Style::Italic;
    for (QTextBlock block = document->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() + fragment.length() <= start || fragment.position() >= end)
                continue;
            const int style = RichEdit::StyleOf(fragment.charFormat());
            if (first)
                position = style & 3;
            else if ((style & 3) != position)
                samePosition = false;
            effects &= style;
            first = false;
        }
    }
    if (first)
        return RichEdit::StyleOf(selection.charFormat());
    return (samePosition ? position : Style::Normal) | effects;
}

} // namespace

RichEdit::RichEdit(QWidget* parent) : QTextEdit(parent)
{
    setAcceptRichText(false);
    QFont font(QString::fromLatin1(EditFace));
    font.setPointSize(EditPointSize);
    document()->setDefaultFont(font);
}

void RichEdit::SetRtf(QByteArrayView rtf)
{
    clear();
    setCurrentCharFormat(FormatOf(Style::Normal));
    DocumentBuilder builder(*document());
    RtfParser::Read(rtf, builder);
    builder.Finish();
    moveCursor(QTextCursor::Start);
}

QByteArray RichEdit::GetRtf() const
{
    RtfWriter writer;
    int style = Style::Normal;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int fragmentStyle = StyleOf(fragment.charFormat());
            if (fragmentStyle != style) {
                writer.Style(fragmentStyle);
                style = fragmentStyle;
            }
            for (const QChar c : fragment.text()) {
                // A line break inside a paragraph (Shift+Enter) is a paragraph
                // end to the styled text; pictures pasted in have no character.
                if (c == QChar::LineSeparator)
                    writer.Paragraph();
                else if (c != QChar::ObjectReplacementCharacter)
                    writer.Character(c.unicode());
            }
        }
        writer.Paragraph();
    }
    return writer.Finish();
}

int RichEdit::SelectionStyle() const
{
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return StyleOf(currentCharFormat());
    return CommonStyle(cursor);
}

void RichEdit::SetSelectionPosition(int position)
{
    QTextCharFormat format;
    format.setVerticalAlignment(position == Style::Subscript     ? QTextCharFormat::AlignSubScript
                                : position == Style::Superscript ? QTextCharFormat::AlignSuperScript
                                                                 : QTextCharFormat::AlignNormal);
    mergeCurrentCharFormat(format);
}

void RichEdit::SetSelectionEffect(int effect, bool on)
{
    QTextCharFormat format;
    if (effect == Style::Bold)
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
    else if (effect == Style::Italic)
        format.setFontItalic(on);
    mergeCurrentCharFormat(format);
}

void RichEdit::InsertText(const QString& text)
{
    textCursor().insertText(text);
}

int RichEdit::StyleOf(const QTextCharFormat& format)
{
    int style = Style::Normal;
    switch (format.verticalAlignment()) {
    case QTextCharFormat::AlignSubScript: style = Style::Subscript; break;
    case QTextCharFormat::AlignSuperScript: style = Style::Superscript; break;
    default: break;
    }
    if (format.fontWeight() >= QFont::Bold)
        style |= Style::Bold;
    if (format.fontItalic())
        style |= Style::Italic;
    return style;
}

QTextCharFormat RichEdit::FormatOf(int style)
{
    QTextCharFormat format;
    format.setFontWeight(style & Style::Bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic((style & Style::Italic) != 0);
    switch (style & 3) {
    case Style::Subscript: format.setVerticalAlignment(QTextCharFormat::AlignSubScript); break;
    case Style::Superscript: format.setVerticalAlignment(QTextCharFormat::AlignSuperScript); break;
    default: format.setVerticalAlignment(QTextCharFormat::AlignNormal); break;
    }
    return format;
}
