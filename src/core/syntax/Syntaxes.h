#pragma once

#include "syntax/Syntax.h"

#include <memory>

namespace plumeo {

// The rule set of every language coloured by GenericLexer. Each is built once, on first use (safely
// from any thread), and shared: Metal and GLSL use the same shader rules, the HTML lexer reuses the
// JavaScript and PHP ones for script elements and PHP blocks.
namespace Syntaxes {

using Shared = std::shared_ptr<const Syntax>;

const Shared &c();
const Shared &cpp();
const Shared &objectiveC();
const Shared &objectiveCpp();
const Shared &csharp();
const Shared &swift();
const Shared &shader();
const Shared &java();
const Shared &kotlin();
const Shared &javascript();
const Shared &typescript();
const Shared &json();
const Shared &php();
const Shared &python();
const Shared &shell();
const Shared &sql();
const Shared &go();
const Shared &rust();
const Shared &ruby();
const Shared &lua();
const Shared &perl();
const Shared &makefile();
const Shared &dockerfile();

} // namespace Syntaxes
} // namespace plumeo
