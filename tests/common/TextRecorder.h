#pragma once
// A paint device that keeps the texts painted on it, piece by piece, so that a
// test can tell what a widget wrote without looking at pixels.

#include "common/DrawRecorder.h"

#include <QPainter>
#include <QStringList>
#include <QWidget>

// The characters a styled text shows: without its style escapes (ESC and the
// code after it) and without blanks and tabs, which paint nothing.
inline QString ShownLetters(const QString& styled)
{
    QString shown;
    for (qsizetype i = 0; i < styled.size(); ++i) {
        if (styled[i] == QChar(0x1b))
            ++i;
        else if (!styled[i].isSpace())
            shown += styled[i];
    }
    return shown;
}

class TextRecorder : public DrawRecorder
{
public:
    // Paints `widget` (and its children) onto the recorder.
    QStringList Render(QWidget& widget)
    {
        engine.texts.clear();
        QPainter painter(this);
        widget.render(&painter);
        painter.end();
        QStringList texts;
        for (const Text& text : engine.texts)
            texts << text.text;
        return texts;
    }

    // Everything painted on `widget`, as ShownLetters gives it.
    QString RenderLetters(QWidget& widget) { return ShownLetters(Render(widget).join(QString())); }
};
