#include "rtf/RtfCodePage.h"

namespace plumeo::RtfCodePage {

int forCharset(int charset)
{
    switch (charset) {
    case 0:
        return windowsWestern;
    case 2:
        return otherSymbolFont;
    case 77:
        return 10000;
    case 78:
        return 10001;
    case 79:
        return 10003;
    case 80:
        return 10008;
    case 81:
        return 10002;
    case 83:
        return 10005;
    case 84:
        return 10004;
    case 85:
        return 10006;
    case 86:
        return 10081;
    case 87:
        return 10021;
    case 88:
        return 10029;
    case 89:
        return 10007;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
    case 181:
        return 1255;
    case 178:
    case 179:
    case 180:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0;
    }
}

bool isSymbolFontName(QStringView fontName)
{
    return fontName.compare(u"Symbol", Qt::CaseInsensitive) == 0
           || fontName.startsWith(u"Wingdings", Qt::CaseInsensitive)
           || fontName.compare(u"Webdings", Qt::CaseInsensitive) == 0;
}

int forSymbolFont(QStringView fontName)
{
    if (fontName.compare(u"Symbol", Qt::CaseInsensitive) == 0)
        return symbolFont;
    if (fontName.compare(u"Wingdings", Qt::CaseInsensitive) == 0)
        return wingdingsFont;
    return otherSymbolFont;
}

QByteArray converterName(int codePage)
{
    switch (codePage) {
    case 932:
    case 10001:
        return "windows-31j";
    case 936:
        return "windows-936";
    case 949:
        return "windows-949";
    case 950:
        return "windows-950";
    case 708:
        return "ISO-8859-6";
    case 10000:
        return "macintosh";
    case 10006:
        return "x-mac-greek";
    case 10007:
        return "x-mac-cyrillic";
    case 10029:
        return "x-mac-centraleurroman";
    case 10081:
        return "x-mac-turkish";
    case 20127:
        return "US-ASCII";
    case 20866:
        return "KOI8-R";
    case 21866:
        return "KOI8-U";
    case 54936:
        return "GB18030";
    case 65001:
        return "UTF-8";
    default:
        break;
    }
    if (codePage >= 28591 && codePage <= 28606)
        return "ISO-8859-" + QByteArray::number(codePage - 28590);
    if (codePage == 874 || (codePage >= 1250 && codePage <= 1258))
        return "windows-" + QByteArray::number(codePage);
    if (codePage >= 437 && codePage <= 1200)
        return "ibm-" + QByteArray::number(codePage);
    return {};
}

} // namespace plumeo::RtfCodePage
