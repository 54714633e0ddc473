#pragma once

#include "syntax/LexState.h"

#include <vector>

#include <QtGlobal>

namespace plumeo {

// What the highlighter knows of each line: where it starts (UTF-16 offsets, as in LineIndex: line 0
// starts at 0 and each line break at offset k starts a line at k + 1), the lexer state at its end,
// and whether its text block may carry formats the highlighter set. An edit patches the index in
// proportion to the lines it touches (plus one shift of the later starts); nothing is rebuilt.
class HighlightIndex
{
public:
    // One empty line.
    HighlightIndex();

    // Starts afresh from these line starts (the first must be 0): every end state initial, and
    // every line marked as possibly carrying formats when mayHaveFormats.
    void reset(std::vector<qint64> lineStarts, bool mayHaveFormats);
    // Every end state back to initial; the lines and what may carry formats stay.
    void resetEndStates();

    qint64 lineCount() const { return qint64(m_lineStarts.size()); }
    const std::vector<qint64> &lineStarts() const { return m_lineStarts; }
    const std::vector<LexState> &endStates() const { return m_endStates; }
    qint64 lineStart(qint64 line) const { return m_lineStarts[size_t(line)]; }
    // The line holding offset: the last starting at or before it (line 0 for a negative offset).
    qint64 line(qint64 offset) const;

    LexState endState(qint64 line) const { return m_endStates[size_t(line)]; }
    void setEndState(qint64 line, LexState state) { m_endStates[size_t(line)] = state; }
    bool mayHaveFormats(qint64 line) const { return m_mayHaveFormats[size_t(line)] != 0; }
    void setMayHaveFormats(qint64 line, bool value) { m_mayHaveFormats[size_t(line)] = value; }

    struct Edit
    {
        qint64 firstLine;    // the line holding the edit's start
        qint64 removedLines; // line starts the old text of the edit held
        qint64 addedLines;   // line starts the new text holds
    };

    // The old units [position, oldEnd) were replaced by delta more units, in which newStarts (in
    // order) are the starts of the lines that begin inside the new text, each in
    // (position, oldEnd + delta]. The lines touched get initial end states and may carry formats.
    // Requires 0 <= position <= oldEnd <= the old text's length.
    Edit
    replace(qint64 position, qint64 oldEnd, qint64 delta, const std::vector<qint64> &newStarts);

private:
    std::vector<qint64> m_lineStarts;
    std::vector<LexState> m_endStates;
    std::vector<quint8> m_mayHaveFormats;
};

} // namespace plumeo
