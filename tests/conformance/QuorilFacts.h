// The facts (Facts.h) of a record that the library loaded: the fields that an
// independent reader of the same file can also name. Tables whose start sector
// is 0 are absent and give no facts.
#pragma once

#include "Facts.h"
#include "structures/Structure_IFO.h"

Facts FactsOfRecord(const VMG& Record);
Facts FactsOfRecord(const VTS& Record);
