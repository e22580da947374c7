#pragma once
// Splits a received byte stream into lines ending with a terminator, with optional
// backspace/tab editing of what arrives. Pure logic: the socket feeds it what each read
// returned and takes complete lines out; how the stream was cut into reads never changes the
// lines that come out.
#include <QByteArray>

class LineBuffer
{
public:
    // The terminator; an empty one means no line is ever complete.
    QByteArray lineEnd() const { return m_lineEnd; }
    void setLineEnd(const QByteArray &lineEnd);

    // Editing: a backspace (0x08) removes the byte before it, but never one of a line that
    // is already complete; a tab (0x09) becomes spaces up to the next multiple of 8 columns
    // counted from the start of its line (at least one space).
    bool lineEdit() const { return m_lineEdit; }
    void setLineEdit(bool on) { m_lineEdit = on; }

    void append(const char *data, qsizetype len);
    void append(const QByteArray &bytes) { append(bytes.constData(), bytes.size()); }

    // Takes the oldest complete line, with its terminator; false when no line is complete.
    bool takeLine(QByteArray &line);

    // Bytes held (complete lines not yet taken plus the unfinished rest).
    qsizetype size() const { return m_data.size() - m_head; }
    bool isEmpty() const { return size() == 0; }
    // Takes everything held, terminated or not.
    QByteArray takeAll();
    void clear();

private:
    void compact();
    qsizetype currentLineStart();

    QByteArray m_lineEnd = QByteArrayLiteral("\r\n");
    bool m_lineEdit = false;
    QByteArray m_data;
    qsizetype m_head = 0;          // bytes before this were taken
    qsizetype m_searchFrom = 0;    // no terminator starts before this (past m_head)
    qsizetype m_lineStart = 0;     // start of the unfinished line, for editing
    bool m_lineStartKnown = true;
};
