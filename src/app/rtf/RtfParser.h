#pragma once

#include "rtf/RtfDocumentBuilder.h"
#include "rtf/RtfFormatTable.h"
#include "rtf/RtfFrameMarkers.h"
#include "rtf/RtfGroupState.h"
#include "rtf/RtfTextDecoder.h"
#include "rtf/RtfToken.h"
#include "rtf/RtfTokenizer.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QString>

class QTextDocument;

namespace plumeo {

// Reads RTF into a QTextDocument in one pass over the tokens. Group nesting is kept on an explicit
// stack (never the call stack), with runs of equal states stored once, so that any depth costs
// memory only where states differ, and at most maxDistinctGroups entries.
class RtfParser
{
public:
    static constexpr size_t maxDistinctGroups = 200000;

    enum class Extent {
        // One group, "{\rtf1 …}": reading stops at its closing brace.
        document,
        // A sequence of groups and text, read to the end of the data.
        fragment,
    };

    // Empties document; data starts at its first opening brace. U+FDD0 and U+FDD1 in the text
    // are stored as frameMarkers when given, else as the paragraph breaks Qt would make of them.
    RtfParser(std::string_view data,
              QTextDocument &document,
              Extent extent,
              std::optional<RtfFrameMarkers> frameMarkers = std::nullopt);

    // Reads the document or fragment. Returns whether every group was closed (false for truncated
    // or unbalanced data, whose text is read all the same).
    bool run();
    // Whether the text held U+FDD0 or U+FDD1.
    bool sawFrameMarkers() const { return m_sawFrameMarkers; }

private:
    struct SavedGroup
    {
        RtfGroupState state;
        // How many nested groups opened with this same state.
        std::uint32_t count;
    };
    struct FontEntry
    {
        int number = -1;
        int charset = -1;
        int codePage = 0;
        QString name;
    };

    static bool isTextToken(const RtfToken &token);
    bool consumeFallback(RtfToken &token);
    void skipToken(const RtfToken &token);
    void controlWord(const RtfToken &token, bool destinationExpected);
    void controlSymbol(unsigned char symbol);

    void openGroup();
    void closeGroup();
    void restoreGroup();
    void startSkipping();

    void appendBytes(std::string_view bytes, bool escaped);
    void flushPending();
    int currentCodePage() const;
    const RtfTokenizer::LeadBytes *currentLeadBytes();

    void emitText(QStringView text);
    void emitUnicode(int value);
    void emitUnit(char16_t unit);
    void appendBody(QStringView text);
    void settleSurrogate();
    void paragraphBreak();
    void cellEnd();
    void rowEnd();
    void commitFont();
    void commitColor();
    bool inBody() const;

    RtfTokenizer m_tokenizer;
    RtfTextDecoder m_decoder;
    RtfFormatTable m_formats;
    RtfDocumentBuilder m_builder;
    Extent m_extent;
    std::optional<RtfFrameMarkers> m_frameMarkers;
    bool m_sawFrameMarkers = false;

    RtfGroupState m_state;
    std::vector<SavedGroup> m_stack;
    std::int64_t m_depth = 0;
    std::int64_t m_skipDepth = 0;
    int m_fallbackToSkip = 0;
    bool m_finished = false;

    int m_documentCodePage = 1252;
    std::string m_pendingBytes;
    QString m_decoded;

    FontEntry m_fontEntry;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_colorSet = false;

    char16_t m_highSurrogate = 0;
    bool m_paragraphHasContent = false;
    bool m_cellEndedByPar = false;

    // The lead bytes last handed to the tokenizer and what they were computed from.
    int m_leadCodePage = -1;
    const RtfTokenizer::LeadBytes *m_leads = nullptr;
};

} // namespace plumeo
