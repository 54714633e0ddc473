#include "support/LineBreaks.h"

namespace plumeo::test {

bool hasUniformLineBreaks(QStringView text)
{
    bool lf = false, crlf = false, cr = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            crlf = true;
            ++i;
        } else if (text[i] == u'\r') {
            cr = true;
        } else if (text[i] == u'\n') {
            lf = true;
        }
    }
    return int(lf) + int(crlf) + int(cr) <= 1;
}

} // namespace plumeo::test
