#include "rtf/RtfKeyword.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace plumeo {

namespace {

struct Entry
{
    std::string_view name;
    RtfControl control;
};

using K = RtfKeyword;

// Destinations whose content is never text of the body: tables the reader does not use, document
// information, headers, footers and notes, pictures and objects, field instructions, drawing
// objects, revision and bookmark marks. Their text would only be noise in the body.
constexpr std::string_view skippedDestinations[] = {
    "aftncn",
    "aftnsep",
    "aftnsepc",
    "annotation",
    "atnauthor",
    "atndate",
    "atnicn",
    "atnid",
    "atnparent",
    "atnref",
    "atntime",
    "atrfend",
    "atrfstart",
    "author",
    "background",
    "bkmkend",
    "bkmkstart",
    "blipuid",
    "buptim",
    "category",
    "colorschememapping",
    "comment",
    "company",
    "creatim",
    "datafield",
    "datastore",
    "defchp",
    "defpap",
    "do",
    "doccomm",
    "docvar",
    "ebcend",
    "ebcstart",
    "factoidname",
    "falt",
    "fchars",
    "ffdeftext",
    "ffentrymcr",
    "ffexitmcr",
    "ffformat",
    "ffhelptext",
    "ffl",
    "ffname",
    "ffstattext",
    "file",
    "filetbl",
    "fldinst",
    "fldtype",
    "fname",
    "fontemb",
    "fontfile",
    "footer",
    "footerf",
    "footerl",
    "footerr",
    "footnote",
    "formfield",
    "generator",
    "gridtbl",
    "header",
    "headerf",
    "headerl",
    "headerr",
    "hl",
    "hlfr",
    "hlinkbase",
    "hlloc",
    "hlsrc",
    "hsv",
    "htmltag",
    "info",
    "keycode",
    "keywords",
    "latentstyles",
    "lchars",
    "listname",
    "listoverridetable",
    "listpicture",
    "liststylename",
    "listtable",
    "manager",
    "mhtmltag",
    "mmath",
    "mmathPr",
    "nesttableprops",
    "nextfile",
    "nonesttables",
    "nonshppict",
    "objalias",
    "objclass",
    "objdata",
    "object",
    "objname",
    "objsect",
    "objtime",
    "oldcprops",
    "oldpprops",
    "oldsprops",
    "oldtprops",
    "oleclsid",
    "operator",
    "panose",
    "password",
    "passwordhash",
    "pgdsc",
    "pgdscno",
    "pgdsctbl",
    "picprop",
    "pict",
    "pn",
    "pnseclvl",
    "pntxta",
    "pntxtb",
    "printim",
    "private",
    "propname",
    "protend",
    "protstart",
    "protusertbl",
    "pxe",
    "revtbl",
    "revtim",
    "rsidtbl",
    "rxe",
    "shp",
    "shpgrp",
    "shpinst",
    "shppict",
    "shprslt",
    "shptxt",
    "sn",
    "sp",
    "stylesheet",
    "subject",
    "sv",
    "svb",
    "tc",
    "template",
    "themedata",
    "title",
    "txe",
    "userprops",
    "wgrffmtfilter",
    "windowcaption",
    "writereservation",
    "writereservhash",
    "xe",
    "xform",
    "xmlattrname",
    "xmlattrvalue",
    "xmlclose",
    "xmlname",
    "xmlnstbl",
    "xmlopen",
};

constexpr std::string_view underlineStyles[] = {
    "ul",         "uld",       "uldash",     "uldashd", "uldashdd", "uldb",
    "ulhwave",    "ulldash",   "ulth",       "ulthd",   "ulthdash", "ulthdashd",
    "ulthdashdd", "ulthldash", "ululdbwave", "ulw",     "ulwave",
};

// Shorter names first, then by bytes: most comparisons stop at the length.
bool precedes(std::string_view a, std::string_view b)
{
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

struct Table
{
    std::vector<Entry> entries;
    // The entries whose name starts with each ASCII letter, as [begin, end) indices.
    std::array<std::pair<std::uint16_t, std::uint16_t>, 128> byFirstLetter{};
};

Table makeTable()
{
    std::vector<Entry> table = {
        {"rtf", {K::rtf}},
        {"ansi", {K::ansi}},
        {"mac", {K::mac}},
        {"pc", {K::pc}},
        {"pca", {K::pca}},
        {"ansicpg", {K::ansicpg}},
        {"deff", {K::deff}},
        {"fonttbl", {K::fonttbl}},
        {"colortbl", {K::colortbl}},
        {"f", {K::font}},
        {"fcharset", {K::fcharset}},
        {"cpg", {K::cpg}},
        {"red", {K::red}},
        {"green", {K::green}},
        {"blue", {K::blue}},
        {"u", {K::unicode}},
        {"uc", {K::unicodeSkip}},
        {"upr", {K::upr}},
        {"ud", {K::ud}},
        {"plain", {K::plain}},
        {"b", {K::bold}},
        {"i", {K::italic}},
        {"ulnone", {K::underlineNone}},
        {"strike", {K::strike}},
        {"striked", {K::strikeDouble}},
        {"super", {K::superscript}},
        {"sub", {K::subscript}},
        {"nosupersub", {K::noSuperSub}},
        {"fs", {K::fontSize}},
        {"cf", {K::foreground}},
        {"cb", {K::background}},
        {"chcbpat", {K::background}},
        {"highlight", {K::highlight}},
        {"v", {K::hidden}},
        {"caps", {K::allCaps}},
        {"scaps", {K::smallCaps}},
        {"pard", {K::pard}},
        {"ql", {K::alignLeft}},
        {"qc", {K::alignCenter}},
        {"qr", {K::alignRight}},
        {"qj", {K::alignJustify}},
        {"qd", {K::alignJustify}},
        {"li", {K::leftIndent}},
        {"ri", {K::rightIndent}},
        {"fi", {K::firstIndent}},
        {"sb", {K::spaceBefore}},
        {"sa", {K::spaceAfter}},
        {"par", {K::par}},
        {"sect", {K::pageBreak}},
        {"page", {K::pageBreak}},
        {"column", {K::pageBreak}},
        {"line", {K::line}},
        {"lbr", {K::line}},
        {"cell", {K::cell}},
        {"nestcell", {K::cell}},
        {"row", {K::row}},
        {"nestrow", {K::row}},
        {"tab", {K::character, u'\t'}},
        {"emdash", {K::character, u'\u2014'}},
        {"endash", {K::character, u'\u2013'}},
        {"emspace", {K::character, u'\u2003'}},
        {"enspace", {K::character, u'\u2002'}},
        {"qmspace", {K::character, u'\u2005'}},
        {"bullet", {K::character, u'\u2022'}},
        {"lquote", {K::character, u'\u2018'}},
        {"rquote", {K::character, u'\u2019'}},
        {"ldblquote", {K::character, u'\u201C'}},
        {"rdblquote", {K::character, u'\u201D'}},
        {"zwj", {K::character, u'\u200D'}},
        {"zwnj", {K::character, u'\u200C'}},
        {"zwbo", {K::character, u'\u200B'}},
        {"zwnbo", {K::character, u'\u2060'}},
        {"ltrmark", {K::character, u'\u200E'}},
        {"rtlmark", {K::character, u'\u200F'}},
        {"intbl", {K::inTable}},
        {"itap", {K::inTable}},
    };
    for (std::string_view name : underlineStyles)
        table.push_back({name, {K::underline}});
    for (std::string_view name : skippedDestinations)
        table.push_back({name, {K::skippedDestination}});
    std::sort(table.begin(), table.end(), [](const Entry &a, const Entry &b) {
        return a.name[0] != b.name[0] ? a.name[0] < b.name[0] : precedes(a.name, b.name);
    });
    Table result;
    for (size_t i = 0; i < table.size(); ++i) {
        auto &range = result.byFirstLetter[size_t(table[i].name[0])];
        if (range.first == range.second)
            range.first = std::uint16_t(i);
        range.second = std::uint16_t(i + 1);
    }
    result.entries = std::move(table);
    return result;
}

} // namespace

RtfControl lookupRtfControl(std::string_view name)
{
    static const Table table = makeTable();
    if (name.empty() || static_cast<unsigned char>(name[0]) >= 128)
        return {};
    const auto &range = table.byFirstLetter[size_t(name[0])];
    const auto begin = table.entries.begin() + range.first;
    const auto end = table.entries.begin() + range.second;
    const auto found = std::lower_bound(
        begin, end, name, [](const Entry &e, std::string_view n) { return precedes(e.name, n); });
    if (found != end && found->name == name)
        return found->control;
    return {};
}

} // namespace plumeo
