#pragma once

#include <QString>

namespace plumeo::bench {

// Deterministic documents of about `lines` lines for the lexer benchmarks, mostly ASCII with the
// odd accented word, built from a fixed seed so every run measures the same text.

// Headings, paragraphs with emphasis, links, code spans and escapes, bullet, task and ordered
// lists, quotes, tables, HTML comments, and fenced code in a dozen languages.
QString generateMarkdown(int lines);
// A page of nested elements with attributes, character references and comments, with a script
// element and a style element every few dozen lines.
QString generateHtml(int lines);
// Configuration in YAML: nested mappings, sequences, flow collections, anchors, block scalars.
QString generateYaml(int lines);
// Configuration in TOML: tables, arrays of tables, strings, numbers, dates, inline tables.
QString generateToml(int lines);

} // namespace plumeo::bench
