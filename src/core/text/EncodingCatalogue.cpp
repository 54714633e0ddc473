#include "text/EncodingCatalogue.h"

#include "text/Localization.h"

#include <initializer_list>

namespace plumeo::EncodingCatalogue {

namespace {

Group group(const char16_t *french,
            const char16_t *english,
            std::initializer_list<const char *> converterNames)
{
    Group result{QString::fromUtf16(french), QString::fromUtf16(english), {}};
    for (const char *name : converterNames)
        if (const auto encoding = Encoding::fromCharsetName(name))
            result.encodings.push_back(*encoding);
    return result;
}

} // namespace

QString Group::title() const
{
    return L(french, english);
}

const std::vector<Group> &groups()
{
    static const std::vector<Group> list{
        group(u"Unicode", u"Unicode",
              {"UTF-8", "UTF-16LE", "UTF-16BE", "UTF-16", "UTF-32LE", "UTF-32BE", "UTF-32"}),
        group(u"Europe occidentale", u"Western European",
              {"US-ASCII", "ISO-8859-1", "ISO-8859-15", "windows-1252", "macintosh", "IBM437",
               "IBM850", "IBM860", "IBM863", "ISO-8859-14"}),
        group(u"Europe centrale", u"Central European",
              {"ISO-8859-2", "windows-1250", "IBM852", "x-mac-centraleurroman", "ISO-8859-16"}),
        group(u"Europe du Sud", u"South European", {"ISO-8859-3"}),
        group(u"Pays baltes", u"Baltic", {"ISO-8859-4", "ISO-8859-13", "windows-1257", "IBM775"}),
        group(u"Pays nordiques", u"Nordic", {"ISO-8859-10", "IBM861", "IBM865"}),
        group(u"Cyrillique", u"Cyrillic",
              {"ISO-8859-5", "windows-1251", "KOI8-R", "KOI8-U", "IBM855", "IBM866",
               "x-mac-cyrillic"}),
        group(u"Grec", u"Greek", {"ISO-8859-7", "windows-1253", "IBM737", "IBM869", "x-mac-greek"}),
        group(u"Turc", u"Turkish", {"ISO-8859-9", "windows-1254", "IBM857", "x-mac-turkish"}),
        group(u"Hébreu", u"Hebrew", {"ISO-8859-8", "windows-1255", "IBM862"}),
        group(u"Arabe", u"Arabic", {"ISO-8859-6", "windows-1256", "IBM864"}),
        group(u"Thaï", u"Thai", {"windows-874", "ISO-8859-11"}),
        group(u"Vietnamien", u"Vietnamese", {"windows-1258", "VISCII"}),
        group(u"Géorgien", u"Georgian", {"GEORGIAN-ACADEMY", "GEORGIAN-PS"}),
        group(u"Chinois simplifié", u"Simplified Chinese",
              {"GB2312", "GBK", "GB18030", "HZ-GB-2312", "ISO-2022-CN"}),
        group(u"Chinois traditionnel", u"Traditional Chinese", {"Big5", "Big5-HKSCS", "EUC-TW"}),
        group(u"Japonais", u"Japanese", {"Shift_JIS", "EUC-JP", "ISO-2022-JP"}),
        group(u"Coréen", u"Korean", {"EUC-KR", "windows-949", "JOHAB", "ISO-2022-KR"}),
    };
    return list;
}

} // namespace plumeo::EncodingCatalogue
