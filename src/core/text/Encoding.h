#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QString>

namespace plumeo {

// A character encoding, identified by a stable number: for the encodings the preferences store, the
// number they have always been stored as (UTF-8 is 4, Windows 1252 is 12, UTF-16 LE is 0x94000100,
// …); for the others the widely published number where one exists, else one derived from the name.
// Two encodings are equal when their numbers are.
class Encoding
{
public:
    static constexpr quint64 asciiRaw = 1;
    static constexpr quint64 utf8Raw = 4;
    static constexpr quint64 isoLatin1Raw = 5;
    static constexpr quint64 utf16Raw = 10;
    static constexpr quint64 windowsCP1252Raw = 12;
    static constexpr quint64 macOSRomanRaw = 30;
    static constexpr quint64 utf16BigEndianRaw = 0x90000100;
    static constexpr quint64 utf16LittleEndianRaw = 0x94000100;
    static constexpr quint64 utf32Raw = 0x8C000100;
    static constexpr quint64 utf32BigEndianRaw = 0x98000100;
    static constexpr quint64 utf32LittleEndianRaw = 0x9C000100;

    static Encoding ascii() { return Encoding(asciiRaw); }
    static Encoding utf8() { return Encoding(utf8Raw); }
    static Encoding isoLatin1() { return Encoding(isoLatin1Raw); }
    static Encoding utf16() { return Encoding(utf16Raw); }
    static Encoding windowsCP1252() { return Encoding(windowsCP1252Raw); }
    static Encoding macOSRoman() { return Encoding(macOSRomanRaw); }
    static Encoding utf16BigEndian() { return Encoding(utf16BigEndianRaw); }
    static Encoding utf16LittleEndian() { return Encoding(utf16LittleEndianRaw); }
    static Encoding utf32BigEndian() { return Encoding(utf32BigEndianRaw); }
    static Encoding utf32LittleEndian() { return Encoding(utf32LittleEndianRaw); }

    // The encoding stored under this number. An unknown number gives an encoding that converts
    // nothing (isKnown() is false), so that a damaged preference fails cleanly instead of guessing.
    explicit Encoding(quint64 rawValue);
    // The encoding of a charset name as detectors and converters spell it ("windows-1251", "UHC",
    // "SHIFT_JIS"); nothing when no converter of ours knows the name.
    static std::optional<Encoding> fromCharsetName(QByteArrayView name);

    // Every encoding that has a number of ours, in no particular order: what the converters read.
    static std::vector<Encoding> allNumbered();

    quint64 rawValue() const { return m_raw; }
    // The name handed to the converter; empty when isKnown() is false.
    const QByteArray &converterName() const { return m_converterName; }
    bool isKnown() const { return !m_converterName.isEmpty(); }

    friend bool operator==(const Encoding &a, const Encoding &b) { return a.m_raw == b.m_raw; }

private:
    Encoding(quint64 raw, QByteArray converterName);

    quint64 m_raw;
    QByteArray m_converterName;
};

inline size_t qHash(const Encoding &encoding, size_t seed = 0)
{
    return seed ^ std::hash<quint64>{}(encoding.rawValue());
}

} // namespace plumeo
