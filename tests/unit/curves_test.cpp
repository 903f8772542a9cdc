// Unit tests.
#include <gtest/gtest.h>
