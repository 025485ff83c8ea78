// The exported functions: identification, and the readers and writers of the
// video manager and title set information files. Declared in Quoril.h.
#pragma once

#include "Quoril.h"
