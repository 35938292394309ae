#include "WindowSession.h"

#include <gtest/gtest.h>
