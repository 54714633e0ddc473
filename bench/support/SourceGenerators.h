#pragma once

#include <QString>

namespace plumeo::bench {

// Realistic source texts of about the given size in UTF-16 units (ASCII, so also in bytes),
// generated deterministically: the same size always gives the same text, on every machine. Each
// exercises its language's comments (multi-line included), strings and character literals with
// escapes, numbers in several notations, preprocessor or declaration lines and nested blocks.
namespace SourceGenerators {

QString c(qsizetype size);
QString python(qsizetype size);
QString javascript(qsizetype size);
QString sql(qsizetype size);

} // namespace SourceGenerators
} // namespace plumeo::bench
