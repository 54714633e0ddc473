#pragma once

#include "rtf/RtfTokenizer.h"

#include <array>
#include <memory>
#include <string_view>
#include <vector>

#include <QString>

namespace plumeo {

// Turns the 8-bit text of an RTF file (raw bytes and \'hh escapes) into UTF-16 through the code
// page in force, with ICU converters opened once per page and per reading. Bytes a page cannot
// decode become U+FFFD; a code page without a converter is read as Windows-1252. Not thread-safe.
class RtfTextDecoder
{
public:
    RtfTextDecoder();
    ~RtfTextDecoder();
    RtfTextDecoder(const RtfTextDecoder &) = delete;
    RtfTextDecoder &operator=(const RtfTextDecoder &) = delete;

    // Appends the characters of bytes, read in codePage, to out.
    void decode(std::string_view bytes, int codePage, QString &out);
    // The lead bytes of codePage when it is a double-byte page, else nullptr.
    const RtfTokenizer::LeadBytes *leadBytes(int codePage);

private:
    struct Page;
    Page &page(int codePage);
    Page *open(int codePage);

    std::vector<std::unique_ptr<Page>> m_pages;
    Page *m_last = nullptr;
};

} // namespace plumeo
