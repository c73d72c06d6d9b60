#include "LogView.h"

#include <QScrollBar>
#include <QTextCursor>

LogView::LogView(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setUndoRedoEnabled(false); // an undo stack would keep a second copy of the whole log
    setLineWrapMode(QPlainTextEdit::NoWrap);
}

void LogView::appendChunk(const QString& chunk)
{
    QScrollBar* bar = verticalScrollBar();
    const bool atBottom = bar->value() == bar->maximum();
    QString text = chunk;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    if (atBottom) {
        bar->setValue(bar->maximum());
    }
}
