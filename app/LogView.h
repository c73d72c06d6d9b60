#pragma once

#include <QPlainTextEdit>

// The log box: shows what the event log appends, adding only the new text each time so that a
// long log costs no more per line than a short one. Stays at the bottom while the user is there.
class LogView : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit LogView(QWidget* parent = nullptr);

    void appendChunk(const QString& chunk);
};
