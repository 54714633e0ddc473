#pragma once

#include <QStringView>

namespace plumeo::test {

// Whether text breaks its lines in a single way (only LF, only CR LF or only lone CRs) or not at
// all: the condition under which saving a decoded file must give back its very bytes.
bool hasUniformLineBreaks(QStringView text);

} // namespace plumeo::test
