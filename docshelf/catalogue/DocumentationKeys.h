#pragma once

// The catalogue's keys are the disc's: declared once, with the disc's schema.
#include "disc/DiscKeys.h"
