#pragma once

#include "text/Encoding.h"

#include <vector>

#include <QString>

namespace plumeo {

// Every encoding the decoder reads, grouped by script or region as desktop editors offer them, so
// that a file read in the wrong one can be read again in the right one. Built once, on first use;
// an encoding may appear in more than one group only when it truly serves both.
namespace EncodingCatalogue {

struct Group
{
    QString french;
    QString english;
    std::vector<Encoding> encodings;

    // The group's name in the interface language of the moment.
    QString title() const;
};

const std::vector<Group> &groups();

} // namespace EncodingCatalogue

} // namespace plumeo
