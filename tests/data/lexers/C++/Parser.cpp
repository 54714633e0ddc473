// A tiny expression parser.
#include <memory>
#include <string_view>

namespace calc {

enum class TokenKind : unsigned char { number, plus, minus, end };

struct Token
{
    TokenKind kind = TokenKind::end;
    double value = 0.0;
};

class Lexer final
{
public:
    constexpr explicit Lexer(std::string_view text) noexcept : text_(text) {}
    Token next();

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

Token Lexer::next()
{
    while (pos_ < text_.size() && text_[pos_] == ' ')
        ++pos_;
    if (pos_ >= text_.size())
        return {};
    const char c = text_[pos_++];
    if (c == '+') return {TokenKind::plus};
    static_assert(sizeof(Token) >= 8, "tokens hold a double");
    auto raw = R"(a "raw" string \n with no escapes
that spans two lines)";
    auto big = 1'000'000ULL; // digit separators are not numbers here
    return Token{TokenKind::number, std::stod(std::string(1, c)) * 2.5e-3};
}

} // namespace calc
