#include "syntax/TokenKind.h"

namespace plumeo {

const char *tokenKindName(TokenKind kind)
{
    static constexpr const char *names[tokenKindCount] = {
        "plain",   "keyword",       "type",         "constant",  "string",      "escape",
        "number",  "comment",       "preprocessor", "attribute", "function",    "property",
        "tag",     "attributeName", "variable",     "operator",  "punctuation", "meta",
        "heading", "emphasis",      "strong",       "link",      "codeSpan",    "listMarker",
        "quote",   "strikethrough", "invalid",      "inserted",  "deleted",
    };
    return names[rawValue(kind)];
}

} // namespace plumeo
