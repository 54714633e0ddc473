#include "syntax/Syntaxes.h"

#include <initializer_list>
#include <span>

namespace plumeo::Syntaxes {

namespace {

// The vocabulary of the rule sets. Shared lists are combined below; duplicates are harmless (a word
// keeps the first class it is given: keyword, then constant, then type).
constexpr std::u16string_view cKeywords[] = {
    u"auto",         u"break",  u"case",     u"const",      u"continue", u"default",
    u"do",           u"else",   u"enum",     u"extern",     u"for",      u"goto",
    u"if",           u"inline", u"register", u"restrict",   u"return",   u"sizeof",
    u"static",       u"struct", u"switch",   u"typedef",    u"union",    u"volatile",
    u"while",        u"_Bool",  u"_Complex", u"_Imaginary", u"_Atomic",  u"_Static_assert",
    u"_Thread_local"};
constexpr std::u16string_view cTypes[] = {
    u"void",      u"char",      u"short",   u"int",      u"long",     u"float",    u"double",
    u"signed",    u"unsigned",  u"bool",    u"size_t",   u"ssize_t",  u"int8_t",   u"int16_t",
    u"int32_t",   u"int64_t",   u"uint8_t", u"uint16_t", u"uint32_t", u"uint64_t", u"intptr_t",
    u"uintptr_t", u"ptrdiff_t", u"wchar_t", u"FILE",     u"va_list"};
constexpr std::u16string_view cConstants[] = {u"NULL", u"true", u"false", u"EOF"};
constexpr std::u16string_view cppExtraKeywords[] = {
    u"class",        u"namespace",    u"template",
    u"typename",     u"public",       u"private",
    u"protected",    u"virtual",      u"override",
    u"final",        u"new",          u"delete",
    u"this",         u"try",          u"catch",
    u"throw",        u"using",        u"constexpr",
    u"consteval",    u"constinit",    u"decltype",
    u"static_cast",  u"dynamic_cast", u"reinterpret_cast",
    u"const_cast",   u"operator",     u"friend",
    u"explicit",     u"mutable",      u"noexcept",
    u"concept",      u"requires",     u"co_await",
    u"co_return",    u"co_yield",     u"export",
    u"module",       u"import",       u"typeid",
    u"alignas",      u"alignof",      u"static_assert",
    u"thread_local", u"and",          u"or",
    u"not"};
constexpr std::u16string_view objcExtraKeywords[] = {u"in",
                                                     u"out",
                                                     u"inout",
                                                     u"bycopy",
                                                     u"byref",
                                                     u"oneway",
                                                     u"self",
                                                     u"super",
                                                     u"instancetype",
                                                     u"nonatomic",
                                                     u"atomic",
                                                     u"strong",
                                                     u"weak",
                                                     u"copy",
                                                     u"assign",
                                                     u"retain",
                                                     u"readonly",
                                                     u"readwrite",
                                                     u"nullable",
                                                     u"nonnull",
                                                     u"null_resettable",
                                                     u"__block",
                                                     u"__weak",
                                                     u"__strong",
                                                     u"__unsafe_unretained",
                                                     u"__bridge",
                                                     u"__kindof",
                                                     u"IBOutlet",
                                                     u"IBAction"};
constexpr std::u16string_view objcExtraTypes[] = {u"id",   u"Class",     u"SEL",        u"IMP",
                                                  u"BOOL", u"NSInteger", u"NSUInteger", u"CGFloat"};
constexpr std::u16string_view objcExtraConstants[] = {u"nil", u"Nil",  u"YES",
                                                      u"NO",  u"self", u"super"};
constexpr std::u16string_view shaderExtraKeywords[] = {
    u"kernel",  u"vertex",  u"fragment",  u"constant",  u"device",   u"threadgroup",
    u"thread",  u"uniform", u"varying",   u"attribute", u"layout",   u"in",
    u"out",     u"inout",   u"precision", u"highp",     u"mediump",  u"lowp",
    u"discard", u"using",   u"namespace", u"template",  u"typename", u"class",
    u"public",  u"private", u"sampler",   u"texture",   u"buffer"};
constexpr std::u16string_view shaderExtraTypes[] = {
    u"half",    u"float2",    u"float3",      u"float4",    u"half2",     u"half3",
    u"half4",   u"int2",      u"int3",        u"int4",      u"uint2",     u"uint3",
    u"uint4",   u"float2x2",  u"float3x3",    u"float4x4",  u"vec2",      u"vec3",
    u"vec4",    u"ivec2",     u"ivec3",       u"ivec4",     u"uvec2",     u"uvec3",
    u"uvec4",   u"bvec2",     u"bvec3",       u"bvec4",     u"mat2",      u"mat3",
    u"mat4",    u"sampler2D", u"samplerCube", u"texture2d", u"texture3d", u"texturecube",
    u"depth2d", u"uchar",     u"ushort",      u"uint"};
constexpr std::u16string_view jsKeywords[] = {
    u"break",   u"case",     u"catch",  u"class",  u"const",  u"continue",   u"debugger",
    u"default", u"delete",   u"do",     u"else",   u"export", u"extends",    u"finally",
    u"for",     u"function", u"if",     u"import", u"in",     u"instanceof", u"new",
    u"return",  u"super",    u"switch", u"this",   u"throw",  u"try",        u"typeof",
    u"var",     u"void",     u"while",  u"with",   u"yield",  u"let",        u"static",
    u"async",   u"await",    u"of",     u"get",    u"set",    u"from",       u"as"};
constexpr std::u16string_view jsConstants[] = {u"true", u"false",    u"null", u"undefined",
                                               u"NaN",  u"Infinity", u"this", u"super"};
constexpr std::u16string_view csharpKeywords[] = {
    u"abstract", u"as",      u"base",       u"break",    u"case",     u"catch",     u"checked",
    u"class",    u"const",   u"continue",   u"default",  u"delegate", u"do",        u"else",
    u"enum",     u"event",   u"explicit",   u"extern",   u"finally",  u"fixed",     u"for",
    u"foreach",  u"goto",    u"if",         u"implicit", u"in",       u"interface", u"internal",
    u"is",       u"lock",    u"namespace",  u"new",      u"operator", u"out",       u"override",
    u"params",   u"private", u"protected",  u"public",   u"readonly", u"ref",       u"return",
    u"sealed",   u"sizeof",  u"stackalloc", u"static",   u"struct",   u"switch",    u"throw",
    u"try",      u"typeof",  u"unchecked",  u"unsafe",   u"using",    u"virtual",   u"volatile",
    u"while",    u"async",   u"await",      u"get",      u"set",      u"value",     u"yield",
    u"partial",  u"record",  u"init",       u"nameof",   u"when",     u"where",     u"select",
    u"from",     u"let",     u"group",      u"into",     u"orderby",  u"join",      u"equals",
    u"var",      u"add",     u"remove",     u"global",   u"required", u"file",      u"with",
    u"and",      u"or",      u"not"};
constexpr std::u16string_view csharpTypes[] = {u"bool",  u"byte",    u"char", u"decimal", u"double",
                                               u"float", u"int",     u"long", u"object",  u"sbyte",
                                               u"short", u"string",  u"uint", u"ulong",   u"ushort",
                                               u"void",  u"dynamic", u"nint", u"nuint"};
constexpr std::u16string_view csharpConstants[] = {u"true", u"false", u"null", u"this", u"base"};
constexpr std::u16string_view swiftKeywords[] = {u"associatedtype",
                                                 u"class",
                                                 u"deinit",
                                                 u"enum",
                                                 u"extension",
                                                 u"fileprivate",
                                                 u"func",
                                                 u"import",
                                                 u"init",
                                                 u"inout",
                                                 u"internal",
                                                 u"let",
                                                 u"open",
                                                 u"operator",
                                                 u"private",
                                                 u"precedencegroup",
                                                 u"protocol",
                                                 u"public",
                                                 u"rethrows",
                                                 u"static",
                                                 u"struct",
                                                 u"subscript",
                                                 u"typealias",
                                                 u"var",
                                                 u"break",
                                                 u"case",
                                                 u"catch",
                                                 u"continue",
                                                 u"default",
                                                 u"defer",
                                                 u"do",
                                                 u"else",
                                                 u"fallthrough",
                                                 u"for",
                                                 u"guard",
                                                 u"if",
                                                 u"in",
                                                 u"repeat",
                                                 u"return",
                                                 u"throw",
                                                 u"switch",
                                                 u"where",
                                                 u"while",
                                                 u"as",
                                                 u"any",
                                                 u"await",
                                                 u"async",
                                                 u"is",
                                                 u"throws",
                                                 u"try",
                                                 u"some",
                                                 u"actor",
                                                 u"nonisolated",
                                                 u"isolated",
                                                 u"consuming",
                                                 u"borrowing",
                                                 u"lazy",
                                                 u"weak",
                                                 u"unowned",
                                                 u"mutating",
                                                 u"nonmutating",
                                                 u"override",
                                                 u"required",
                                                 u"convenience",
                                                 u"final",
                                                 u"dynamic",
                                                 u"indirect",
                                                 u"infix",
                                                 u"prefix",
                                                 u"postfix",
                                                 u"optional",
                                                 u"macro",
                                                 u"package",
                                                 u"each",
                                                 u"sending"};
constexpr std::u16string_view swiftTypes[] = {
    u"Int", u"Double",   u"Float", u"String",    u"Bool", u"Character", u"Array", u"Dictionary",
    u"Set", u"Optional", u"Any",   u"AnyObject", u"Void", u"Never",     u"Error", u"Result"};
constexpr std::u16string_view swiftConstants[] = {u"true", u"false", u"nil",
                                                  u"self", u"Self",  u"super"};
constexpr std::u16string_view javaKeywords[] = {
    u"abstract",   u"assert",    u"break",      u"case",         u"catch",    u"class",
    u"const",      u"continue",  u"default",    u"do",           u"else",     u"enum",
    u"extends",    u"final",     u"finally",    u"for",          u"goto",     u"if",
    u"implements", u"import",    u"instanceof", u"interface",    u"native",   u"new",
    u"package",    u"private",   u"protected",  u"public",       u"return",   u"static",
    u"strictfp",   u"super",     u"switch",     u"synchronized", u"this",     u"throw",
    u"throws",     u"transient", u"try",        u"var",          u"volatile", u"while",
    u"record",     u"sealed",    u"permits",    u"yield"};
constexpr std::u16string_view javaTypes[] = {u"boolean", u"byte", u"char",  u"double", u"float",
                                             u"int",     u"long", u"short", u"void",   u"String"};
constexpr std::u16string_view javaConstants[] = {u"true", u"false", u"null", u"this", u"super"};
constexpr std::u16string_view kotlinKeywords[] = {
    u"as",          u"break",     u"class",     u"continue",    u"do",        u"else",
    u"false",       u"for",       u"fun",       u"if",          u"in",        u"interface",
    u"is",          u"null",      u"object",    u"package",     u"return",    u"super",
    u"this",        u"throw",     u"true",      u"try",         u"typealias", u"typeof",
    u"val",         u"var",       u"when",      u"while",       u"by",        u"catch",
    u"constructor", u"delegate",  u"dynamic",   u"field",       u"file",      u"finally",
    u"get",         u"import",    u"init",      u"param",       u"property",  u"receiver",
    u"set",         u"setparam",  u"value",     u"where",       u"abstract",  u"actual",
    u"annotation",  u"companion", u"const",     u"crossinline", u"data",      u"enum",
    u"expect",      u"external",  u"final",     u"infix",       u"inline",    u"inner",
    u"internal",    u"lateinit",  u"noinline",  u"open",        u"operator",  u"out",
    u"override",    u"private",   u"protected", u"public",      u"reified",   u"sealed",
    u"suspend",     u"tailrec",   u"vararg"};
constexpr std::u16string_view kotlinTypes[] = {u"Int",  u"Long",   u"Double", u"Float", u"Boolean",
                                               u"Char", u"String", u"Unit",   u"Any",   u"Nothing",
                                               u"List", u"Map",    u"Set"};
constexpr std::u16string_view kotlinConstants[] = {u"true", u"false", u"null", u"this", u"super"};
constexpr std::u16string_view typescriptExtraKeywords[] = {
    u"interface", u"type",      u"enum",     u"implements", u"declare", u"namespace", u"module",
    u"abstract",  u"readonly",  u"private",  u"protected",  u"public",  u"keyof",     u"infer",
    u"is",        u"satisfies", u"override", u"asserts",    u"accessor"};
constexpr std::u16string_view typescriptTypes[] = {u"number", u"string", u"boolean", u"any",
                                                   u"void",   u"never",  u"unknown", u"object",
                                                   u"symbol", u"bigint"};
constexpr std::u16string_view jsonConstants[] = {u"true", u"false", u"null"};
constexpr std::u16string_view phpKeywords[] = {
    u"abstract",     u"and",        u"array",        u"as",         u"break",     u"callable",
    u"case",         u"catch",      u"class",        u"clone",      u"const",     u"continue",
    u"declare",      u"default",    u"do",           u"echo",       u"else",      u"elseif",
    u"empty",        u"enddeclare", u"endfor",       u"endforeach", u"endif",     u"endswitch",
    u"endwhile",     u"enum",       u"extends",      u"final",      u"finally",   u"fn",
    u"for",          u"foreach",    u"function",     u"global",     u"goto",      u"if",
    u"implements",   u"include",    u"include_once", u"instanceof", u"insteadof", u"interface",
    u"isset",        u"list",       u"match",        u"namespace",  u"new",       u"or",
    u"print",        u"private",    u"protected",    u"public",     u"readonly",  u"require",
    u"require_once", u"return",     u"static",       u"switch",     u"throw",     u"trait",
    u"try",          u"unset",      u"use",          u"var",        u"while",     u"xor",
    u"yield"};
constexpr std::u16string_view phpTypes[] = {u"int",    u"float", u"bool", u"string",   u"array",
                                            u"object", u"mixed", u"void", u"iterable", u"never"};
constexpr std::u16string_view phpConstants[] = {u"true", u"false", u"null",   u"TRUE",  u"FALSE",
                                                u"NULL", u"self",  u"parent", u"static"};
constexpr std::u16string_view pythonKeywords[] = {
    u"and",      u"as",       u"assert", u"async", u"await",  u"break",  u"class",
    u"continue", u"def",      u"del",    u"elif",  u"else",   u"except", u"finally",
    u"for",      u"from",     u"global", u"if",    u"import", u"in",     u"is",
    u"lambda",   u"nonlocal", u"not",    u"or",    u"pass",   u"raise",  u"return",
    u"try",      u"while",    u"with",   u"yield", u"match",  u"case",   u"print"};
constexpr std::u16string_view pythonTypes[] = {u"int",   u"float",  u"str", u"bool",
                                               u"list",  u"dict",   u"set", u"tuple",
                                               u"bytes", u"object", u"type"};
constexpr std::u16string_view pythonConstants[] = {u"True", u"False", u"None", u"self", u"cls"};
constexpr std::u16string_view shellKeywords[] = {
    u"if",       u"then",   u"else",   u"elif",  u"fi",       u"for",      u"while",   u"until",
    u"do",       u"done",   u"case",   u"esac",  u"in",       u"function", u"select",  u"time",
    u"return",   u"exit",   u"export", u"local", u"readonly", u"declare",  u"typeset", u"unset",
    u"shift",    u"source", u"alias",  u"echo",  u"cd",       u"set",      u"test",    u"break",
    u"continue", u"printf", u"read",   u"eval",  u"exec",     u"trap",     u"let"};
constexpr std::u16string_view shellConstants[] = {u"true", u"false"};
constexpr std::u16string_view sqlKeywords[] = {
    u"select",     u"from",      u"where",    u"insert",     u"into",        u"values",  u"update",
    u"set",        u"delete",    u"create",   u"table",      u"drop",        u"alter",   u"index",
    u"view",       u"join",      u"inner",    u"left",       u"right",       u"outer",   u"full",
    u"cross",      u"on",        u"as",       u"and",        u"or",          u"not",     u"null",
    u"is",         u"in",        u"like",     u"ilike",      u"between",     u"order",   u"by",
    u"group",      u"having",    u"limit",    u"offset",     u"distinct",    u"union",   u"all",
    u"primary",    u"key",       u"foreign",  u"references", u"default",     u"unique",  u"check",
    u"constraint", u"begin",     u"commit",   u"rollback",   u"transaction", u"if",      u"exists",
    u"case",       u"when",      u"then",     u"else",       u"end",         u"asc",     u"desc",
    u"with",       u"returning", u"cascade",  u"add",        u"column",      u"using",   u"replace",
    u"trigger",    u"procedure", u"function", u"returns",    u"declare",     u"explain", u"analyze",
    u"vacuum"};
constexpr std::u16string_view sqlTypes[] = {
    u"int",       u"integer",  u"varchar", u"text",     u"char", u"date",
    u"timestamp", u"datetime", u"boolean", u"float",    u"real", u"numeric",
    u"decimal",   u"serial",   u"bigint",  u"smallint", u"blob", u"json",
    u"jsonb",     u"uuid",     u"double",  u"bytea"};
constexpr std::u16string_view sqlConstants[] = {u"null", u"true", u"false"};
constexpr std::u16string_view goKeywords[] = {
    u"break",  u"case",        u"chan", u"const",   u"continue", u"default", u"defer",
    u"else",   u"fallthrough", u"for",  u"func",    u"go",       u"goto",    u"if",
    u"import", u"interface",   u"map",  u"package", u"range",    u"return",  u"select",
    u"struct", u"switch",      u"type", u"var"};
constexpr std::u16string_view goTypes[] = {
    u"bool", u"byte",  u"complex64", u"complex128", u"error",  u"float32", u"float64",
    u"int",  u"int8",  u"int16",     u"int32",      u"int64",  u"rune",    u"string",
    u"uint", u"uint8", u"uint16",    u"uint32",     u"uint64", u"uintptr", u"any"};
constexpr std::u16string_view goConstants[] = {u"true", u"false", u"nil", u"iota"};
constexpr std::u16string_view rustKeywords[] = {
    u"as",    u"async", u"await",  u"break",  u"const",  u"continue", u"crate",
    u"dyn",   u"else",  u"enum",   u"extern", u"fn",     u"for",      u"if",
    u"impl",  u"in",    u"let",    u"loop",   u"match",  u"mod",      u"move",
    u"mut",   u"pub",   u"ref",    u"return", u"static", u"struct",   u"super",
    u"trait", u"type",  u"unsafe", u"use",    u"where",  u"while",    u"macro_rules"};
constexpr std::u16string_view rustTypes[] = {
    u"i8",  u"i16",    u"i32",    u"i64", u"i128", u"isize", u"u8",   u"u16", u"u32",
    u"u64", u"u128",   u"usize",  u"f32", u"f64",  u"bool",  u"char", u"str", u"String",
    u"Vec", u"Option", u"Result", u"Box", u"Rc",   u"Arc",   u"Self"};
constexpr std::u16string_view rustConstants[] = {u"true", u"false", u"self", u"Self",
                                                 u"None", u"Some",  u"Ok",   u"Err"};
constexpr std::u16string_view rubyKeywords[] = {u"alias",
                                                u"and",
                                                u"begin",
                                                u"break",
                                                u"case",
                                                u"class",
                                                u"def",
                                                u"defined?",
                                                u"do",
                                                u"else",
                                                u"elsif",
                                                u"end",
                                                u"ensure",
                                                u"for",
                                                u"if",
                                                u"in",
                                                u"module",
                                                u"next",
                                                u"not",
                                                u"or",
                                                u"redo",
                                                u"rescue",
                                                u"retry",
                                                u"return",
                                                u"then",
                                                u"undef",
                                                u"unless",
                                                u"until",
                                                u"when",
                                                u"while",
                                                u"yield",
                                                u"require",
                                                u"require_relative",
                                                u"attr_accessor",
                                                u"attr_reader",
                                                u"attr_writer",
                                                u"puts",
                                                u"private",
                                                u"public",
                                                u"protected",
                                                u"include",
                                                u"extend",
                                                u"lambda",
                                                u"proc",
                                                u"raise",
                                                u"new",
                                                u"super"};
constexpr std::u16string_view rubyConstants[] = {u"true", u"false", u"nil", u"self"};
constexpr std::u16string_view luaKeywords[] = {
    u"and",   u"break", u"do", u"else",   u"elseif", u"end",  u"for",   u"function", u"if",  u"in",
    u"local", u"not",   u"or", u"repeat", u"return", u"then", u"until", u"while",    u"goto"};
constexpr std::u16string_view luaConstants[] = {u"true", u"false", u"nil", u"self"};
constexpr std::u16string_view perlKeywords[] = {
    u"my",     u"our",   u"local",   u"sub",     u"if",      u"elsif",   u"else",   u"unless",
    u"while",  u"until", u"for",     u"foreach", u"do",      u"last",    u"next",   u"redo",
    u"return", u"use",   u"no",      u"require", u"package", u"print",   u"printf", u"die",
    u"eval",   u"shift", u"unshift", u"push",    u"pop",     u"defined", u"undef",  u"exists",
    u"delete", u"keys",  u"values",  u"each"};
constexpr std::u16string_view makefileKeywords[] = {u"ifeq",  u"ifneq",  u"ifdef",    u"ifndef",
                                                    u"else",  u"endif",  u"include",  u"define",
                                                    u"endef", u"export", u"override", u"vpath"};
constexpr std::u16string_view dockerfileKeywords[] = {
    u"from",    u"run",        u"cmd",         u"label",  u"maintainer", u"expose",  u"env",
    u"add",     u"copy",       u"entrypoint",  u"volume", u"user",       u"workdir", u"arg",
    u"onbuild", u"stopsignal", u"healthcheck", u"shell",  u"as"};

using Words = std::vector<std::u16string_view>;

Words words(std::initializer_list<std::span<const std::u16string_view>> lists)
{
    Words all;
    for (std::span<const std::u16string_view> list : lists)
        all.insert(all.end(), list.begin(), list.end());
    return all;
}

constexpr char16_t backslash = u'\\';
const StringRule::Options escaped{.escape = backslash};
const StringRule::Options escapedMultiline{.escape = backslash, .multiline = true};
const StringRule::Options multiline{.multiline = true};
const StringRule::Options verbatim{.multiline = true, .doubledClose = true};

std::vector<StringRule> cStrings()
{
    return {StringRule(u"\"", u"\"", escaped),
            StringRule(u"'", u"'", {.escape = backslash, .maxLength = 8})};
}

std::vector<StringRule> objcStrings()
{
    std::vector<StringRule> rules = cStrings();
    rules.emplace_back(u"@\"", u"\"", escaped);
    return rules;
}

std::vector<StringRule> jsStrings()
{
    return {StringRule(u"\"", u"\"", escaped), StringRule(u"'", u"'", escaped),
            StringRule(u"`", u"`", escapedMultiline)};
}

Shared make(const Syntax::Rules &rules)
{
    return std::make_shared<const Syntax>(rules);
}

} // namespace

// Each rule set is a function-local static: built on first use, once, even under concurrent first
// use.

const Shared &c()
{
    static const Shared syntax = make({
        .lineComments = {u"//"},
        .blockComment = {{u"/*", u"*/"}},
        .strings = cStrings(),
        .keywords = words({cKeywords}),
        .types = words({cTypes}),
        .constants = words({cConstants}),
        .preprocessor = true,
    });
    return syntax;
}

const Shared &cpp()
{
    static const Shared syntax = [] {
        std::vector<StringRule> strings = cStrings();
        strings.emplace_back(u"R\"(", u")\"", multiline);
        static constexpr std::u16string_view extraTypes[] = {u"auto", u"string", u"wstring",
                                                             u"nullptr_t"};
        static constexpr std::u16string_view extraConstants[] = {u"nullptr", u"this"};
        return make({
            .lineComments = {u"//"},
            .blockComment = {{u"/*", u"*/"}},
            .strings = strings,
            .keywords = words({cKeywords, cppExtraKeywords}),
            .types = words({cTypes, extraTypes}),
            .constants = words({cConstants, extraConstants}),
            .preprocessor = true,
            .capitalizedTypes = true,
        });
    }();
    return syntax;
}

const Shared &objectiveC()
{
    static const Shared syntax = make({
        .lineComments = {u"//"},
        .blockComment = {{u"/*", u"*/"}},
        .strings = objcStrings(),
        .keywords = words({cKeywords, objcExtraKeywords}),
        .types = words({cTypes, objcExtraTypes}),
        .constants = words({cConstants, objcExtraConstants}),
        .preprocessor = true,
        .annotation = {{u'@', TokenKind::keyword}},
        .capitalizedTypes = true,
    });
    return syntax;
}

const Shared &objectiveCpp()
{
    static constexpr std::u16string_view extraTypes[] = {u"auto", u"string"};
    static constexpr std::u16string_view extraConstants[] = {u"nullptr", u"this"};
    static const Shared syntax = make({
        .lineComments = {u"//"},
        .blockComment = {{u"/*", u"*/"}},
        .strings = objcStrings(),
        .keywords = words({cKeywords, objcExtraKeywords, cKeywords, cppExtraKeywords}),
        .types = words({cTypes, objcExtraTypes, extraTypes}),
        .constants = words({cConstants, objcExtraConstants, extraConstants}),
        .preprocessor = true,
        .annotation = {{u'@', TokenKind::keyword}},
        .capitalizedTypes = true,
    });
    return syntax;
}

const Shared &csharp()
{
    static const Shared syntax = make({
        .lineComments = {u"//"},
        .blockComment = {{u"/*", u"*/"}},
        .strings =
            {
                StringRule(u"\"", u"\"", escaped),
                StringRule(u"'", u"'", {.escape = backslash, .maxLength = 8}),
                StringRule(u"@\"", u"\"", verbatim),
                StringRule(u"$\"", u"\"", escaped),
                StringRule(u"$@\"", u"\"", verbatim),
                StringRule(u"@$\"", u"\"", verbatim),
                StringRule(u"\"\"\"", u"\"\"\"", multiline),
            },
        .keywords = words({csharpKeywords}),
        .types = words({csharpTypes}),
        .constants = words({csharpConstants}),
        .preprocessor = true,
        .capitalizedTypes = true,
    });
    return syntax;
}

const Shared &swift()
{
    static const Shared syntax = make({
        .lineComments = {u"//"},
        .blockComment = {{u"/*", u"*/"}},
        .nestedBlockComments = true,
        .strings =
            {
                StringRule(u"\"\"\"", u"\"\"\"", escapedMultiline),
                StringRule(u"\"", u"\"", escaped),
                StringRule(u"#\"", u"\"#"),
                StringRule(u"#\"\"\"", u"\"\"\"#", multiline),
            },
        .keywords = words({swiftKeywords}),
        .types = words({swiftTypes}),
        .constants = words({swiftConstants}),
        .preprocessor = true,
        .annotation = {{u'@', TokenKind::attribute}},
        .capitalizedTypes = true,
    });
    return syntax;
}

const Shared &shader()
{
    static const Shared syntax = make({
        .lineComments = {u"//"},
        .blockComment = {{u"/*", u"*/"}},
        .strings = cStrings(),
        .keywords = words({cKeywords, shaderExtraKeywords}),
        .types = words({cTypes, shaderExtraTypes}),
        .constants = words({cConstants}),
        .preprocessor = true,
    });
    return syntax;
}

const Shared &java()
{
    static const Shared syntax = make({
        .lineComments = {u"//"},
        .blockComment = {{u"/*", u"*/"}},
        .strings =
            {
                StringRule(u"\"\"\"", u"\"\"\"", escapedMultiline),
                StringRule(u"\"", u"\"", escaped),
                StringRule(u"'", u"'", {.escape = backslash, .maxLength = 8}),
            },
        .keywords = words({javaKeywords}),
        .types = words({javaTypes}),
        .constants = words({javaConstants}),
        .annotation = {{u'@', TokenKind::attribute}},
        .capitalizedTypes = true,
    });
    return syntax;
}

const Shared &kotlin()
{
    static const Shared syntax = make({
        .lineComments = {u"//"},
        .blockComment = {{u"/*", u"*/"}},
        .nestedBlockComments = true,
        .strings =
            {
                StringRule(u"\"\"\"", u"\"\"\"", multiline),
                StringRule(u"\"", u"\"", escaped),
                StringRule(u"'", u"'", {.escape = backslash, .maxLength = 8}),
            },
        .keywords = words({kotlinKeywords}),
        .types = words({kotlinTypes}),
        .constants = words({kotlinConstants}),
        .annotation = {{u'@', TokenKind::attribute}},
        .capitalizedTypes = true,
    });
    return syntax;
}

const Shared &javascript()
{
    static const Shared syntax = make({
        .lineComments = {u"//"},
        .blockComment = {{u"/*", u"*/"}},
        .strings = jsStrings(),
        .keywords = words({jsKeywords}),
        .constants = words({jsConstants}),
        .capitalizedTypes = true,
        .identifierExtras = u"$",
    });
    return syntax;
}

const Shared &typescript()
{
    static const Shared syntax = make({
        .lineComments = {u"//"},
        .blockComment = {{u"/*", u"*/"}},
        .strings = jsStrings(),
        .keywords = words({jsKeywords, typescriptExtraKeywords}),
        .types = words({typescriptTypes}),
        .constants = words({jsConstants}),
        .annotation = {{u'@', TokenKind::attribute}},
        .capitalizedTypes = true,
        .identifierExtras = u"$",
    });
    return syntax;
}

const Shared &json()
{
    static const Shared syntax = make({
        .lineComments = {u"//"},
        .blockComment = {{u"/*", u"*/"}},
        .strings = {StringRule(u"\"", u"\"", escaped)},
        .constants = words({jsonConstants}),
        .functionCalls = false,
        .memberProperties = false,
        .stringKeys = true,
    });
    return syntax;
}

const Shared &php()
{
    static const Shared syntax = make({
        .lineComments = {u"//", u"#"},
        .blockComment = {{u"/*", u"*/"}},
        .strings = {StringRule(u"\"", u"\"", escapedMultiline),
                    StringRule(u"'", u"'", escapedMultiline)},
        .keywords = words({phpKeywords}),
        .types = words({phpTypes}),
        .constants = words({phpConstants}),
        .variablePrefix = u'$',
        .capitalizedTypes = true,
    });
    return syntax;
}

const Shared &python()
{
    static const Shared syntax = make({
        .lineComments = {u"#"},
        .strings =
            {
                StringRule(u"\"\"\"", u"\"\"\"", escapedMultiline),
                StringRule(u"'''", u"'''", escapedMultiline),
                StringRule(u"\"", u"\"", escaped),
                StringRule(u"'", u"'", escaped),
            },
        .keywords = words({pythonKeywords}),
        .types = words({pythonTypes}),
        .constants = words({pythonConstants}),
        .annotation = {{u'@', TokenKind::attribute}},
        .capitalizedTypes = true,
    });
    return syntax;
}

const Shared &shell()
{
    static const Shared syntax = make({
        .lineComments = {u"#"},
        .strings = {StringRule(u"\"", u"\"", escapedMultiline), StringRule(u"'", u"'", multiline)},
        .keywords = words({shellKeywords}),
        .constants = words({shellConstants}),
        .variablePrefix = u'$',
        .functionCalls = false,
        .memberProperties = false,
    });
    return syntax;
}

const Shared &sql()
{
    static const Shared syntax = make({
        .lineComments = {u"--"},
        .blockComment = {{u"/*", u"*/"}},
        .strings = {StringRule(u"'", u"'", {.doubledClose = true}), StringRule(u"\"", u"\"")},
        .keywords = words({sqlKeywords}),
        .types = words({sqlTypes}),
        .constants = words({sqlConstants}),
        .caseInsensitiveKeywords = true,
    });
    return syntax;
}

const Shared &go()
{
    static const Shared syntax = make({
        .lineComments = {u"//"},
        .blockComment = {{u"/*", u"*/"}},
        .strings = {StringRule(u"\"", u"\"", escaped), StringRule(u"`", u"`", multiline),
                    StringRule(u"'", u"'", {.escape = backslash, .maxLength = 8})},
        .keywords = words({goKeywords}),
        .types = words({goTypes}),
        .constants = words({goConstants}),
        .capitalizedTypes = true,
    });
    return syntax;
}

const Shared &rust()
{
    static const Shared syntax = make({
        .lineComments = {u"//"},
        .blockComment = {{u"/*", u"*/"}},
        .nestedBlockComments = true,
        .strings = {StringRule(u"\"", u"\"", escapedMultiline),
                    StringRule(u"'", u"'", {.escape = backslash, .maxLength = 4})},
        .keywords = words({rustKeywords}),
        .types = words({rustTypes}),
        .constants = words({rustConstants}),
        .capitalizedTypes = true,
    });
    return syntax;
}

const Shared &ruby()
{
    static const Shared syntax = make({
        .lineComments = {u"#"},
        .strings = {StringRule(u"\"", u"\"", escapedMultiline),
                    StringRule(u"'", u"'", escapedMultiline)},
        .keywords = words({rubyKeywords}),
        .constants = words({rubyConstants}),
        .variablePrefix = u'@',
        .capitalizedTypes = true,
        .identifierExtras = u"?!",
    });
    return syntax;
}

const Shared &lua()
{
    static const Shared syntax = make({
        .lineComments = {u"--"},
        .blockComment = {{u"--[[", u"]]"}},
        .strings = {StringRule(u"[[", u"]]", multiline), StringRule(u"\"", u"\"", escaped),
                    StringRule(u"'", u"'", escaped)},
        .keywords = words({luaKeywords}),
        .constants = words({luaConstants}),
    });
    return syntax;
}

const Shared &perl()
{
    static const Shared syntax = make({
        .lineComments = {u"#"},
        .strings = {StringRule(u"\"", u"\"", escaped), StringRule(u"'", u"'")},
        .keywords = words({perlKeywords}),
        .variablePrefix = u'$',
        .functionCalls = false,
    });
    return syntax;
}

const Shared &makefile()
{
    static const Shared syntax = make({
        .lineComments = {u"#"},
        .strings = {StringRule(u"\"", u"\"", escaped), StringRule(u"'", u"'")},
        .keywords = words({makefileKeywords}),
        .variablePrefix = u'$',
        .functionCalls = false,
        .memberProperties = false,
        .lineLabels = true,
    });
    return syntax;
}

const Shared &dockerfile()
{
    static const Shared syntax = make({
        .lineComments = {u"#"},
        .strings = {StringRule(u"\"", u"\"", escaped), StringRule(u"'", u"'")},
        .keywords = words({dockerfileKeywords}),
        .variablePrefix = u'$',
        .functionCalls = false,
        .memberProperties = false,
        .caseInsensitiveKeywords = true,
    });
    return syntax;
}

} // namespace plumeo::Syntaxes
