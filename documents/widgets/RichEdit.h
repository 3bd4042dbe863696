#pragma once
// The rich-edit control of the text edit dialog: a text edit that takes and
// gives the program's RTF (see RtfParser.h) and knows four character
// effects, bold, italic, subscript and superscript, kept as the document's
// character formats. Pasted text comes in plain.

#include <QByteArray>
#include <QByteArrayView>
#include <QTextEdit>

class QTextCharFormat;

class RichEdit : public QTextEdit
{
    Q_OBJECT

public:
    explicit RichEdit(QWidget* parent = nullptr);

    // Replaces the content by the document of the RTF.
    void SetRtf(QByteArrayView rtf);
    // The content as RTF: each paragraph closed by its paragraph mark.
    QByteArray GetRtf() const;

    // The style word (see StyledText.h) of the selection: each effect only
    // when every selected character has it. Without a selection, the style
    // typing would use.
    int SelectionStyle() const;
    // Sets the vertical position (normal, subscript, superscript) of the
    // selection, or of what is typed next.
    void SetSelectionPosition(int position);
    // Switches bold or italic on or off for the selection, or for what is typed next.
    void SetSelectionEffect(int effect, bool on);
    // Replaces the selection by the text.
    void InsertText(const QString& text);

    // The style word of a character format and the format of a style word.
    static int StyleOf(const QTextCharFormat& format);
    static QTextCharFormat FormatOf(int style);
};
